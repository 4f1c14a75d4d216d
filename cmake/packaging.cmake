# Debian packages made by `cpack -G DEB` from a Release build:
#   zscan          the command, its manual page and its shell completions
#   libzweave2     the shared library
#   libzweave-dev  the static library, the header oxls.h and zweave.pc
# Dependencies are computed by dpkg-shlibdeps from the files themselves.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zscan)
set(CPACK_PACKAGE_VENDOR "Z-Scan team")
set(CPACK_PACKAGE_CONTACT "Z-Scan team <zscan@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL zscan libzweave2 libzweave-dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# The library package declares its shared library (shlibs) and has ldconfig
# run by a trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_LIBZWEAVE2_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/cmake/debian/triggers)

set(CPACK_DEBIAN_ZSCAN_PACKAGE_NAME zscan)
set(CPACK_DEBIAN_ZSCAN_DESCRIPTION "search the cell texts of Excel books below a folder
zscan finds which book, which sheet and which cell of the Excel books
(.xls, .xlsx, .xlsm) below a folder holds a given text, a phrase or a
regular expression.  Numbers and dates are found by what their cells show.
Hits come out as lines, JSON Lines or counts, and can be kept in a result
book linked to every cell found.")
set(CPACK_DEBIAN_LIBZWEAVE2_PACKAGE_NAME libzweave2)
set(CPACK_DEBIAN_LIBZWEAVE2_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBZWEAVE2_DESCRIPTION "Excel workbook library behind the OXLS_ call interface
zweave reads Excel 97-2003 (.xls) and 2007 (.xlsx, .xlsm) books, formats
cell values for display with Japanese date and era formats, and writes
Excel 2007 books.  This package holds the shared library.")
set(CPACK_DEBIAN_LIBZWEAVE-DEV_PACKAGE_NAME libzweave-dev)
set(CPACK_DEBIAN_LIBZWEAVE-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBZWEAVE-DEV_PACKAGE_DEPENDS "libzweave2 (= 1.0.0-1), libminizip-dev, libdeflate-dev, nettle-dev, zlib1g-dev")
set(CPACK_DEBIAN_LIBZWEAVE-DEV_DESCRIPTION "Excel workbook library behind the OXLS_ call interface (development files)
zweave reads Excel 97-2003 (.xls) and 2007 (.xlsx, .xlsm) books, formats
cell values for display with Japanese date and era formats, and writes
Excel 2007 books.  This package holds the header oxls.h, the static
library and the pkg-config file zweave.pc.")

# Each package carries its copyright file and a changelog, as Debian's
# policy asks.
foreach(package zscan libzweave2 libzweave-dev)
 install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
         COMPONENT ${package})
 install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
         COMPONENT ${package})
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
execute_process(COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/cmake/debian/changelog.Debian
               OUTPUT_FILE ${CMAKE_BINARY_DIR}/packaging/changelog.Debian.gz)

include(CPack)

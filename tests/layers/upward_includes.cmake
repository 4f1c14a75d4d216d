# The library's layers only look downwards: in each layer, every header of
# an upper layer fails to be found, while every header of the layer itself
# and of the layers below it compiles.  Run by CTest as
#   cmake -D SETTINGS=<file> -D WORK=<folder> -P upward_includes.cmake
# where SETTINGS sets COMPILER, LIB (the lib folder), EXTRA (the
# third-party include folders) and INCLUDES_<layer> (a layer's include path
# as the build has it).
cmake_minimum_required(VERSION 3.20)
include(${SETTINGS})
file(MAKE_DIRECTORY ${WORK})

# The layers and what each one builds on.
set(LAYERS base format read write calls)
set(BELOW_base "")
set(BELOW_format base)
set(BELOW_read format base)
set(BELOW_write base)
set(BELOW_calls read write format base)

set(failures 0)
file(GLOB folders RELATIVE ${LIB} ${LIB}/*)
foreach(folder ${folders})
  if(IS_DIRECTORY ${LIB}/${folder} AND NOT folder STREQUAL "include" AND NOT folder IN_LIST LAYERS)
    message(SEND_ERROR "lib/${folder} is no known layer")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
foreach(layer ${LAYERS})
  set(flags -std=c++20)
  foreach(dir ${INCLUDES_${layer}} ${EXTRA})
    list(APPEND flags -I${dir})
  endforeach()
  set(reachable "")
  foreach(other ${LAYERS})
    file(GLOB_RECURSE headers RELATIVE ${LIB}/${other} ${LIB}/${other}/*.h)
    foreach(header ${headers})
      if(other STREQUAL layer OR other IN_LIST BELOW_${layer})
        string(APPEND reachable "#include \"${header}\"\n")
        continue()
      endif()
      set(source ${WORK}/${layer}_upward.cpp)
      file(WRITE ${source} "#include \"${header}\"\n")
      execute_process(COMMAND ${COMPILER} ${flags} -E ${source} -o ${WORK}/${layer}_upward.i
                      RESULT_VARIABLE rc ERROR_VARIABLE errors)
      if(rc EQUAL 0 OR NOT errors MATCHES "No such file")
        message(SEND_ERROR "${layer} can include ${other}'s ${header}")
        math(EXPR failures "${failures} + 1")
      endif()
    endforeach()
  endforeach()
  # The control: what the layer may include does compile with these flags,
  # so that the failures above come from the include path alone.
  set(source ${WORK}/${layer}_reachable.cpp)
  file(WRITE ${source} "${reachable}")
  execute_process(COMMAND ${COMPILER} ${flags} -fsyntax-only ${source} RESULT_VARIABLE rc ERROR_VARIABLE errors)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "${layer}'s own and lower headers do not compile:\n${errors}")
    math(EXPR failures "${failures} + 1")
  endif()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} layer include checks failed")
endif()

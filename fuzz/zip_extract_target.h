// Package extraction of a hostile zip held in a memory file: the entry
// directory, part names, inflating, the list growth and the inflate bounds.
#pragma once

#include "fuzz_input.h"
#include "zip_extract.h"

namespace fuzz {

constexpr const char *kZipPackage = "fuzz.xlsx";

// Small bounds for the length of one run, so that a bomb is refused after a
// few megabytes instead of after a gigabyte: the fuzzer then learns the
// refusal path quickly.
inline PackageStore small_package_store() {
    PackageStore store;
    store.limits.part_bytes = 8 << 20;
    store.limits.package_bytes = 32 << 20;
    store.limits.ratio_from_bytes = 1 << 20;
    return store;
}

inline int run_zip_extract(const uint8_t *data, size_t size) {
    orb_zip_on_memory(0);
    put_memory_file(kZipPackage, data, size);

    // A small name list first, so that the "list too small" answer is met.
    char names[4][ORB_PART_NAME_SLOT];
    int count = 4;
    orb_zip_extract(small_package_store(), 0, 2, kZipPackage, nullptr, &count, names);

    ExtractedPackage package;
    orb_extract_package(small_package_store(), -1, kZipPackage, package);
    mfree_all();
    return 0;
}

}  // namespace fuzz

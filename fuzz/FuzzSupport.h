// Shared by the fuzz targets: a private folder that is also HOME, the log sent to /dev/null, the
// input written to a file for the readers that take a path, and the seed files of each target.
#ifndef FUZZ_SUPPORT_H
#define FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>

// Makes the folder (once per process), points HOME and the log at it and /dev/null, and silences
// the message boxes. Every target calls it from LLVMFuzzerInitialize.
void FuzzSetUp();
const std::string& FuzzDir();
// Writes the bytes to `path` (replacing it); false when it could not.
bool FuzzWriteFile(const std::string& path, const void* data, size_t size);

// Seeds: run with LECTREL_FUZZ_WRITE_SEEDS=<folder>, a target writes its seed files there through
// FuzzSeed and ends. FuzzSeedFolder answers the folder, or empty in a normal run.
std::string FuzzSeedFolder();
void FuzzSeed(const std::string& folder, const char* name, const void* data, size_t size);
void FuzzSeed(const std::string& folder, const char* name, const std::string& text);

#endif

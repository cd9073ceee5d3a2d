// Shared by the fuzz targets: a private folder that is also HOME, the log sent to /dev/null, the
// input written to a file for the readers that take a path, and the seed files of each target.
#ifndef FUZZ_SUPPORT_H
#define FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Makes the folder (once per process), points HOME and the log at it and /dev/null, and silences
// the message boxes. Every target calls it from LLVMFuzzerInitialize.
void FuzzSetUp();
const std::string& FuzzDir();
// FuzzSetUp, then the program's folders named as the reader names them, for the targets that read
// its settings and display-mode files.
void FuzzSetUpProgramFolders();
// Writes the bytes to `path` (replacing it); false when it could not.
bool FuzzWriteFile(const std::string& path, const void* data, size_t size);
// The input written to `name` in the private folder: its path, or empty when it could not be written.
std::string FuzzInputFile(const char* name, const void* data, size_t size);

// Seeds: run with LECTREL_FUZZ_WRITE_SEEDS=<folder>, a target writes its seed files there and ends.
// FuzzSeedRun does both in such a run (write puts the files in the folder through FuzzSeed) and
// returns at once in a normal one.
void FuzzSeedRun(void (*write)(const std::string& folder));
void FuzzSeed(const std::string& folder, const char* name, const void* data, size_t size);
void FuzzSeed(const std::string& folder, const char* name, const std::string& text);
void FuzzSeed(const std::string& folder, const char* name, const std::vector<unsigned char>& bytes);

#endif

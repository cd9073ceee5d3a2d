// The fuzz targets' private folder, log sink and seed writing.
#include "FuzzSupport.h"

#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "ComDebug.h"
#include "ComMacMessageBox.h"
#include "PrefFolder.h"

namespace {

std::string fz_dir;

void QuietPopup(char*, char*, char) {}

void RemoveDir() {
  if (fz_dir.empty()) return;
  nftw(fz_dir.c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
       FTW_DEPTH | FTW_PHYS);
}

}  // namespace

void FuzzSetUp() {
  if (!fz_dir.empty()) return;
  char tmpl[] = "/tmp/lectrel-fuzz-XXXXXX";
  if (!mkdtemp(tmpl)) {
    perror("mkdtemp");
    exit(1);
  }
  fz_dir = tmpl;
  atexit(RemoveDir);
  setenv("HOME", fz_dir.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
  // The log is written at every message: a device takes it without filling the disk.
  DebugSetLogFilename("/dev/null", 0);
  ComWinSetPopupMessagesCallback(QuietPopup, QuietPopup);
}

void FuzzSetUpProgramFolders() {
  FuzzSetUp();
  PrefFolderSetup((char*)"Quorvane Lectrel", 0, (char*)"LogFile.txt");
}

const std::string& FuzzDir() { return fz_dir; }

bool FuzzWriteFile(const std::string& path, const void* data, size_t size) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = size == 0 || fwrite(data, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}

std::string FuzzInputFile(const char* name, const void* data, size_t size) {
  const std::string path = fz_dir + "/" + name;
  return FuzzWriteFile(path, data, size) ? path : std::string();
}

void FuzzSeedRun(void (*write)(const std::string& folder)) {
  const char* d = getenv("LECTREL_FUZZ_WRITE_SEEDS");
  if (!d) return;
  write(d);
  exit(0);
}

void FuzzSeed(const std::string& folder, const char* name, const void* data, size_t size) {
  mkdir(folder.c_str(), 0755);
  if (!FuzzWriteFile(folder + "/" + name, data, size)) {
    fprintf(stderr, "could not write seed %s/%s\n", folder.c_str(), name);
    exit(1);
  }
}

void FuzzSeed(const std::string& folder, const char* name, const std::string& text) {
  FuzzSeed(folder, name, text.data(), text.size());
}

void FuzzSeed(const std::string& folder, const char* name, const std::vector<unsigned char>& bytes) {
  FuzzSeed(folder, name, bytes.data(), bytes.size());
}

// Helpers for tests that list real folders: making folders, files and links, and a guard under
// which a folder without read permission really cannot be read, even when the tests run as root
// (root passes every permission check unless it gives up that override).
#ifndef FOLDER_TREE_TEST_UTIL_H
#define FOLDER_TREE_TEST_UTIL_H

#include <dirent.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace fwtest {

inline bool MakeFolder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0; }

inline bool MakeFile(const std::string& path, const std::string& bytes = "x") {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

inline bool MakeLink(const std::string& target, const std::string& path) {
  return symlink(target.c_str(), path.c_str()) == 0;
}

// While alive, permission bits apply to this process as they would to any user: a root process
// drops the file-access overrides from its effective capabilities (they stay permitted, so the
// destructor takes them back).
class HonourPermissions {
 public:
  HonourPermissions() {
    if (geteuid() != 0) return;
    __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
    if (syscall(SYS_capget, &h, saved_) != 0) return;
    __user_cap_data_struct d[2] = {saved_[0], saved_[1]};
    d[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    dropped_ = syscall(SYS_capset, &h, d) == 0;
  }
  ~HonourPermissions() {
    if (!dropped_) return;
    __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
    syscall(SYS_capset, &h, saved_);
  }
  HonourPermissions(const HonourPermissions&) = delete;
  HonourPermissions& operator=(const HonourPermissions&) = delete;

  // Whether a folder of mode 000 is now unreadable to this process (access() would not tell: for
  // a root process it checks with the permitted capabilities).
  static bool Works(const std::string& locked_folder) {
    DIR* d = opendir(locked_folder.c_str());
    if (d) closedir(d);
    return d == nullptr;
  }

 private:
  __user_cap_data_struct saved_[2] = {};
  bool dropped_ = false;
};

}  // namespace fwtest

#endif

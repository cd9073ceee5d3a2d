// The file layer over buffered stdio streams and POSIX folder calls.
#include "ComFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "ComDebug.h"

#ifndef __GLIBC__
#error "ComFileReadLine reads the stream buffer of the GNU C library"
#endif

namespace {

char cf_format_str[COM_FILE_FORMAT_SIZE];

// A stream being written under a temporary name: the name it takes on a clean close, and
// whether a write to it has failed (then the close throws the temporary file away).
// A stream written in place (in_place) is itself a held temporary of ComFileCreateTemporary: it
// is not renamed, its owner renames or deletes it.
struct PendingWrite {
  std::string final_path;
  std::string temp_path;
  bool failed;
  bool in_place;
  int error;  // the reason of its first failed write; 0 none
};

std::unordered_map<FILE*, PendingWrite>& PendingWrites() {
  static std::unordered_map<FILE*, PendingWrite> table;
  return table;
}

bool Empty(const char* path) { return !path || path[0] == 0; }

// Every open of a path by this layer that could meet something other than a file goes through
// here. A FIFO would block the open until a writer came (for good, and past SIGTERM), a device
// (/dev/zero) gives endless bytes, a folder or a socket no file at all: so the path is opened
// without waiting and taken only when the descriptor is a regular file. A refused path answers
// as a missing one does: null, with errno set. The stream is not inherited by programs started
// from the reader.
FILE* OpenRegular(const char* path, int flags, const char* mode) {
  int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat st;
  const bool stated = fstat(fd, &st) == 0;
  if (!stated || !S_ISREG(st.st_mode)) {
    const int err = !stated ? errno : S_ISDIR(st.st_mode) ? EISDIR : ENXIO;
    close(fd);
    errno = err;
    return nullptr;
  }
  // A regular file never makes a read wait; the flag goes so the stream acts as a plain one.
  const int fl = fcntl(fd, F_GETFL);
  if (fl < 0 || fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0) {
    const int err = errno;
    close(fd);
    errno = err;
    return nullptr;
  }
  FILE* f = fdopen(fd, mode);
  if (!f) {
    const int err = errno;
    close(fd);
    errno = err;
  }
  return f;
}

FILE* OpenRegularForReading(const char* path) { return OpenRegular(path, O_RDONLY, "rb"); }

// The test seam: operations left before the injected fault (0 none), and whether it happened.
int cf_fault_countdown = 0;
bool cf_fault_fired = false;

// The reason (errno) of the first write, flush, sync, close or rename that failed since the
// last ComFileTakeWriteError; 0 none.
int cf_write_error = 0;

void NoteWriteError(int err) {
  if (!cf_write_error) cf_write_error = err ? err : EIO;
}

// The temporaries of ComFileCreateTemporary that this process holds: name and the descriptor
// that keeps them locked.
std::unordered_map<std::string, int>& HeldTemporaries() {
  static std::unordered_map<std::string, int> table;
  return table;
}

bool IsHeld(const char* path) { return HeldTemporaries().count(path) != 0; }

// Counts one operation down to an injected fault: true (errno EIO) for the one that must fail.
bool FaultFires(int* countdown) {
  if (*countdown <= 0 || --*countdown > 0) return false;
  cf_fault_fired = true;
  errno = EIO;
  return true;
}

// True when this write, flush, sync, close or rename is the one that must fail.
bool FaultNow() { return FaultFires(&cf_fault_countdown); }

// The same for reads.
int cf_read_fault_countdown = 0;
bool ReadFaultNow() { return FaultFires(&cf_read_fault_countdown); }

// Permission bits for a new file: those of the file it replaces, else what a plain create gives.
mode_t NewFileMode(const char* replaced) {
  struct stat st;
  if (stat(replaced, &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

const char kTempMark[] = ".tmp-";
const size_t kTempTailLen = 6;  // mkstemp's six letters and digits

// True when path still names the file open as fd (not a file put there after it was deleted).
bool NamesSameFile(int fd, const char* path) {
  struct stat open_st, named_st;
  return fstat(fd, &open_st) == 0 && lstat(path, &named_st) == 0 && open_st.st_dev == named_st.st_dev &&
         open_st.st_ino == named_st.st_ino;
}

// flock, waiting through signals; 0 on success, else -1 with errno set.
int LockFile(int fd, int how) {
  int r;
  do r = flock(fd, how);
  while (r != 0 && errno == EINTR);
  return r;
}

// How many names (or fresh files) a create tries before it gives up.
constexpr int kTempAttempts = 16;

// The folder part of path ("." for a bare name).
std::string FolderOf(const char* path) {
  const char* slash = strrchr(path, '/');
  if (!slash) return ".";
  if (slash == path) return "/";
  return std::string(path, (size_t)(slash - path));
}

// A file made without a name (O_TMPFILE), locked, then linked in under path ".tmp-" and six
// letters or digits: it is never in the folder unlocked, so a leftover removal never sees it
// free, and a crash before the link leaves nothing. The descriptor, or -1 where the file system
// or /proc does not allow it.
int MakeLockedTempUnnamed(const char* path, std::string* temp_out) {
  int fd = open(FolderOf(path).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  char proc[64];
  snprintf(proc, sizeof(proc), "/proc/self/fd/%d", fd);
  if (LockFile(fd, LOCK_EX) == 0) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < kTempAttempts; attempt++) {
      unsigned char bytes[kTempTailLen];
      if (getrandom(bytes, sizeof(bytes), 0) != (ssize_t)sizeof(bytes)) break;
      std::string name = std::string(path) + kTempMark;
      for (unsigned char b : bytes) name += kLetters[b % (sizeof(kLetters) - 1)];
      // linkat never replaces a file: a name taken by someone else's temporary is left to it.
      if (linkat(AT_FDCWD, proc, AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        *temp_out = name;
        return fd;
      }
      if (errno != EEXIST) break;
    }
  }
  close(fd);
  return -1;
}

// Where no unnamed file can be made: mkostemp, then the lock. Between the two the file is in the
// folder unlocked, and a removal may lock it first and delete it. The lock is therefore waited
// for (a removal holds it only until its close, after its delete), then the name must still be
// this file's; a file taken that way is given up for a new one.
int MakeLockedTempNamed(const char* path, std::string* temp_out) {
  const std::string templ = std::string(path) + kTempMark + "XXXXXX";
  for (int attempt = 0; attempt < kTempAttempts; attempt++) {
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back(0);
    int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    if (LockFile(fd, LOCK_EX) != 0) {
      const int err = errno;
      unlink(name.data());
      close(fd);
      errno = err;
      return -1;
    }
    if (NamesSameFile(fd, name.data())) {
      *temp_out = name.data();
      return fd;
    }
    // Deleted under us: the name is no longer ours to delete.
    close(fd);
  }
  errno = EAGAIN;
  return -1;
}

// Creates a temporary file of a name of its own beside `path` (same folder, so the rename stays
// on one file system) and locks it for as long as the descriptor (or a duplicate of it) is open,
// so that the removal of leftover temporaries in another process leaves it alone. The lock is per
// open file description (flock), so it also holds against a removal in this process, and closing
// some other descriptor of the file never drops it. The descriptor, or -1 with errno set.
int MakeTemp(const char* path, mode_t mode, std::string* temp_out) {
  int fd = MakeLockedTempUnnamed(path, temp_out);
  if (fd < 0) fd = MakeLockedTempNamed(path, temp_out);
  if (fd >= 0) fchmod(fd, mode);
  return fd;
}

FILE* OpenTemp(const char* path, mode_t mode, std::string* temp_out) {
  std::string temp;
  int fd = MakeTemp(path, mode, &temp);
  if (fd < 0) return nullptr;
  FILE* f = fdopen(fd, "wb");
  if (!f) {
    unlink(temp.c_str());
    close(fd);
    return nullptr;
  }
  *temp_out = temp;
  return f;
}

// Makes a rename into path's folder last through a power failure: the folder itself is synced.
// A file system that cannot sync a folder (EINVAL) has nothing more to give. 1 on success.
bool SyncFolderOf(const char* path, const char* func) {
  int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0 && (fsync(fd) == 0 || errno == EINVAL)) {
    close(fd);
    return true;
  }
  const int err = errno;
  if (fd >= 0) close(fd);
  NoteWriteError(err);
  DebugError(func, "Could not write file <%s> [%s]", path, strerror(err));
  return false;
}

// Syncs a temporary's bytes to the disk before it takes its name: through its held descriptor
// fd, or (not held, fd < 0) a descriptor of its own. 1 on success, else 0 with errno set.
bool SyncFile(int fd, const char* name) {
  if (FaultNow()) return false;
  if (fd >= 0) return fsync(fd) == 0;
  const int own = open(name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (own < 0) return false;
  const bool ok = fsync(own) == 0;
  const int err = errno;
  close(own);
  errno = err;
  return ok;
}

// Finishes a stream written under the temporary name temp: flushed, synced to the disk and
// closed, then renamed to path when every write worked (ok), and the folder synced, so that a
// power failure soon after leaves either the old file or the whole new one. Otherwise, or when
// the rename fails, the temporary file is deleted, so the file at path stays as it was; the
// failure is logged under func. 1 when path now holds the new file (0 as well when the folder
// could not be synced: the new file is there but may not last).
// A stream written in place (in_place) is only flushed and closed: its owner syncs it when it
// gives it its name. The temporary stays locked until it has its name. The log names this
// file's own first failure (write_error when a write failed), not an earlier one of the run.
char FinishTemp(FILE* f, const std::string& temp, const char* path, bool ok, const char* func,
                bool in_place = false, int write_error = 0) {
  int err = ok ? 0 : (write_error ? write_error : EIO);
  if (!ok) NoteWriteError(err);
  // A step that failed; the first failure's reason is the one logged.
  auto step_failed = [&] {
    if (!err) err = errno ? errno : EIO;
    NoteWriteError(errno);
    ok = false;
  };
  if (FaultNow() || fflush(f) != 0 || ferror(f)) step_failed();
  if (ok && !in_place && !SyncFile(fileno(f), temp.c_str())) step_failed();
  // A duplicate of the descriptor keeps the temporary locked from the close to the rename.
  const int lock = in_place ? -1 : dup(fileno(f));
  if (fclose(f) != 0 || FaultNow()) step_failed();
  char result = 1;
  if (!ok) {
    if (!in_place) unlink(temp.c_str());
    DebugError(func, "Could not write file <%s> [%s]", path, strerror(err));
    result = 0;
  } else if (!in_place && (FaultNow() || rename(temp.c_str(), path) != 0)) {
    int err = errno;
    NoteWriteError(err);
    unlink(temp.c_str());
    DebugError(func, "Could not rename file to <%s> [%s]", path, strerror(err));
    result = 0;
  } else if (!in_place && !SyncFolderOf(path, func)) {
    result = 0;
  }
  if (lock >= 0) close(lock);
  return result;
}

FILE* OpenForReplacing(const char* path) {
  if (IsHeld(path)) {
    // Already a temporary of its own: written in place, keeping its lock.
    FILE* f = fopen(path, "wb");
    if (f) PendingWrites()[f] = PendingWrite{path, path, false, true, 0};
    return f;
  }
  std::string temp;
  FILE* f = OpenTemp(path, NewFileMode(path), &temp);
  if (!f) return nullptr;
  PendingWrites()[f] = PendingWrite{path, temp, false, false, 0};
  return f;
}

void MarkFailed(FILE* f) {
  const int err = errno ? errno : EIO;
  NoteWriteError(err);
  auto it = PendingWrites().find(f);
  if (it == PendingWrites().end()) return;
  if (!it->second.failed) it->second.error = err;
  it->second.failed = true;
}

// Closes the stream; a stream written under a temporary name takes its real name only when
// every write, the flush and the close worked. 1 on success.
char CloseStream(FILE* f, const char* func) {
  auto& table = PendingWrites();
  auto it = table.find(f);
  if (it == table.end()) {
    if (fclose(f) != 0) {
      NoteWriteError(errno);
      DebugError(func, "Could not close file [%s]", strerror(errno));
      return 0;
    }
    return 1;
  }
  PendingWrite pw = it->second;
  table.erase(it);
  return FinishTemp(f, pw.temp_path, pw.final_path.c_str(), !pw.failed, func, pw.in_place, pw.error);
}

// Throws away a stream written under a temporary name (the file it replaces stays as it was).
void DiscardStream(FILE* f) {
  auto& table = PendingWrites();
  auto it = table.find(f);
  std::string temp = it != table.end() && !it->second.in_place ? it->second.temp_path : std::string();
  if (it != table.end()) table.erase(it);
  fclose(f);
  if (!temp.empty()) unlink(temp.c_str());
}

// The size of an open stream in 64 bits, the position kept; -1 on failure.
int64_t StreamSize(FILE* f) {
  off_t pos = ftello(f);
  if (fseeko(f, 0, SEEK_END) != 0) return -1;
  off_t end = ftello(f);
  if (pos >= 0) fseeko(f, pos, SEEK_SET);
  return end;
}

}  // namespace

// ---- Opening ----

void* ComFileOpenForReading(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileOpenForReading", "No filename specified");
    return nullptr;
  }
  FILE* f = OpenRegularForReading(path);
  if (!f) DebugError("ComFileOpenForReading", "Could not open file <%s>", path);
  return f;
}

void* ComFileOpenForReadingIfExists(const char* path) {
  if (Empty(path)) return nullptr;
  return OpenRegularForReading(path);
}

void* ComFileCreateForWriting(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileCreateForWriting", "No filename specified");
    return nullptr;
  }
  FILE* f = OpenForReplacing(path);
  if (!f) DebugError("ComFileCreateForWriting", "Could not create file <%s>", path);
  return f;
}

void* ComFileOpenForWriting(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileOpenForWriting", "No filename specified");
    return nullptr;
  }
  FILE* f = OpenForReplacing(path);
  if (!f) {
    DebugError("ComFileOpenForWriting", "Could not open or create file <%s>", path);
    return nullptr;
  }
  ComFileRewind(f);
  return f;
}

void* ComFileOpenForAppending(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileOpenForAppending", "No filename specified");
    return nullptr;
  }
  // Appended to only when it is a file: a FIFO without a reader is refused, not waited for.
  FILE* f = OpenRegular(path, O_WRONLY | O_CREAT | O_APPEND, "ab");
  if (!f) DebugError("ComFileOpenForAppending", "Could not open or create file <%s>", path);
  return f;
}

// ---- Reading and writing ----

char ComFileRead(void* file, void* buf, uint32_t len) {
  if (!file || !buf || len == 0) {
    DebugError("ComFileRead", "Could not read from file");
    return 0;
  }
  size_t n = ReadFaultNow() ? 0 : fread(buf, 1, len, static_cast<FILE*>(file));
  if (n == 0) {
    DebugError("ComFileRead", "Could not read from file");
    return 0;
  }
  if (n < len) {
    DebugError("ComFileRead", "Problem reading from file [ read %u not %u ]", (unsigned)n,
               (unsigned)len);
    return 0;
  }
  return 1;
}

char ComFileWrite(void* file, const void* data, uint32_t len) {
  if (!file || !data || len == 0) {
    DebugError("ComFileWrite", "Could not write to file");
    return 0;
  }
  FILE* f = static_cast<FILE*>(file);
  // An injected fault stores half the bytes, as a disk that fills up part of the way through.
  size_t n = FaultNow() ? fwrite(data, 1, len / 2, f) : fwrite(data, 1, len, f);
  if (n == 0) {
    MarkFailed(f);
    DebugError("ComFileWrite", "Could not write to file");
    return 0;
  }
  if (n < len) {
    MarkFailed(f);
    DebugError("ComFileWrite", "Only wrote %u of %u bytes to file", (unsigned)n, (unsigned)len);
    return 0;
  }
  return 1;
}

namespace {

// The offset of the first LF or CR in p[0, n), or n. Looked for in stretches, so that a file of
// CR line ends is not searched to the end of the buffer for an LF at every line.
size_t LineEndOffset(const char* p, size_t n) {
  const size_t kStretch = 256;
  for (size_t at = 0; at < n; at += kStretch) {
    const size_t len = std::min(kStretch, n - at);
    const char* lf = static_cast<const char*>(memchr(p + at, '\n', len));
    const size_t upto = lf ? static_cast<size_t>(lf - (p + at)) : len;
    const char* cr = static_cast<const char*>(memchr(p + at, '\r', upto));
    if (cr) return static_cast<size_t>(cr - p);
    if (lf) return static_cast<size_t>(lf - p);
  }
  return n;
}

}  // namespace

// Reads straight from the stream's own buffer: each buffered stretch is scanned for the line end
// and copied in one piece, the stream refilled only when its buffer is used up, so a line costs
// no block read, no seek back, no lock and no error call, and the stream position is always
// right after what was delivered (other calls and ungetc on the same stream keep working).
// A stream is only ever read by one thread, so the stream lock is not taken.
char ComFileReadLine(void* file, void* dst, uint32_t max) {
  if (max > COM_FILE_LINE_MAX) {
    DebugError("ComFileReadLineMac", "Line max size too big");
    return 0;
  }
  if (max <= 1) return 0;
  if (!file || !dst) {
    DebugError("ComFileReadLineMac", "Invalid parameters");
    return 0;
  }
  FILE* f = static_cast<FILE*>(file);
  char* out = static_cast<char*>(dst);
  const uint32_t limit = max - 1;
  uint32_t n = 0;    // bytes of the line taken from the stream
  uint32_t len = 0;  // bytes delivered: a NUL inside the line ends the text
  bool cut = false, line_end = false;

  while (n < limit) {
    char* p = f->_IO_read_ptr;
    char* e = f->_IO_read_end;
    if (p >= e) {
      // The buffer is used up: the refill delivers its first byte, which is put back to be
      // scanned with the rest (it is still in the buffer, just behind the read pointer).
      if (getc_unlocked(f) == EOF) break;
      f->_IO_read_ptr--;
      continue;
    }
    const size_t take = std::min<size_t>(static_cast<size_t>(e - p), limit - n);
    const size_t i = LineEndOffset(p, take);
    if (!cut) {
      const char* nul = static_cast<const char*>(memchr(p, 0, i));
      const size_t keep = nul ? static_cast<size_t>(nul - p) : i;
      memcpy(out + len, p, keep);
      len += static_cast<uint32_t>(keep);
      cut = nul != nullptr;
    }
    n += static_cast<uint32_t>(i);
    f->_IO_read_ptr = p + i;
    if (i < take) {
      line_end = true;
      const char c = *f->_IO_read_ptr++;
      if (c == '\r') {
        // CR LF is one line end, also when the LF lies beyond this call's max - 1 bytes or
        // beyond the buffered bytes.
        if (f->_IO_read_ptr < f->_IO_read_end) {
          if (*f->_IO_read_ptr == '\n') f->_IO_read_ptr++;
        } else {
          int next = getc_unlocked(f);
          if (next != '\n' && next != EOF) ungetc(next, f);
        }
      }
      break;
    }
  }
  if (ferror_unlocked(f)) {
    clearerr_unlocked(f);
    DebugError("ComFileReadLineMac", "Could not read from file");
    return 0;
  }
  if (n == 0 && !line_end) return 0;  // end of file
  out[len] = 0;
  return 1;
}

char ComFileSetReadBuffer(void* file, void* buf, uint32_t size) {
  if (!file || !buf || size == 0) {
    DebugError("ComFileSetReadBuffer", "Invalid parameters");
    return 0;
  }
  if (setvbuf(static_cast<FILE*>(file), static_cast<char*>(buf), _IOFBF, size) != 0) {
    DebugError("ComFileSetReadBuffer", "Could not set the read buffer");
    return 0;
  }
  return 1;
}

char ComFilePrintf(void* file, const char* format, ...) {
  va_list ap;
  va_start(ap, format);
  int n = vsnprintf(cf_format_str, sizeof(cf_format_str), format, ap);
  va_end(ap);
  if (n < 0) {
    DebugError("ComFilePrintf", "Could not format text");
    return 0;
  }
  char ok;
  if ((size_t)n < sizeof(cf_format_str)) {
    ok = ComFileWrite(file, cf_format_str, (uint32_t)strlen(cf_format_str));
  } else {
    // Longer than the shared buffer: formatted again in a buffer of its own, never cut.
    std::vector<char> big((size_t)n + 1);
    va_start(ap, format);
    vsnprintf(big.data(), big.size(), format, ap);
    va_end(ap);
    ok = ComFileWrite(file, big.data(), (uint32_t)strlen(big.data()));
  }
  if (!ok) {
    DebugError("ComFilePrintf", "Could not write to file");
    return 0;
  }
  return 1;
}

char ComFileRewind(void* file) {
  if (!file || fseeko(static_cast<FILE*>(file), 0, SEEK_SET) != 0) {
    DebugError("ComFileRewind", "Error rewinding file");
    return 0;
  }
  return 1;
}

char ComFileMoveToEnd(void* file) {
  if (!file || fseeko(static_cast<FILE*>(file), 0, SEEK_END) != 0) {
    DebugError("ComFileMoveToEnd", "Error moving to end of file");
    return 0;
  }
  return 1;
}

int32_t ComFileGetSize(void* file) {
  int64_t size = file ? StreamSize(static_cast<FILE*>(file)) : -1;
  if (size < 0 || size > INT32_MAX) {
    DebugError("ComFileGetSize", "Problem getting size");
    return 0;
  }
  return (int32_t)size;
}

char ComFileClose(void* file) {
  if (!file) return 1;
  return CloseStream(static_cast<FILE*>(file), "ComFileClose");
}

// ---- Whole files ----

namespace {

// Shared body of the two whole-file reads. Returns 1, 0, or -1 when the file could not be
// opened (the callers answer that differently).
int ReadWholeFile(const char* func, const char* path, void* buf, uint32_t len) {
  FILE* f = OpenRegularForReading(path);
  if (!f) return -1;
  int64_t size = StreamSize(f);
  if (size != (int64_t)len) {
    fclose(f);
    DebugError(func, "Invalid file size in <%s>", path);
    return 0;
  }
  if (len > 0 && (!buf || ReadFaultNow() || fread(buf, 1, len, f) != len)) {
    // The read's reason outlives the clean-up, for the caller to tell.
    const int err = errno;
    fclose(f);
    DebugError(func, "Could not read from file <%s>", path);
    errno = err;
    return 0;
  }
  fclose(f);
  return 1;
}

}  // namespace

char ComFileOpenReadAndClose(const char* path, void* buf, uint32_t len) {
  if (Empty(path)) {
    DebugError("ComFileOpenReadAndClose", "No filename specified");
    return 0;
  }
  int r = ReadWholeFile("ComFileOpenReadAndClose", path, buf, len);
  if (r < 0) {
    DebugError("ComFileOpenReadAndClose", "Could not open file <%s>", path);
    return 0;
  }
  return (char)r;
}

char ComFileOpenReadAndCloseIfExists(const char* path, void* buf, uint32_t len) {
  if (Empty(path)) return 1;
  int r = ReadWholeFile("ComFileOpenReadAndCloseIfExists", path, buf, len);
  if (r < 0) return 1;
  return (char)r;
}

char ComFileOpenWriteAndClose(const char* path, const void* buf, uint32_t len) {
  if (Empty(path)) {
    DebugError("ComFileOpenWriteAndClose", "No filename specified");
    return 0;
  }
  FILE* f = OpenForReplacing(path);
  if (!f) {
    DebugError("ComFileOpenWriteAndClose", "Could not open file <%s>", path);
    return 0;
  }
  if (!ComFileWrite(f, buf, len)) {
    DiscardStream(f);
    DebugError("ComFileOpenWriteAndClose", "Could not write to file <%s>", path);
    return 0;
  }
  return CloseStream(f, "ComFileOpenWriteAndClose");
}

int32_t ComFileGetSizeFilename(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileGetSizeFilename", "No filename specified");
    return 0;
  }
  FILE* f = OpenRegularForReading(path);
  if (!f) {
    DebugError("ComFileGetSizeFilename", "Could not open file <%s>", path);
    return 0;
  }
  int32_t size = ComFileGetSize(f);
  fclose(f);
  return size;
}

char ComFileCopyFile(const char* from, const char* to, char failIfExists) {
  const char* func = "ComFileCopyFile";
  if (Empty(from) || Empty(to)) {
    DebugError(func, "Invalid parameters");
    return 0;
  }
  if (failIfExists && access(to, F_OK) == 0) {
    DebugError(func, "File <%s> exists", to);
    return 0;
  }
  FILE* in = OpenRegularForReading(from);
  if (!in) {
    DebugError(func, "File <%s> does not exist", from);
    return 0;
  }
  struct stat st;
  mode_t mode;
  if (stat(to, &st) == 0 && S_ISREG(st.st_mode)) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = (fstat(fileno(in), &st) == 0 ? (st.st_mode & 0777) : 0666) & ~mask;
  }
  std::string temp;
  FILE* out = OpenTemp(to, mode, &temp);
  if (!out) {
    fclose(in);
    DebugError(func, "Could not create file <%s>", to);
    return 0;
  }

  bool ok = true;
  std::vector<char> block(1 << 16);
  for (;;) {
    size_t n = fread(block.data(), 1, block.size(), in);
    if (n > 0 && fwrite(block.data(), 1, n, out) != n) {
      ok = false;
      break;
    }
    if (n < block.size()) {
      if (ferror(in)) ok = false;
      break;
    }
  }
  fclose(in);
  if (!FinishTemp(out, temp, to, ok, func)) {
    DebugError(func, "Could not copy <%s> to <%s>", from, to);
    return 0;
  }
  return 1;
}

char ComFileWriteReplacing(const char* path, const char* caller, char (*write)(FILE* file, void* context),
                           void* context) {
  if (Empty(path) || !write) {
    DebugError(caller, "Invalid parameters");
    return 0;
  }
  std::string temp;
  FILE* f = OpenTemp(path, NewFileMode(path), &temp);
  if (!f) {
    DebugError(caller, "Could not create file <%s>", path);
    return 0;
  }
  const bool ok = write(f, context) != 0;
  return FinishTemp(f, temp, path, ok, caller);
}

char ComFileCreateTemporary(const char* path, char* name, uint32_t size) {
  if (Empty(path) || !name || size == 0) {
    DebugError("ComFileCreateTemporary", "Invalid parameters");
    return 0;
  }
  std::string temp;
  int fd = MakeTemp(path, NewFileMode(path), &temp);
  if (fd < 0) {
    DebugError("ComFileCreateTemporary", "Could not create file <%s> [%s]", path, strerror(errno));
    return 0;
  }
  if (temp.size() >= size) {
    unlink(temp.c_str());
    close(fd);
    DebugError("ComFileCreateTemporary", "Path too long <%s>", path);
    return 0;
  }
  memcpy(name, temp.c_str(), temp.size() + 1);
  HeldTemporaries()[temp] = fd;
  return 1;
}

char ComFileReleaseTemporary(const char* name, const char* to) {
  if (Empty(name)) return 0;
  auto& table = HeldTemporaries();
  auto it = table.find(name);
  const int fd = it != table.end() ? it->second : -1;
  if (it != table.end()) table.erase(it);
  char result = 1;
  if (!to) {
    unlink(name);
  } else if (!SyncFile(fd, name)) {
    const int err = errno;
    NoteWriteError(err);
    unlink(name);
    DebugError("ComFileReleaseTemporary", "Could not write file <%s> [%s]", to, strerror(err));
    result = 0;
  } else if (FaultNow() || rename(name, to) != 0) {
    int err = errno;
    NoteWriteError(err);
    unlink(name);
    DebugError("ComFileReleaseTemporary", "Could not rename file to <%s> [%s]", to, strerror(err));
    result = 0;
  } else if (!SyncFolderOf(to, "ComFileReleaseTemporary")) {
    result = 0;
  }
  if (fd >= 0) close(fd);
  return result;
}

int ComFileTakeWriteError() {
  int err = cf_write_error;
  cf_write_error = 0;
  return err;
}

char ComFileIsTemporaryName(const char* name) {
  if (Empty(name)) return 0;
  const size_t len = strlen(name), mark = sizeof(kTempMark) - 1;
  // Something before the mark: the name of the file it was to become.
  if (len < 1 + mark + kTempTailLen) return 0;
  const char* tail = name + len - kTempTailLen;
  if (memcmp(tail - mark, kTempMark, mark) != 0) return 0;
  for (size_t i = 0; i < kTempTailLen; i++) {
    const char c = tail[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return 0;
  }
  return 1;
}

int ComFileRemoveLeftoverTemporaries(const char* folder) {
  if (Empty(folder)) return 0;
  DIR* d = opendir(folder);
  if (!d) return 0;
  int count = 0;
  while (dirent* e = readdir(d)) {
    if (!ComFileIsTemporaryName(e->d_name)) continue;
    std::string path = std::string(folder) + "/" + e->d_name;
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    // A temporary that a running writer holds is locked: it stays. Ours is held until after the
    // delete, so no writer can take the file in between; and the name must still be the file
    // that was locked, not a writer's new temporary made under it since the open.
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        NamesSameFile(fd, path.c_str()) && unlink(path.c_str()) == 0)
      count++;
    close(fd);
  }
  closedir(d);
  return count;
}

void ComFileDelete(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileDelete", "No filename specified");
    return;
  }
  unlink(path);
}

char ComFileExists(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileExists", "No filename specified");
    return 0;
  }
  FILE* f = OpenRegularForReading(path);
  if (!f) return 0;
  fclose(f);
  return 1;
}

// ---- Folders ----

char ComFileCreateDirectory(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileCreateDirectory", "No filename specified");
    return 0;
  }
  if (mkdir(path, 0777) != 0) {
    DebugError("ComFileCreateDirectory", "mkdir failed");
    return 0;
  }
  return 1;
}

void ComFileDeleteDirectory(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileDeleteDirectory", "No name specified");
    return;
  }
  rmdir(path);
}

char ComFileDirectoryExists(const char* path) {
  if (Empty(path)) {
    DebugError("ComFileDirectoryExists", "No filename specified");
    return 0;
  }
  DIR* d = opendir(path);
  if (!d) return 0;
  closedir(d);
  return 1;
}

// ---- Platform hooks ----

void ComFileReverseWordBitsForPlatform(void* buf, uint32_t len) {
  (void)buf;
  (void)len;
}

void ComFileOutputLastError(const char* caller) {
  if (caller)
    DebugError("ComFileOutputLastError", "Not supported on Mac (called by %s)", caller);
  else
    DebugError("ComFileOutputLastError", "Not supported on Mac");
}

// ---- Encryption ----

#include "ComEncryption.h"

namespace {

ComEncryptionCtx com_encryption3_ctx;
char cf_encryption_strong_init = 0;

// Enciphered writes go out in pieces of this size (a whole number of blocks), so a large buffer
// never needs a second copy of itself.
constexpr uint32_t kCipherChunk = 64 * 1024;

// 1 when the key is set and the buffer holds at least one block; else logs why under func.
char StrongReady(const char* func, const void* buf, uint32_t len) {
  if (!cf_encryption_strong_init) {
    DebugError(func, "Encryption not setup.");
    return 0;
  }
  if (!buf || len < 8) {
    DebugError(func, "String too small");
    return 0;
  }
  return 1;
}

uint32_t LoadBigEndian(const unsigned char* p) {
  return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

void StoreBigEndian(unsigned char* p, uint32_t w) {
  p[0] = (unsigned char)(w >> 24);
  p[1] = (unsigned char)(w >> 16);
  p[2] = (unsigned char)(w >> 8);
  p[3] = (unsigned char)w;
}

// Every whole block in place; the tail shorter than a block stays as it is.
void CipherBlocks(unsigned char* p, uint32_t len, bool encrypt) {
  for (uint32_t off = 0; len - off >= 8; off += 8) {
    uint32_t l = LoadBigEndian(p + off), r = LoadBigEndian(p + off + 4);
    if (encrypt)
      ComEncryptionEncrypt(&com_encryption3_ctx, &l, &r);
    else
      ComEncryptionDecrypt(&com_encryption3_ctx, &l, &r);
    StoreBigEndian(p + off, l);
    StoreBigEndian(p + off + 4, r);
  }
}

// The scrambling of bytes that sit at `start` and after in the whole buffer.
void ScrambleBytes(unsigned char* p, uint32_t len, uint32_t start) {
  for (uint32_t i = 0; i < len; i++) p[i] = (unsigned char)(127 - p[i] + (start + i) / 10);
}

// Writes a transformed copy of buf, piece by piece. transform(piece, size, offset in buf).
template <typename Transform>
char WriteTransformed(const char* func, void* file, const void* buf, uint32_t len, Transform transform) {
  if (!buf || len == 0) {
    DebugError(func, "Could not write to file");
    return 0;
  }
  const unsigned char* src = static_cast<const unsigned char*>(buf);
  std::vector<unsigned char> piece(len < kCipherChunk ? len : kCipherChunk);
  for (uint32_t off = 0; off < len;) {
    uint32_t n = len - off < kCipherChunk ? len - off : kCipherChunk;
    memcpy(piece.data(), src + off, n);
    transform(piece.data(), n, off);
    if (!ComFileWrite(file, piece.data(), n)) {
      DebugError(func, "Could not write to file");
      return 0;
    }
    off += n;
  }
  return 1;
}

char EncryptAndWriteStrong(const char* func, void* file, const void* buf, uint32_t len) {
  // Without a key nothing is written: the plain text must never go out as if enciphered.
  if (!StrongReady(func, buf, len)) return 0;
  return WriteTransformed(func, file, buf, len,
                          [](unsigned char* p, uint32_t n, uint32_t) { CipherBlocks(p, n, true); });
}

char ReadAndDecryptStrong(const char* func, void* file, void* buf, uint32_t len) {
  if (!StrongReady(func, buf, len)) return 0;
  if (!ComFileRead(file, buf, len)) {
    DebugError(func, "Could not read from file");
    return 0;
  }
  CipherBlocks(static_cast<unsigned char*>(buf), len, false);
  return 1;
}

}  // namespace

char ComFileInitEncryptionStrong(const char* key) {
  if (cf_encryption_strong_init) {
    DebugError("ComFileInitEncryptionStrong", "Encryption already setup");
    return 0;
  }
  size_t len = key ? strlen(key) : 0;
  if (len == 0 || len > INT32_MAX) {
    DebugError("ComFileInitEncryptionStrong", "Invalid Key");
    return 0;
  }
  if (!ComEncryptionInit(&com_encryption3_ctx, reinterpret_cast<const unsigned char*>(key), (int)len))
    return 0;
  cf_encryption_strong_init = 1;
  return 1;
}

char ComFileEncryptStrong(void* buf, uint32_t len) {
  if (!StrongReady("ComFileEncryptStrong", buf, len)) return 0;
  CipherBlocks(static_cast<unsigned char*>(buf), len, true);
  return 1;
}

char ComFileDecryptStrong(void* buf, uint32_t len) {
  if (!StrongReady("ComFileDecryptStrong", buf, len)) return 0;
  CipherBlocks(static_cast<unsigned char*>(buf), len, false);
  return 1;
}

char ComFileEncryptAndWriteStrong(void* file, const void* buf, uint32_t len) {
  return EncryptAndWriteStrong("ComFileEncryptAndWriteStrong", file, buf, len);
}

char ComFileReadAndDecryptStrong(void* file, void* buf, uint32_t len) {
  return ReadAndDecryptStrong("ComFileReadAndDecryptStrong", file, buf, len);
}

char ComFileEncryptAndWriteStrongForPlatform(void* file, const void* buf, uint32_t len) {
  return EncryptAndWriteStrong("ComFileEncryptAndWriteStrong", file, buf, len);
}

char ComFileReadAndDecryptStrongForPlatform(void* file, void* buf, uint32_t len) {
  return ReadAndDecryptStrong("ComFileReadAndDecryptStrongForPlatform", file, buf, len);
}

void ComFileEncrypt(void* buf, uint32_t len) {
  if (buf) ScrambleBytes(static_cast<unsigned char*>(buf), len, 0);
}

void ComFileDecrypt(void* buf, uint32_t len) {
  if (buf) ScrambleBytes(static_cast<unsigned char*>(buf), len, 0);
}

char ComFileEncryptAndWrite(void* file, const void* buf, uint32_t len) {
  return WriteTransformed("ComFileEncryptAndWrite", file, buf, len, ScrambleBytes);
}

char ComFileReadAndDecrypt(void* file, void* buf, uint32_t len) {
  if (!ComFileRead(file, buf, len)) {
    DebugError("ComFileReadAndDecrypt", "Could not read from file");
    return 0;
  }
  ScrambleBytes(static_cast<unsigned char*>(buf), len, 0);
  return 1;
}

// ---- Fault injection ----

void ComFileInjectFault(int n) {
  cf_fault_countdown = n > 0 ? n : 0;
  cf_fault_fired = false;
}

char ComFileFaultFired() { return cf_fault_fired ? 1 : 0; }

void ComFileInjectReadFault(int n) {
  cf_read_fault_countdown = n > 0 ? n : 0;
  cf_fault_fired = false;
}

// The framework's one file layer. Handles are open buffered streams passed as untyped pointers
// (null = no file), owned by the caller until ComFileClose. Every failure is logged under the
// operation's own name; results are 1/0 flags, handles or 0 sizes.
//
// A file opened by ComFileCreateForWriting or ComFileOpenForWriting is written under a temporary
// name beside it and takes its real name only when ComFileClose succeeds after writes that all
// succeeded, so a failed save never destroys the file that was there. The new file reaches the
// disk before it takes the name, and the name reaches it after, so a power failure soon after a
// save leaves the old file or the whole new one, never an empty or cut one.
#ifndef COM_FILE_H
#define COM_FILE_H

#include <cstdint>
#include <cstdio>

#define COM_FILE_PRINTF(fmt_index, first_arg) __attribute__((format(printf, fmt_index, first_arg)))

inline constexpr uint32_t COM_FILE_LINE_MAX = 10000;    // ComFileReadLine's limit, NUL counted
inline constexpr uint32_t COM_FILE_FORMAT_SIZE = 5000;  // ComFilePrintf's formatting buffer

// Opening (null on failure). Every open of a path, here and in the whole-file calls below, takes
// only a regular file and never waits: a FIFO, a device, a socket or a folder at the path is
// refused as a missing file is, so ComFileExists answers 0 for it too.
void* ComFileOpenForReading(const char* path);
void* ComFileOpenForReadingIfExists(const char* path);  // silent null when absent
void* ComFileCreateForWriting(const char* path);         // created or truncated
void* ComFileOpenForWriting(const char* path);           // created or truncated, at offset 0
void* ComFileOpenForAppending(const char* path);         // created if missing, writes go to the end

// Reading and writing an open file.
char ComFileRead(void* file, void* buf, uint32_t len);          // 1 only when all len bytes came
char ComFileWrite(void* file, const void* data, uint32_t len);  // 1 only when all were written
// One text line (LF, CR or CR LF ends it; the end is not copied) into dst, which holds max bytes.
// A line longer than max - 1 bytes arrives in pieces of max - 1 bytes. 1 when a line (maybe
// empty) was delivered, 0 at end of file, on a read error (logged) or on a bad max.
char ComFileReadLine(void* file, void* dst, uint32_t max);
// Gives a file just opened for reading a read buffer of the caller's (kept by the caller until
// ComFileClose), so a pass over a large file takes few reads. 1 on success.
char ComFileSetReadBuffer(void* file, void* buf, uint32_t size);
char ComFilePrintf(void* file, const char* format, ...) COM_FILE_PRINTF(2, 3);
char ComFileRewind(void* file);
char ComFileMoveToEnd(void* file);
int32_t ComFileGetSize(void* file);  // the position is kept
// Closes a non-null handle (null is ignored, 1). 0 when buffered data could not be written or the
// file could not take its name; the failure is logged.
char ComFileClose(void* file);
// The failure path of a function that has a file open: closes it and answers 0.
inline char ComFileCloseAndFail(void* file) {
  ComFileClose(file);
  return 0;
}

// Whole files by path.
char ComFileOpenReadAndClose(const char* path, void* buf, uint32_t len);          // size must be len
char ComFileOpenReadAndCloseIfExists(const char* path, void* buf, uint32_t len);  // absent: 1
char ComFileOpenWriteAndClose(const char* path, const void* buf, uint32_t len);
int32_t ComFileGetSizeFilename(const char* path);
// Copies in the program (no shell) to a temporary name beside `to`, then renames; 1 on success.
char ComFileCopyFile(const char* from, const char* to, char failIfExists);
// Writes a whole file that another library writes on its own stream: write(file, context) fills a
// temporary file beside path, which takes path's name only when write answered 1 and every byte
// reached the disk; otherwise the file at path stays as it was. Failures are logged under
// caller. 1 on success.
char ComFileWriteReplacing(const char* path, const char* caller, char (*write)(FILE* file, void* context),
                           void* context);
void ComFileDelete(const char* path);
char ComFileExists(const char* path);

// Temporaries. A temporary of its own beside path, for a file that several calls fill before it
// takes its name: its name goes into name (size bytes). It is held (locked) by this process until
// ComFileReleaseTemporary; opened for writing it is written in place, since it is a temporary
// already. 1 on success.
char ComFileCreateTemporary(const char* path, char* name, uint32_t size);
// Ends a held temporary: synced to the disk and renamed to `to`, the folder synced after (1 on
// success; a failure is logged and the temporary deleted), or deleted when to is null.
char ComFileReleaseTemporary(const char* name, const char* to);
// The reason (errno) of the first write, flush, sync, close or rename that failed since the last
// call; 0 when none failed.
int ComFileTakeWriteError();
// 1 when a file name (no folder) has the pattern of this layer's temporaries: a name, ".tmp-" and
// six letters or digits.
char ComFileIsTemporaryName(const char* name);
// Deletes the temporaries of this layer that a process which ended left in folder (never one that
// a running writer holds, nor anything of another name); the number deleted.
int ComFileRemoveLeftoverTemporaries(const char* folder);

// Folders.
char ComFileCreateDirectory(const char* path);
void ComFileDeleteDirectory(const char* path);
char ComFileDirectoryExists(const char* path);

// Fault injection for tests: the n-th of the next writes, flushes, syncs, closes and renames of
// files written under a temporary name fails the way a full or failing disk makes it fail (a write
// then stores only part of its bytes). n = 1 is the very next one; 0 turns injection off.
void ComFileInjectFault(int n);
char ComFileFaultFired();  // 1 once an injected fault (of writes or of reads) has happened
// The same for reads: the n-th of the next reads (ComFileRead and the whole-file reads) fails as a
// failing disk makes it fail (EIO). 0 turns it off.
void ComFileInjectReadFault(int n);

// Platform hooks.
void ComFileReverseWordBitsForPlatform(void* buf, uint32_t len);  // data is used as stored
void ComFileOutputLastError(const char* caller);

// Blowfish on file data, under one key set once per run (the key is the string's bytes without the
// NUL). Whole 8-byte blocks from the start of the buffer are enciphered on their own, their words
// big-endian; the last len mod 8 bytes stay as they are. Without a key, or with fewer than 8
// bytes, the calls log the reason, change and write nothing, and answer 0.
char ComFileInitEncryptionStrong(const char* key);  // a second key is refused
char ComFileEncryptStrong(void* buf, uint32_t len);
char ComFileDecryptStrong(void* buf, uint32_t len);
// The caller's buffer is never changed: a copy is enciphered and written.
char ComFileEncryptAndWriteStrong(void* file, const void* buf, uint32_t len);
// Reads exactly len bytes and deciphers them; 0 when the read failed (the bytes stay as read).
char ComFileReadAndDecryptStrong(void* file, void* buf, uint32_t len);
char ComFileEncryptAndWriteStrongForPlatform(void* file, const void* buf, uint32_t len);
char ComFileReadAndDecryptStrongForPlatform(void* file, void* buf, uint32_t len);

// Keyless byte scrambling: byte i becomes (127 - byte + i / 10) mod 256, its own inverse.
void ComFileEncrypt(void* buf, uint32_t len);
void ComFileDecrypt(void* buf, uint32_t len);
char ComFileEncryptAndWrite(void* file, const void* buf, uint32_t len);  // the buffer is unchanged
char ComFileReadAndDecrypt(void* file, void* buf, uint32_t len);

#endif

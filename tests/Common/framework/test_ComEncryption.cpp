// Blowfish and the file layer's encryption: the tables computed from pi, the published test
// vectors, the file layer's one key, enciphered and scrambled files read back, and the refusals.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ComEncryption.h"
#include "ComFile.h"
#include "FrameworkTestUtil.h"

using fwtest::ReadAll;
using fwtest::WriteAll;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back((unsigned char)std::stoul(hex.substr(i, 2), nullptr, 16));
  return out;
}

Bytes BytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Pattern(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; i++) b[i] = (unsigned char)(i * 7 + i / 253);
  return b;
}

TEST(ComEncryption, TablesAreTheDigitsOfPi) {
  EXPECT_EQ(ORIG_P[0], 0x243F6A88u);
  EXPECT_EQ(ORIG_P[1], 0x85A308D3u);
  EXPECT_EQ(ORIG_P[17], 0x8979FB1Bu);
  EXPECT_EQ(ORIG_S[0][0], 0xD1310BA6u);
  EXPECT_EQ(ORIG_S[3][255], 0x3AC372E6u);
}

TEST(ComEncryption, PublishedVectors) {
  struct Case {
    const char *key, *plain, *cipher;
  } cases[] = {
      {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
      {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
      {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
      {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
      // Key bytes of 0x80 and above: read as signed, these two would come out wrong.
      {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
      {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
  };
  for (const Case& c : cases) {
    Bytes key = FromHex(c.key);
    ComEncryptionCtx ctx;
    ASSERT_EQ(ComEncryptionInit(&ctx, key.data(), (int)key.size()), 1);
    uint64_t plain = std::stoull(c.plain, nullptr, 16), cipher = std::stoull(c.cipher, nullptr, 16);
    uint32_t l = (uint32_t)(plain >> 32), r = (uint32_t)plain;
    ComEncryptionEncrypt(&ctx, &l, &r);
    EXPECT_EQ(((uint64_t)l << 32 | r), cipher) << "key " << c.key;
    ComEncryptionDecrypt(&ctx, &l, &r);
    EXPECT_EQ(((uint64_t)l << 32 | r), plain) << "key " << c.key;
  }
}

class ComEncryptionTest : public fwtest::TempDirTest {};

TEST_F(ComEncryptionTest, KeysRepeatAndBadKeysAreRefused) {
  // The schedule repeats the key: "ab" and "abab" make the same cipher.
  ComEncryptionCtx a, b;
  ASSERT_EQ(ComEncryptionInit(&a, (const unsigned char*)"ab", 2), 1);
  ASSERT_EQ(ComEncryptionInit(&b, (const unsigned char*)"abab", 4), 1);
  EXPECT_EQ(memcmp(&a, &b, sizeof(a)), 0);

  ComEncryptionCtx untouched;
  memset(&untouched, 0x5A, sizeof(untouched));
  ComEncryptionCtx ctx = untouched;
  const unsigned char key[] = "k";
  EXPECT_EQ(ComEncryptionInit(&ctx, key, 0), 0);
  EXPECT_EQ(ComEncryptionInit(&ctx, key, -3), 0);
  EXPECT_EQ(ComEncryptionInit(&ctx, nullptr, 1), 0);
  EXPECT_EQ(ComEncryptionInit(nullptr, key, 1), 0);
  EXPECT_EQ(memcmp(&ctx, &untouched, sizeof(ctx)), 0);
  EXPECT_TRUE(Logged("ComEncryptionInit", "Invalid Key"));
}

class ComFileEncryptionTest : public fwtest::TempDirTest {
 protected:
  // The published key FEDCBA9876543210 has no zero byte, so it can be the file layer's string key.
  static constexpr const char* kKey = "\xFE\xDC\xBA\x98\x76\x54\x32\x10";

  static void SetKeyOnce() {
    static bool done = false;
    if (!done) {
      ASSERT_EQ(ComFileInitEncryptionStrong(kKey), 1);
    }
    done = true;
  }

  // Writes buf through `write` into a fresh file; answers the file's bytes ("" when it failed).
  template <typename Write>
  std::string WriteWith(Write write, const Bytes& buf, const std::string& name) {
    void* f = ComFileCreateForWriting(Path(name).c_str());
    EXPECT_NE(f, nullptr);
    char ok = write(f, buf.data(), (uint32_t)buf.size());
    EXPECT_EQ(ComFileClose(f), 1);
    return ok ? ReadAll(Path(name)) : std::string();
  }
};

// Runs in a child process: the file layer's key is set once per run and never unset.
TEST_F(ComFileEncryptionTest, WithoutAKeyNothingIsEncipheredOrWritten) {
  const std::string log = log_;
  const std::string path = Path("nokey.bin");
  int status = fwtest::RunInChild([&]() {
    Bytes buf = BytesOf("plain text that must not leak");
    const Bytes before = buf;
    if (ComFileEncryptStrong(buf.data(), (uint32_t)buf.size()) != 0 || buf != before) return 1;
    if (ComFileDecryptStrong(buf.data(), (uint32_t)buf.size()) != 0 || buf != before) return 2;
    void* f = ComFileCreateForWriting(path.c_str());
    if (ComFileEncryptAndWriteStrong(f, buf.data(), (uint32_t)buf.size()) != 0) return 3;
    if (ComFileEncryptAndWriteStrongForPlatform(f, buf.data(), (uint32_t)buf.size()) != 0) return 4;
    ComFileClose(f);
    if (ReadAll(path) != "") return 5;
    void* r = ComFileOpenForReading(path.c_str());
    if (ComFileReadAndDecryptStrong(r, buf.data(), 8) != 0) return 6;
    ComFileClose(r);
    return 0;
  });
  EXPECT_EQ(status, 0);
  std::string text = ReadAll(log);
  EXPECT_NE(text.find(ErrorLine("ComFileEncryptStrong", "Encryption not setup.")), std::string::npos);
  EXPECT_NE(text.find(ErrorLine("ComFileEncryptAndWriteStrong", "Encryption not setup.")), std::string::npos);
  EXPECT_NE(text.find(ErrorLine("ComFileReadAndDecryptStrong", "Encryption not setup.")), std::string::npos);
}

TEST_F(ComFileEncryptionTest, OneKeyPerRun) {
  EXPECT_EQ(ComFileInitEncryptionStrong(""), 0);
  EXPECT_EQ(ComFileInitEncryptionStrong(nullptr), 0);
  EXPECT_TRUE(Logged("ComFileInitEncryptionStrong", "Invalid Key"));
  SetKeyOnce();
  Bytes block = FromHex("0123456789ABCDEF");
  EXPECT_EQ(ComFileInitEncryptionStrong("another key"), 0);
  EXPECT_TRUE(Logged("ComFileInitEncryptionStrong", "Encryption already setup"));
  // The first key still holds.
  ASSERT_EQ(ComFileEncryptStrong(block.data(), 8), 1);
  EXPECT_EQ(block, FromHex("0ACEAB0FC6A0A28D"));
}

TEST_F(ComFileEncryptionTest, BlocksInPlaceTailStaysPlain) {
  SetKeyOnce();
  // Two blocks of the published plain text, then five bytes left as they are.
  Bytes buf = FromHex("0123456789ABCDEF0123456789ABCDEF0102030405");
  const Bytes before = buf;
  ASSERT_EQ(ComFileEncryptStrong(buf.data(), (uint32_t)buf.size()), 1);
  EXPECT_EQ(buf, FromHex("0ACEAB0FC6A0A28D0ACEAB0FC6A0A28D0102030405"));
  ASSERT_EQ(ComFileDecryptStrong(buf.data(), (uint32_t)buf.size()), 1);
  EXPECT_EQ(buf, before);

  Bytes seven = BytesOf("7 bytes");
  EXPECT_EQ(ComFileEncryptStrong(seven.data(), 7), 0);
  EXPECT_EQ(seven, BytesOf("7 bytes"));
  EXPECT_TRUE(Logged("ComFileEncryptStrong", "String too small"));
}

TEST_F(ComFileEncryptionTest, EncipheredFilesReadBack) {
  SetKeyOnce();
  // Large enough to be written in several pieces, with a tail shorter than a block.
  for (size_t size : {size_t(13), size_t(200003)}) {
    const Bytes buf = Pattern(size);
    Bytes expected = buf;
    ASSERT_EQ(ComFileEncryptStrong(expected.data(), (uint32_t)size), 1);
    for (auto write : {ComFileEncryptAndWriteStrong, ComFileEncryptAndWriteStrongForPlatform}) {
      Bytes caller = buf;
      std::string file = WriteWith(write, caller, "strong.bin");
      EXPECT_EQ(caller, buf) << "the caller's buffer changed";
      ASSERT_EQ(file, std::string(expected.begin(), expected.end())) << size;
      for (auto read : {ComFileReadAndDecryptStrong, ComFileReadAndDecryptStrongForPlatform}) {
        void* f = ComFileOpenForReading(Path("strong.bin").c_str());
        Bytes back(size);
        EXPECT_EQ(read(f, back.data(), (uint32_t)size), 1);
        EXPECT_EQ(back, buf) << size;
        ComFileClose(f);
      }
    }
  }
}

TEST_F(ComFileEncryptionTest, FailedReadsAndWritesAreReported) {
  SetKeyOnce();
  WriteAll(Path("short.bin"), "12345678");
  Bytes buf = Pattern(16);
  const Bytes before = buf;
  // A handle open for reading cannot be written.
  void* f = ComFileOpenForReading(Path("short.bin").c_str());
  EXPECT_EQ(ComFileEncryptAndWriteStrong(f, buf.data(), 16), 0);
  EXPECT_EQ(ComFileEncryptAndWriteStrongForPlatform(f, buf.data(), 16), 0);
  EXPECT_EQ(ComFileEncryptAndWrite(f, buf.data(), 16), 0);
  EXPECT_EQ(buf, before);
  EXPECT_TRUE(Logged("ComFileEncryptAndWriteStrong", "Could not write to file"));
  EXPECT_TRUE(Logged("ComFileEncryptAndWrite", "Could not write to file"));
  // Only 8 of 16 bytes are there.
  EXPECT_EQ(ComFileReadAndDecryptStrong(f, buf.data(), 16), 0);
  EXPECT_TRUE(Logged("ComFileReadAndDecryptStrong", "Could not read from file"));
  ComFileRewind(f);
  EXPECT_EQ(ComFileReadAndDecrypt(f, buf.data(), 16), 0);
  EXPECT_TRUE(Logged("ComFileReadAndDecrypt", "Could not read from file"));
  ComFileClose(f);
}

TEST_F(ComFileEncryptionTest, Scrambling) {
  Bytes abc = BytesOf("abc");
  ComFileEncrypt(abc.data(), 3);
  EXPECT_EQ(abc, (Bytes{30, 29, 28}));
  ComFileDecrypt(abc.data(), 3);
  EXPECT_EQ(abc, BytesOf("abc"));

  // Every tenth byte the offset grows by one.
  Bytes zeros(25, 0);
  ComFileEncrypt(zeros.data(), 25);
  for (size_t i = 0; i < zeros.size(); i++) EXPECT_EQ(zeros[i], 127 + i / 10) << i;

  // Through a file, in several pieces: the offset keeps counting across them.
  const Bytes buf = Pattern(150001);
  Bytes expected = buf;
  ComFileEncrypt(expected.data(), (uint32_t)expected.size());
  Bytes caller = buf;
  std::string file = WriteWith(ComFileEncryptAndWrite, caller, "scrambled.bin");
  EXPECT_EQ(caller, buf);
  ASSERT_EQ(file, std::string(expected.begin(), expected.end()));
  void* f = ComFileOpenForReading(Path("scrambled.bin").c_str());
  Bytes back(buf.size());
  EXPECT_EQ(ComFileReadAndDecrypt(f, back.data(), (uint32_t)back.size()), 1);
  EXPECT_EQ(back, buf);
  ComFileClose(f);
}

}  // namespace

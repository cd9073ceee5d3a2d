// Blowfish over unsigned 32-bit words. The words are exactly 32 bits wide: the S-box index
// x >> 24 must stay below 256.
#include "ComEncryption.h"

#include <cstring>

#include "ComDebug.h"

namespace {

constexpr int kRounds = 16;

inline uint32_t F(const ComEncryptionCtx* ctx, uint32_t x) {
  uint32_t h = ctx->S[0][x >> 24] + ctx->S[1][(x >> 16) & 0xFF];
  return (h ^ ctx->S[2][(x >> 8) & 0xFF]) + ctx->S[3][x & 0xFF];
}

}  // namespace

void ComEncryptionEncrypt(const ComEncryptionCtx* ctx, uint32_t* left, uint32_t* right) {
  uint32_t l = *left, r = *right;
  for (int i = 0; i < kRounds; i++) {
    l ^= ctx->P[i];
    r ^= F(ctx, l);
    uint32_t t = l;
    l = r;
    r = t;
  }
  // Undo the last swap.
  uint32_t t = l;
  l = r;
  r = t;
  r ^= ctx->P[kRounds];
  l ^= ctx->P[kRounds + 1];
  *left = l;
  *right = r;
}

void ComEncryptionDecrypt(const ComEncryptionCtx* ctx, uint32_t* left, uint32_t* right) {
  uint32_t l = *left, r = *right;
  for (int i = kRounds + 1; i > 1; i--) {
    l ^= ctx->P[i];
    r ^= F(ctx, l);
    uint32_t t = l;
    l = r;
    r = t;
  }
  uint32_t t = l;
  l = r;
  r = t;
  r ^= ctx->P[1];
  l ^= ctx->P[0];
  *left = l;
  *right = r;
}

char ComEncryptionInit(ComEncryptionCtx* ctx, const unsigned char* key, int len) {
  // An empty key would leave the repeating key schedule nothing to repeat.
  if (!ctx || !key || len < 1) {
    DebugError("ComEncryptionInit", "Invalid Key");
    return 0;
  }
  memcpy(ctx->S, ORIG_S, sizeof(ctx->S));
  int k = 0;
  for (int i = 0; i < 18; i++) {
    uint32_t data = 0;
    for (int b = 0; b < 4; b++) {
      data = (data << 8) | key[k];
      if (++k >= len) k = 0;
    }
    ctx->P[i] = ORIG_P[i] ^ data;
  }
  uint32_t l = 0, r = 0;
  for (int i = 0; i < 18; i += 2) {
    ComEncryptionEncrypt(ctx, &l, &r);
    ctx->P[i] = l;
    ctx->P[i + 1] = r;
  }
  for (int box = 0; box < 4; box++) {
    for (int i = 0; i < 256; i += 2) {
      ComEncryptionEncrypt(ctx, &l, &r);
      ctx->S[box][i] = l;
      ctx->S[box][i + 1] = r;
    }
  }
  return 1;
}

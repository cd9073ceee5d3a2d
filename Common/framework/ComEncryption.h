// The Blowfish block cipher: a 64-bit block as two 32-bit words, 16 rounds, keys of any length.
#ifndef COM_ENCRYPTION_H
#define COM_ENCRYPTION_H

#include <cstdint>

struct ComEncryptionCtx {
  uint32_t P[18];
  uint32_t S[4][256];
};

// The published initial state: the fractional hexadecimal digits of pi (generated at build time).
extern const uint32_t ORIG_P[18];
extern const uint32_t ORIG_S[4][256];

// The key schedule. The key's bytes are taken as unsigned and repeated as often as needed.
// 0 (logged, the context untouched) for a null context or key or a length below 1.
char ComEncryptionInit(ComEncryptionCtx* ctx, const unsigned char* key, int len);
// One block in place: left holds the block's first four bytes read most significant first.
void ComEncryptionEncrypt(const ComEncryptionCtx* ctx, uint32_t* left, uint32_t* right);
void ComEncryptionDecrypt(const ComEncryptionCtx* ctx, uint32_t* left, uint32_t* right);

#endif

#pragma once
// AES (FIPS-197) block cipher for the text cipher; private to the library.

#include <cstddef>
#include <cstdint>

namespace vxutil {

struct AesContext {
    int rounds = 0;
    uint32_t roundKeys[60] = {};
};

// Key sizes of 16, 24 and 32 bytes (10, 12 and 14 rounds); false otherwise.
bool aesSetKey(AesContext& ctx, const uint8_t* key, size_t keyBytes);
void aesEncryptBlock(const AesContext& ctx, const uint8_t in[16], uint8_t out[16]);
void aesDecryptBlock(const AesContext& ctx, const uint8_t in[16], uint8_t out[16]);

}  // namespace vxutil

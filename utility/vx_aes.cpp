#include "utility/vx_aes_p.h"

#include <cstring>

namespace vxutil {
namespace {

uint8_t sbox[256];
uint8_t invSbox[256];

uint8_t xtime(uint8_t x)
{
    return static_cast<uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1b : 0));
}

uint8_t mul(uint8_t a, uint8_t b)
{
    uint8_t r = 0;
    while (b) {
        if (b & 1)
            r ^= a;
        a = xtime(a);
        b >>= 1;
    }
    return r;
}

// The S-box from its definition: the multiplicative inverse in GF(2^8)
// followed by the affine transform. Built once, before the first key.
struct SboxInit {
    SboxInit()
    {
        for (int i = 0; i < 256; ++i) {
            uint8_t inv = 0;
            if (i)
                for (int j = 1; j < 256; ++j)
                    if (mul(static_cast<uint8_t>(i), static_cast<uint8_t>(j)) == 1) {
                        inv = static_cast<uint8_t>(j);
                        break;
                    }
            uint8_t s = inv;
            uint8_t x = inv;
            for (int k = 0; k < 4; ++k) {
                x = static_cast<uint8_t>((x << 1) | (x >> 7));
                s ^= x;
            }
            s ^= 0x63;
            sbox[i] = s;
            invSbox[s] = static_cast<uint8_t>(i);
        }
    }
};
const SboxInit sboxInit;

uint32_t subWord(uint32_t w)
{
    return (uint32_t(sbox[w >> 24]) << 24) | (uint32_t(sbox[(w >> 16) & 0xff]) << 16)
           | (uint32_t(sbox[(w >> 8) & 0xff]) << 8) | sbox[w & 0xff];
}

void addRoundKey(uint8_t s[16], const uint32_t* k)
{
    for (int c = 0; c < 4; ++c) {
        s[4 * c] ^= static_cast<uint8_t>(k[c] >> 24);
        s[4 * c + 1] ^= static_cast<uint8_t>(k[c] >> 16);
        s[4 * c + 2] ^= static_cast<uint8_t>(k[c] >> 8);
        s[4 * c + 3] ^= static_cast<uint8_t>(k[c]);
    }
}

// The state is column-major: byte r of column c is s[4c + r].
void shiftRows(uint8_t s[16], bool inverse)
{
    uint8_t t[16];
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            int from = inverse ? (c - r + 4) % 4 : (c + r) % 4;
            t[4 * c + r] = s[4 * from + r];
        }
    memcpy(s, t, 16);
}

void mixColumns(uint8_t s[16], bool inverse)
{
    static const uint8_t fwd[4] = {2, 3, 1, 1};
    static const uint8_t inv[4] = {14, 11, 13, 9};
    const uint8_t* m = inverse ? inv : fwd;
    for (int c = 0; c < 4; ++c) {
        uint8_t col[4];
        memcpy(col, s + 4 * c, 4);
        for (int r = 0; r < 4; ++r)
            s[4 * c + r] = mul(col[0], m[(4 - r) % 4]) ^ mul(col[1], m[(5 - r) % 4]) ^ mul(col[2], m[(6 - r) % 4])
                           ^ mul(col[3], m[(7 - r) % 4]);
    }
}

}  // namespace

bool aesSetKey(AesContext& ctx, const uint8_t* key, size_t keyBytes)
{
    if (keyBytes != 16 && keyBytes != 24 && keyBytes != 32)
        return false;
    int nk = static_cast<int>(keyBytes / 4);
    ctx.rounds = nk + 6;
    int total = 4 * (ctx.rounds + 1);
    for (int i = 0; i < nk; ++i)
        ctx.roundKeys[i] = (uint32_t(key[4 * i]) << 24) | (uint32_t(key[4 * i + 1]) << 16)
                           | (uint32_t(key[4 * i + 2]) << 8) | key[4 * i + 3];
    uint8_t rcon = 1;
    for (int i = nk; i < total; ++i) {
        uint32_t t = ctx.roundKeys[i - 1];
        if (i % nk == 0) {
            t = subWord((t << 8) | (t >> 24)) ^ (uint32_t(rcon) << 24);
            rcon = xtime(rcon);
        } else if (nk > 6 && i % nk == 4) {
            t = subWord(t);
        }
        ctx.roundKeys[i] = ctx.roundKeys[i - nk] ^ t;
    }
    return true;
}

void aesEncryptBlock(const AesContext& ctx, const uint8_t in[16], uint8_t out[16])
{
    uint8_t s[16];
    memcpy(s, in, 16);
    addRoundKey(s, ctx.roundKeys);
    for (int round = 1; round <= ctx.rounds; ++round) {
        for (auto& b : s)
            b = sbox[b];
        shiftRows(s, false);
        if (round != ctx.rounds)
            mixColumns(s, false);
        addRoundKey(s, ctx.roundKeys + 4 * round);
    }
    memcpy(out, s, 16);
}

void aesDecryptBlock(const AesContext& ctx, const uint8_t in[16], uint8_t out[16])
{
    uint8_t s[16];
    memcpy(s, in, 16);
    addRoundKey(s, ctx.roundKeys + 4 * ctx.rounds);
    for (int round = ctx.rounds - 1; round >= 0; --round) {
        shiftRows(s, true);
        for (auto& b : s)
            b = invSbox[b];
        addRoundKey(s, ctx.roundKeys + 4 * round);
        if (round != 0)
            mixColumns(s, true);
    }
    memcpy(out, s, 16);
}

}  // namespace vxutil

#include "utility/vx_cipher.h"

#include "utility/vx_aes_p.h"
#include "utility/vx_base64.h"
#include "utility/vx_guard_p.h"

#include <cstring>
#include <vector>

namespace {

// 24 printable characters and 8 zero bytes: a 256-bit key.
const uint8_t* cipherKey()
{
    static uint8_t key[32] = {};
    static const bool filled = (memcpy(key, "Quiet Falcon Relay Works", 24), true);
    (void)filled;
    return key;
}

bool setUp(vxutil::AesContext& ctx)
{
    return vxutil::aesSetKey(ctx, cipherKey(), 32);
}

}  // namespace

extern "C" int vx_encrypt(const char* text, char* out, int* io_len)
{
    return vxutil::guarded("vx_encrypt", [&]() -> int {
        vxutil::AesContext ctx;
        if (!setUp(ctx))
            return -1;
        size_t len = text ? strlen(text) : 0;
        size_t blocks = (len + 15) / 16;
        std::vector<uint8_t> plain(blocks * 16, 0);
        if (len)
            memcpy(plain.data(), text, len);
        std::vector<uint8_t> sealed(plain.size());
        for (size_t b = 0; b < blocks; ++b)
            vxutil::aesEncryptBlock(ctx, plain.data() + 16 * b, sealed.data() + 16 * b);
        return vx_base64_encode(sealed.data(), static_cast<int>(sealed.size()), out, io_len);
    });
}

extern "C" int vx_decrypt(const char* b64, char* out, int* io_len)
{
    return vxutil::guarded("vx_decrypt", [&]() -> int {
        if (!b64 || !out || !io_len)
            return -1;
        std::vector<uint8_t> sealed(2 * strlen(b64) + 16);
        int decoded = static_cast<int>(sealed.size());
        if (vx_base64_decode(b64, sealed.data(), &decoded) != 0 || decoded <= 0)
            return -1;
        // Only whole blocks are ciphertext; anything else is not ours.
        if (decoded % 16 != 0 || *io_len < decoded)
            return -1;
        vxutil::AesContext ctx;
        if (!setUp(ctx))
            return -1;
        for (int b = 0; b < decoded; b += 16)
            vxutil::aesDecryptBlock(ctx, sealed.data() + b, reinterpret_cast<uint8_t*>(out) + b);
        *io_len = decoded;
        return 0;
    });
}

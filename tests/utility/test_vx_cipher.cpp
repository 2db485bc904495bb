#include "utility/vx_aes_p.h"
#include "utility/vx_cipher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(VxCipher, Fips197Aes256Vector)
{
    uint8_t key[32];
    for (int i = 0; i < 32; ++i)
        key[i] = static_cast<uint8_t>(i);
    const uint8_t plain[16] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77,
                               0x88, 0x99, 0xaa, 0xbb, 0xcc, 0xdd, 0xee, 0xff};
    const uint8_t expected[16] = {0x8e, 0xa2, 0xb7, 0xca, 0x51, 0x67, 0x45, 0xbf,
                                  0xea, 0xfc, 0x49, 0x90, 0x4b, 0x49, 0x60, 0x89};
    vxutil::AesContext ctx;
    ASSERT_TRUE(vxutil::aesSetKey(ctx, key, 32));
    EXPECT_EQ(ctx.rounds, 14);
    uint8_t out[16], back[16];
    vxutil::aesEncryptBlock(ctx, plain, out);
    EXPECT_EQ(0, memcmp(out, expected, 16));
    vxutil::aesDecryptBlock(ctx, out, back);
    EXPECT_EQ(0, memcmp(back, plain, 16));
    EXPECT_FALSE(vxutil::aesSetKey(ctx, key, 20));
}

TEST(VxCipher, RoundTrips)
{
    struct {
        size_t length;
        int b64Length;
    } cases[] = {{0, 0}, {5, 24}, {16, 24}, {17, 44}};
    for (auto& c : cases) {
        std::string text(c.length, 'q');
        char b64[128];
        int len = sizeof b64 - 1;
        ASSERT_EQ(vx_encrypt(text.c_str(), b64, &len), 0);
        EXPECT_EQ(len, c.b64Length);
        b64[len] = '\0';

        char again[128];
        int againLen = sizeof again;
        vx_encrypt(text.c_str(), again, &againLen);
        EXPECT_EQ(std::string(b64, len), std::string(again, againLen));  // no initialisation vector

        char plain[64];
        int plainLen = sizeof plain;
        if (c.length == 0) {
            EXPECT_EQ(vx_decrypt(b64, plain, &plainLen), -1);
            continue;
        }
        ASSERT_EQ(vx_decrypt(b64, plain, &plainLen), 0);
        EXPECT_EQ(plainLen, static_cast<int>((c.length + 15) / 16 * 16));
        EXPECT_EQ(std::string(plain, c.length), text);
        for (int i = static_cast<int>(c.length); i < plainLen; ++i)
            EXPECT_EQ(plain[i], '\0');
    }
}

TEST(VxCipher, DecryptRefusesWhatIsNotCiphertext)
{
    char b64[64];
    int len = sizeof b64 - 1;
    vx_encrypt("secret", b64, &len);
    b64[len] = '\0';
    char plain[32];
    int small = 8;  // one block needs 16 bytes
    EXPECT_EQ(vx_decrypt(b64, plain, &small), -1);
    int room = sizeof plain;
    EXPECT_EQ(vx_decrypt("YWJj", plain, &room), -1);  // 3 bytes: not whole blocks
    EXPECT_EQ(vx_decrypt("", plain, &room), -1);
    EXPECT_EQ(vx_decrypt(nullptr, plain, &room), -1);
}

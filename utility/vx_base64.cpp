#include "utility/vx_base64.h"

#include "utility/vx_guard_p.h"
#include "utility/vx_result.h"

#include <cstring>

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int valueOf(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

}  // namespace

extern "C" int vx_base64_encode(const unsigned char* data, int count, char* out, int* io_len)
{
    return vxutil::guarded("vx_base64_encode", [&]() -> int {
        if (!out || !io_len || count < 0 || (!data && count > 0))
            return VX_ERR_INVALID_ARG;
        if (*io_len < 4 * count / 3 + 3)
            return VX_ERR_BUFFER_TOO_SMALL;
        int n = 0;
        int i = 0;
        for (; i + 2 < count; i += 3) {
            unsigned v = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
            out[n++] = kAlphabet[(v >> 18) & 63];
            out[n++] = kAlphabet[(v >> 12) & 63];
            out[n++] = kAlphabet[(v >> 6) & 63];
            out[n++] = kAlphabet[v & 63];
        }
        if (count - i == 1) {
            unsigned v = data[i] << 16;
            out[n++] = kAlphabet[(v >> 18) & 63];
            out[n++] = kAlphabet[(v >> 12) & 63];
            out[n++] = '=';
            out[n++] = '=';
        } else if (count - i == 2) {
            unsigned v = (data[i] << 16) | (data[i + 1] << 8);
            out[n++] = kAlphabet[(v >> 18) & 63];
            out[n++] = kAlphabet[(v >> 12) & 63];
            out[n++] = kAlphabet[(v >> 6) & 63];
            out[n++] = '=';
        }
        *io_len = n;
        return VX_OK;
    });
}

extern "C" int vx_base64_decode(const char* text, unsigned char* out, int* io_len)
{
    return vxutil::guarded("vx_base64_decode", [&]() -> int {
        if (!text || !out || !io_len)
            return VX_ERR_INVALID_ARG;
        size_t len = strlen(text);
        while (len > 0 && text[len - 1] == '=')
            --len;
        if (static_cast<long long>(*io_len) < static_cast<long long>(len) * 3 / 4)
            return VX_ERR_BUFFER_TOO_SMALL;

        int n = 0;
        unsigned group = 0;
        int have = 0;
        for (size_t i = 0; i < len; ++i) {
            int v = valueOf(text[i]);
            if (v < 0)
                continue;  // line breaks and other characters outside the alphabet
            group = (group << 6) | static_cast<unsigned>(v);
            if (++have == 4) {
                out[n++] = static_cast<unsigned char>(group >> 16);
                out[n++] = static_cast<unsigned char>(group >> 8);
                out[n++] = static_cast<unsigned char>(group);
                group = 0;
                have = 0;
            }
        }
        if (have == 2) {
            out[n++] = static_cast<unsigned char>(group >> 4);
        } else if (have == 3) {
            out[n++] = static_cast<unsigned char>(group >> 10);
            out[n++] = static_cast<unsigned char>(group >> 2);
        }
        *io_len = n;
        return VX_OK;
    });
}

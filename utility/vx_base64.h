#pragma once
// Base64 with the standard alphabet and "=" padding. No terminating NUL is
// written; *io_len gives the room and receives what was written.

#ifdef __cplusplus
extern "C" {
#endif

int vx_base64_encode(const unsigned char* data, int count, char* out, int* io_len);
int vx_base64_decode(const char* text, unsigned char* out, int* io_len);

#ifdef __cplusplus
}
#endif

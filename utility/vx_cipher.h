#pragma once
// Short texts enciphered with AES-256 (ECB, zero-filled last block) as
// Base64 text, and back. Results: 0, -1 (key set-up or input), -2 (a block
// failed), or a Base64 result code.

#ifdef __cplusplus
extern "C" {
#endif

int vx_encrypt(const char* text, char* out, int* io_len);
// *io_len is the room of out on entry (the decoded length rounded up to 16
// bytes is needed) and the deciphered length on return.
int vx_decrypt(const char* b64, char* out, int* io_len);

#ifdef __cplusplus
}
#endif

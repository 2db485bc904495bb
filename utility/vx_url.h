#pragma once
// Percent-coding, splitting and composing URLs. Texts handed out come from
// this library's heap: release them with vx_url_free or vx_url_clean.

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vx_url {
    char* scheme;
    char* user;
    char* password;
    char* host;    // its own copy; a bracketed IPv6 host keeps its brackets
    int port;      // 0: none
    char* path;    // from its "/"
    char* query;   // after the separator
    char* buffer;  // the parsed text, into which the other parts point
} vx_url;

// Each returns the allocated text (or null) and stores it in *out as well.
char* vx_url_encode(const char* text, char** out);
// Null when a "%" is not followed by two characters.
char* vx_url_decode(const char* text, char** out);
void vx_url_free(char** text);
// 0, or 70002 for a null record.
int vx_url_parse(vx_url* url, const char* text, char separator);
// Null when the result would be empty or longer than 255 characters.
char* vx_url_compose(const vx_url* url, char** out);
void vx_url_clean(vx_url* url);

#ifdef __cplusplus
}
#endif

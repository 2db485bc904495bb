#pragma once
// vxnet: one camera session per handle. CGI requests over HTTP, the media
// stream over RTSP, the received bitrate and file downloads.
//
// Plain C interface. Results are int, 0 meaning success, a negative VXNET_ERR_
// code otherwise, unless a function says differently. Nothing throws: out of
// memory is VXNET_ERR_NO_MEMORY.
//
// Threads: every call that takes a handle may come from any thread, but the
// camera library serialises them under its session lock; the library guards
// its own state anyway. vxnet_interrupt is the exception meant to cross that
// lock: another thread uses it to end the calls in flight. The stream
// callbacks run on the session's reader thread, between vxnet_open_stream and
// the return of vxnet_close_stream.

#include <stddef.h>
#include <stdint.h>

#include "outside/vxnet/vxstream.h"

#ifdef __cplusplus
extern "C" {
#endif

// Results.
enum {
    VXNET_OK = 0,
    VXNET_ERR_BAD_ARG = -1,      // null handle or pointer, malformed host, path or URL
    VXNET_ERR_CONNECT = -2,      // camera not reachable (refused, no route, name unknown)
    VXNET_ERR_TIMEOUT = -3,      // no answer within the time-out, or called off (vxnet_interrupt)
    VXNET_ERR_AUTH = -4,         // the camera refused the user and password
    VXNET_ERR_TOO_LARGE = -5,    // reply over VXNET_MAX_REPLY bytes
    VXNET_ERR_FILE = -6,         // local file could not be written
    VXNET_ERR_UNSUPPORTED = -8,  // P2P entry without an address
    VXNET_ERR_STREAM = -9,       // stream could not be opened or read
    VXNET_ERR_STREAM_END = -10,  // the camera ended the stream
    VXNET_ERR_BUSY = -11,        // stream already running; call from a callback
    VXNET_ERR_NO_MEMORY = -12,
    VXNET_ERR_HTTP = -13,       // download answered with a non-2xx status
    VXNET_ERR_PROTOCOL = -14,   // malformed reply
    VXNET_ERR_CANCELLED = -15,  // the caller's progress callback called the download off
    VXNET_ERR_SHORT = -16,      // download: the body ended below the size it was bound to have
};

// The largest CGI reply text handed back (status line, headers and body).
#define VXNET_MAX_REPLY (16 * 1024 * 1024)

// Camera families (chip types) written at offset 0 by vxnet_connect.
enum {
    VXNET_CHIP_NONE = 70,  // RTSP URL entries, and cameras that speak no known dialect
    VXNET_CHIP_HX = 71,
    VXNET_CHIP_HV = 72,
    VXNET_CHIP_DY = 73,
    VXNET_CHIP_AJ = 76,
    VXNET_CHIP_HTL = 77,
};

// Methods of vxnet_get_cgi_command.
enum {
    VXNET_METHOD_GET = 0,
    VXNET_METHOD_POST = 1,
};

// The connect block: 1748 bytes, packed, little-endian; text fields are
// NUL-terminated within their size. The camera object fills one and hands it
// to vxnet_connect; vxnet_get_camera returns the session's copy in the same
// layout. Offsets are fixed: the camera library reads fields by them.
#pragma pack(push, 1)
typedef struct STConnectInfo {
    int32_t nChipType;            //    0 camera family, filled by the session
    char szHost[256];             //    4 host name or address
    int32_t nHttpPort;            //  260
    int32_t nMediaPort;           //  264 RTSP port
    int32_t nReserved0;           //  268
    char szUser[64];              //  272
    char szPassword[64];          //  336
    char szUserEncoded[256];      //  400 user, percent-encoded
    char szPasswordEncoded[256];  //  656 password, percent-encoded
    int32_t nChannel;             //  912 1-3 add "/ch=N" to the stream path
    int32_t nStream;              //  916 stream + 1 (1 main, 2 sub stream)
    int32_t nReserved1;           //  920
    char szP2PServer[256];        //  924
    char szP2PServer2[256];       // 1180
    int32_t nP2PServerPort;       // 1436
    char szP2PId[32];             // 1440
    int32_t nP2PServerFlag;       // 1472 0/1
    int32_t nUseIP;               // 1476 1 = the session reached the camera by its address
    int32_t nLive;                // 1480 live flag of the camera object
    int32_t nIsP2P;               // 1484 1 for P2P id entries
    char szRtspUrl[260];          // 1488 whole stream URL of an RTSP URL entry
} STConnectInfo;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(STConnectInfo) == 1748, "connect block size");
static_assert(offsetof(STConnectInfo, szHost) == 4, "connect block layout");
static_assert(offsetof(STConnectInfo, nHttpPort) == 260, "connect block layout");
static_assert(offsetof(STConnectInfo, nMediaPort) == 264, "connect block layout");
static_assert(offsetof(STConnectInfo, nReserved0) == 268, "connect block layout");
static_assert(offsetof(STConnectInfo, szUser) == 272, "connect block layout");
static_assert(offsetof(STConnectInfo, szPassword) == 336, "connect block layout");
static_assert(offsetof(STConnectInfo, szUserEncoded) == 400, "connect block layout");
static_assert(offsetof(STConnectInfo, szPasswordEncoded) == 656, "connect block layout");
static_assert(offsetof(STConnectInfo, nChannel) == 912, "connect block layout");
static_assert(offsetof(STConnectInfo, nStream) == 916, "connect block layout");
static_assert(offsetof(STConnectInfo, nReserved1) == 920, "connect block layout");
static_assert(offsetof(STConnectInfo, szP2PServer) == 924, "connect block layout");
static_assert(offsetof(STConnectInfo, szP2PServer2) == 1180, "connect block layout");
static_assert(offsetof(STConnectInfo, nP2PServerPort) == 1436, "connect block layout");
static_assert(offsetof(STConnectInfo, szP2PId) == 1440, "connect block layout");
static_assert(offsetof(STConnectInfo, nP2PServerFlag) == 1472, "connect block layout");
static_assert(offsetof(STConnectInfo, nUseIP) == 1476, "connect block layout");
static_assert(offsetof(STConnectInfo, nLive) == 1480, "connect block layout");
static_assert(offsetof(STConnectInfo, nIsP2P) == 1484, "connect block layout");
static_assert(offsetof(STConnectInfo, szRtspUrl) == 1488, "connect block layout");
#else
_Static_assert(sizeof(STConnectInfo) == 1748, "connect block size");
_Static_assert(offsetof(STConnectInfo, szRtspUrl) == 1488, "connect block layout");
#endif

// A session. Opaque, pointer-sized; 0 (NULL) means none. It is an id that
// is never given out twice, not an address: a call with a handle that was
// disconnected, or was never ours, fails with VXNET_ERR_BAD_ARG.
typedef struct vxnet_session* VXNET_HANDLE;

// Stream callbacks. Track and data: see vxstream.h. Error: code is
// VXNET_ERR_STREAM_END when the camera ended the stream, VXNET_ERR_STREAM (or
// VXNET_ERR_TIMEOUT when it went silent) on a read error; called at most once
// per vxnet_open_stream, and never for a stream closed by vxnet_close_stream.
typedef vxstream_track_func vxnet_track_callback;
typedef vxstream_data_func vxnet_stream_callback;
typedef void (*vxnet_error_callback)(void* user, int code);

// Starts libcurl and FFmpeg's network layer, routes FFmpeg's log into vx_log.
// Call once before any other function; vxnet_deinit undoes it.
int vxnet_init(void);
int vxnet_deinit(void);

// Opens a session for the camera the block describes and finds its family
// (chip type at offset 0 of the session's copy). *handle is 0 on failure.
int vxnet_connect(const STConnectInfo* info, VXNET_HANDLE* handle);
// vxnet_connect that the caller can call off: while *cancel is non-zero (it
// is read atomically, so another thread may set it at any time) the probe
// stops and the call returns VXNET_ERR_TIMEOUT within about 100 ms, with no
// session. cancel may be NULL; it is not read after the call returns.
int vxnet_connect_ex(const STConnectInfo* info, VXNET_HANDLE* handle, const int* cancel);
// The session's own block. Valid until vxnet_disconnect.
const STConnectInfo* vxnet_get_camera(VXNET_HANDLE handle);
// 0 while the session is alive; the last failure's code after a stream error
// or a request that got no answer (cleared by the next answered request).
int vxnet_get_status(VXNET_HANDLE handle);

// Interrupts the session's calls that wait on the camera, from any thread.
// While on is non-zero, every such call in flight (vxnet_get_cgi_command,
// vxnet_download_file, vxnet_open_stream) returns VXNET_ERR_TIMEOUT within
// about 100 ms, and so does every new one at once, until
// vxnet_interrupt(handle, 0). A stream already playing is not touched (end it
// with vxnet_close_stream), nor is vxnet_get_status: an interrupted call says
// nothing about the camera. Meant for a camera object that stops or goes
// away while one of its threads waits on a slow camera.
int vxnet_interrupt(VXNET_HANDLE handle, int on);

// Sends the request path exactly as given (it must begin with '/' and hold no
// blank or control character) with the block's user and password. method is
// VXNET_METHOD_GET or VXNET_METHOD_POST (the path is the request target; the
// body is empty). On 0 *output holds the whole reply text, NUL-terminated:
// the final status line, the final headers, an empty line and the decoded
// body. Any HTTP status is a 0 result: the caller reads it from the text.
// *output is NULL on failure. Either way release it with vxnet_free_cgi_output.
int vxnet_get_cgi_command(VXNET_HANDLE handle, const char* path, char** output, int method, int timeout_ms);
void vxnet_free_cgi_output(char** output);

// A copy of text (a request path, URL or reply) that is safe to log: the
// values of password-like parameters, variable lines and attributes, URL
// credentials and every occurrence of the given secrets (nsecrets texts;
// longer ones first, shorter than 3 characters ignored) become "***".
// On 0 *output holds the copy; release it with vxnet_free_cgi_output.
int vxnet_redact_text(const char* text, const char* const* secrets, int nsecrets, char** output);

// Fetches remote_path into local_path. The bytes go to a temporary file in the
// same folder, renamed over local_path only once the whole body has arrived
// with a 2xx status; on any failure no file is left. timeout_ms bounds the
// connection and any stall of the transfer, not its whole length.
int vxnet_download_file(VXNET_HANDLE handle, const char* remote_path, const char* local_path, int timeout_ms);

// The progress of a download: the bytes of the file received so far and the
// file's whole size (-1 while the camera has not told it). A non-zero result
// calls the download off.
typedef int (*vxnet_progress_callback)(void* user, int64_t received, int64_t total);
// vxnet_download_file that reports its progress on the calling thread: once
// as it starts, as bytes arrive (at most about ten times a second), at least
// once a second while the camera is silent, and once the whole file is in.
// A callback that answers non-zero ends the call with VXNET_ERR_CANCELLED
// within about a tenth of a second, and no file is left. cb may be NULL.
int vxnet_download_file_progress(VXNET_HANDLE handle, const char* remote_path, const char* local_path, int timeout_ms,
                                 vxnet_progress_callback cb, void* user);

// What a bounded download must be: at least min_bytes of body (else
// VXNET_ERR_SHORT) and at most max_bytes (-1: no bound; past it the transfer
// is cut at once with VXNET_ERR_TOO_LARGE). no_replace non-zero: a file that
// appeared under local_path meanwhile is kept and the download fails with
// VXNET_ERR_FILE instead of replacing it.
typedef struct vxnet_download_bounds {
    int64_t min_bytes;
    int64_t max_bytes;
    int no_replace;
} vxnet_download_bounds;
// vxnet_download_file_progress within bounds (NULL: none). Either way the
// name local_path appears only once the whole file is in.
int vxnet_download_file_bounded(VXNET_HANDLE handle, const char* remote_path, const char* local_path, int timeout_ms,
                                const vxnet_download_bounds* bounds, vxnet_progress_callback cb, void* user);
// A download's temporary file is the target's name with ".part-" and eight
// hexadecimal digits behind it, locked while its download runs. Removes
// those in folder that no download holds (left by a process that was
// killed); the number removed, or VXNET_ERR_BAD_ARG / VXNET_ERR_FILE.
int vxnet_remove_stale_parts(const char* folder);

// Set the callbacks before vxnet_open_stream; a running stream keeps the ones
// it started with.
int vxnet_set_stream_track_callback(VXNET_HANDLE handle, vxnet_track_callback cb, void* user);
int vxnet_set_stream_callback(VXNET_HANDLE handle, vxnet_stream_callback cb, void* user);
int vxnet_set_stream_error_callback(VXNET_HANDLE handle, vxnet_error_callback cb, void* user);

// Opens the camera's RTSP stream (over TCP) on a reader thread and returns
// once the camera has set the stream up and plays (0), or has refused or
// failed to. Tracks, then packets follow on the reader thread; a stream whose
// tracks cannot be made out from its first packets ends through the error
// callback.
int vxnet_open_stream(VXNET_HANDLE handle);
// Stops the reader and waits for it; no callback runs once it returns. Must
// not be called from a stream callback (VXNET_ERR_BUSY).
int vxnet_close_stream(VXNET_HANDLE handle);

// Bits per second received over the last second; 0 without a stream.
float vxnet_get_bitrate(VXNET_HANDLE handle);
// Asks for a key frame. RTSP gives no standard way to ask; the player starts
// recordings at the last key frame it holds, so this only checks that a
// stream runs: 0 with a running stream.
int vxnet_force_key_frame(VXNET_HANDLE handle);

// Closes the stream if one runs and frees the session. Calls in flight on
// other threads are interrupted (VXNET_ERR_TIMEOUT) and waited for first. The
// handle is unknown afterwards: any call with it fails with VXNET_ERR_BAD_ARG.
// Not from a stream callback (VXNET_ERR_BUSY).
int vxnet_disconnect(VXNET_HANDLE handle);

#ifdef __cplusplus
}
#endif

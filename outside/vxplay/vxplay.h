#pragma once
// The media player library: decodes and shows a camera's stream, records it
// into fragmented MP4 files, takes PNG snapshots, plays files and URLs, plays
// sound files and encodes talk audio from the microphone.
//
// Plain C. Results are int, 0 = success, a negative VXPLAY_ERR_ value
// otherwise, unless a function says otherwise. Nothing throws: out of memory
// is VXPLAY_ERR_NOMEM. Every function may be called
// from any thread; a call on a destroyed or unknown instance fails with
// VXPLAY_ERR_ARG. Callbacks run on the library's threads or on the thread
// that feeds the stream (vxplay_input_stream); none runs after
// vxplay_destroy_instance (or vxplay_talk_stop) has returned.

#include <stdint.h>

#include "outside/vxnet/vxstream.h"

#ifdef __cplusplus
extern "C" {
#endif

// The talk callback keeps the calling convention of the 32-bit interface it
// stands in for; on other targets there is only one convention.
#if defined(__i386__)
#define VXPLAY_STDCALL __attribute__((stdcall))
#else
#define VXPLAY_STDCALL
#endif

enum {
    VXPLAY_OK = 0,
    VXPLAY_ERR_ARG = -1,     // bad argument or unknown instance
    VXPLAY_ERR_STATE = -2,   // not possible in the instance's state
    VXPLAY_ERR_EXISTS = -3,  // the target file exists and is left alone
    VXPLAY_ERR_IO = -4,      // a file could not be opened, read or written
    VXPLAY_ERR_CODEC = -5,   // no decoder or encoder for the media
    VXPLAY_ERR_DEVICE = -6,  // no sound device
    VXPLAY_ERR_NOMEM = -7,
    VXPLAY_ERR_NO_PICTURE = -8,  // the stream ended before a picture or key frame came
    VXPLAY_ERR_NO_SPACE = -9,    // the file's disk is full (or its quota spent)
};

// Event codes of the event callback; value is 0 unless said.
enum {
    VXPLAY_EVENT_FILE_LENGTH = 1025,     // value: length of the opened file in microseconds;
                                         // again when a source that did not tell it plays past it
    VXPLAY_EVENT_FILE_POSITION = 1026,   // value: play position in microseconds, about once a second
    VXPLAY_EVENT_FILE_STOPPED = 1027,    // playback of a file stopped before its end
    VXPLAY_EVENT_FILE_END = 1028,        // the file played to its end
    VXPLAY_EVENT_FILE_FAILED = 1029,     // reading or decoding the file failed
    VXPLAY_EVENT_STREAM_FAILED = 1049,   // the live stream cannot be decoded (no decoder)
    VXPLAY_EVENT_STREAM_STOPPED = 1051,  // the twins of 1027 and 1028: hosts treat both
    VXPLAY_EVENT_STREAM_END = 1056,      // alike; this player raises the 1027 and 1028 forms
    VXPLAY_EVENT_VOUT = 1057,            // the first picture since vxplay_play_start was shown
};

// Talk codecs of vxplay_talk_start: 8 kHz mono, 20 ms blocks.
enum {
    VXPLAY_TALK_G711A = 0,  // 160 bytes a block
    VXPLAY_TALK_G726 = 1,   // 16 kbit/s, 40 bytes a block
    VXPLAY_TALK_G711U = 2,  // 160 bytes a block
};

typedef struct vxplay_instance* vxplay_inst;
typedef struct vxplay_talk_session* vxplay_talk;

// decode: (user, 0, 0) when the first picture since vxplay_play_start is shown.
typedef void (*vxplay_decode_func)(void* user, int a, int b);
typedef void (*vxplay_event_func)(void* user, int code, int64_t value);
// record and snapshot: result 0 = success, else a VXPLAY_ERR_ value; path is
// the file's path, valid only during the call.
typedef void (*vxplay_result_func)(void* user, int result, const char* path);
// talk: one encoded block; time is ms since the talk started (the first
// block's start is 0). The result is not used.
typedef int(VXPLAY_STDCALL* vxplay_talk_send_func)(const uint8_t* block, int length, int64_t time, void* user);

// vxplay_init fixes the process's threshold for serving allocations by
// mmap (see vxplay.cpp); call it before the threads that record start.
int vxplay_init(void);
int vxplay_deinit(void);

// display: 1 = a viewer (decodes, may render into a window), 0 = a recorder
// that never decodes except for a snapshot. prerecord_ms: how much of the
// stream before vxplay_record_start (flag 1) the file begins with.
int vxplay_create_instance(vxplay_inst* inst, int display, int prerecord_ms);
int vxplay_destroy_instance(vxplay_inst inst);

// hwnd: the window the pictures are drawn into (HWND), NULL for none.
int vxplay_set_hwnd(vxplay_inst inst, int reserved, void* hwnd);
int vxplay_play_start(vxplay_inst inst);
int vxplay_play_stop(vxplay_inst inst);
int vxplay_audio_set_enable(vxplay_inst inst, int enable);
int vxplay_set_decode_callback(vxplay_inst inst, vxplay_decode_func func, void* user);
int vxplay_set_event_callback(vxplay_inst inst, vxplay_event_func func, void* user);

// The stream's tracks and packets, exactly as the transport's callbacks give them.
int vxplay_init_track(vxplay_inst inst, const vxstream_track* track);
int vxplay_input_stream(vxplay_inst inst, void* user, int stream_index, int media_type, const uint8_t* data, int size,
                        int64_t pts, int64_t dts, int flags);

// File playback: a local path or a URL libavformat can open. Lengths and
// positions are 64-bit microseconds (FFmpeg's own time base), here and in
// events 1025/1026: a host passes them on unchanged, so no step narrows a
// long file's times. The length is known as soon as vxplay_file_open returns
// (0 for a source that does not tell it up front).
int vxplay_file_set(vxplay_inst inst, const char* path);
int vxplay_file_open(vxplay_inst inst);
int vxplay_file_close(vxplay_inst inst);
int vxplay_file_pause(vxplay_inst inst);
int vxplay_file_resume(vxplay_inst inst);
int64_t vxplay_file_get_length(vxplay_inst inst);    // -1 when no file is open
int64_t vxplay_file_get_position(vxplay_inst inst);  // -1 when no file is open
int vxplay_file_set_position(vxplay_inst inst, int64_t position_us);
// From any thread, also while another thread waits in vxplay_file_open: while
// on is non-zero, an open in flight fails within about 100 ms and every new
// open fails at once (VXPLAY_ERR_IO), until called with 0; a file already
// playing goes on. Meant for a host that goes away while a remote file hangs.
int vxplay_file_interrupt(vxplay_inst inst, int on);

// flag 1: the file begins with the pre-record, or, when it continues a
// recording closed cleanly on this stream whose last group of pictures is
// still in the pre-record, with that group (segments overlap by one group of
// pictures at most); 0: with the latest key frame.
// An existing file is never replaced: the start fails with VXPLAY_ERR_EXISTS.
// func is called once when the recording ends: 0 after a clean close, an
// error when writing failed (the file then holds what was written).
int vxplay_record_start(vxplay_inst inst, const char* path, int flag, vxplay_result_func func, void* user);
// vxplay_record_start that never waits for the disk: the file is made by the
// thread that brings the stream's next packet (or by vxplay_record_stop when
// none came first). It answers only VXPLAY_ERR_ARG or VXPLAY_ERR_STATE; a
// file that cannot be made (it exists, its folder is gone, the disk is full)
// ends the recording through func with that error, as a failed write does.
int vxplay_record_request(vxplay_inst inst, const char* path, int flag, vxplay_result_func func, void* user);
// 1 from a start until its stop or until its file failed, else 0.
int vxplay_record_status(vxplay_inst inst);
int vxplay_record_stop(vxplay_inst inst);
// Counts since the instance was made: packets that arrived while a file was
// open and belong in it (from its first picture on, of the tracks it holds),
// and how many of them went into it. Equal when no packet was lost.
int vxplay_record_counts(vxplay_inst inst, int64_t* received, int64_t* recorded);

// aspect: 0.0 fills the window; 1.0 keeps the picture's own proportions
// (exact fit); any other positive value is the width/height ratio to keep.
int vxplay_set_aspect_ratio(vxplay_inst inst, float aspect);
int vxplay_set_transform(vxplay_inst inst, int transform);         // bit 0 mirror, bit 1 flip
int vxplay_set_osd(vxplay_inst inst, int slot, const char* text);  // slot 0 sets, -1 clears
int vxplay_display_last(vxplay_inst inst);

// Writes the last decoded picture (or, without one, the next) as PNG; func
// reports the result. An existing file is left alone (VXPLAY_ERR_EXISTS).
int vxplay_snapshot(vxplay_inst inst, const char* path, vxplay_result_func func, void* user);

// flag 1: returns at once and plays in the background; 0: returns at the end.
int vxplay_play_wav(const char* path, int flag);

// Returns NULL on failure: unknown codec or no microphone.
vxplay_talk vxplay_talk_start(int codec, vxplay_talk_send_func func, void* user);
int vxplay_talk_stop(vxplay_talk talk);

#ifdef __cplusplus
}
#endif

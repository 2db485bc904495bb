#pragma once
// What a camera stream hands to its consumer: one track description per
// elementary stream, then one packet at a time. The transport (vxnet) fills
// these; the player (vxplay) takes them unchanged from the camera object.
//
// Plain C and free of any FFmpeg header, so both sides and the camera library
// can include it. Codec ids are FFmpeg's AVCodecID values, media types its
// AVMediaType values, so neither side has to translate.

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Media types (the AVMediaType values).
enum {
    VXSTREAM_MEDIA_VIDEO = 0,
    VXSTREAM_MEDIA_AUDIO = 1,
};

// Packet flag bits (bit 0 is AV_PKT_FLAG_KEY's value). Other bits are zero.
enum {
    VXSTREAM_FLAG_KEY = 0x0001,
};

// A timestamp the camera did not give (AV_NOPTS_VALUE).
#define VXSTREAM_NOPTS ((int64_t)UINT64_C(0x8000000000000000))

// One elementary stream of a camera's media stream.
//
// Lifetime: the structure and the extradata it points to are valid only during
// the track callback; a consumer that needs them later copies them.
//
// Order: the track callback is called once for every track, in the order of
// stream_index (0 .. track_count-1), all before the first packet of the
// stream. A consumer that wants the full set waits for
// stream_index == track_count - 1.
typedef struct vxstream_track {
    int stream_index;   // 0-based, the same value that packets carry
    int track_count;    // number of tracks this stream announces
    int media_type;     // VXSTREAM_MEDIA_VIDEO or VXSTREAM_MEDIA_AUDIO
    int codec_id;       // AVCodecID (AV_CODEC_ID_H264, AV_CODEC_ID_PCM_ALAW, ...)
    int time_base_num;  // unit of this track's pts and dts, in seconds:
    int time_base_den;  //   time_base_num / time_base_den (90 kHz video: 1/90000)
    // video; 0 for audio or when not known yet
    int width;
    int height;
    int frame_rate_num;  // nominal frame rate, 0/0 when the camera does not say
    int frame_rate_den;
    // audio; 0 for video
    int sample_rate;
    int channels;
    int bits_per_coded_sample;  // G.726: 2..5 bits per sample; 0 when not relevant
    int block_align;
    int64_t bit_rate;  // nominal bits per second, 0 when not known
    // codec configuration (H.264: SPS/PPS in Annex-B form; AAC: AudioSpecificConfig);
    // NULL and 0 when the codec needs none
    const uint8_t* extradata;
    int extradata_size;
} vxstream_track;

// The data callback's seven values, in this order, passed unchanged from the
// transport's data callback to the player's vxplay_input_stream:
//   int            stream_index  the packet's track (vxstream_track.stream_index)
//   int            media_type    VXSTREAM_MEDIA_VIDEO or VXSTREAM_MEDIA_AUDIO
//   const uint8_t* data          the packet's bytes (H.264 in Annex-B form with
//                                start codes, as the RTSP depacketiser gives them)
//   int            size          number of bytes at data (> 0)
//   int64_t        pts           presentation time in the track's time base
//   int64_t        dts           decoding time in the track's time base;
//                                either may be VXSTREAM_NOPTS. Values are the
//                                camera's own clock: they do not start at 0.
//   int            flags         VXSTREAM_FLAG_KEY for a key frame
// data is valid only during the callback.

// The transport's callbacks, made on its own reader thread (see vxnet.h).
typedef void (*vxstream_track_func)(void* user, const vxstream_track* track);
typedef void (*vxstream_data_func)(void* user, int stream_index, int media_type, const uint8_t* data, int size,
                                   int64_t pts, int64_t dts, int flags);

#ifdef __cplusplus
}
#endif

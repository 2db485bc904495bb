#pragma once
// Plays a sound file (WAV or anything libavformat reads) on the sound output,
// in the caller's thread or in the background.

#include <string>

namespace vxplay {

class SoundPlayer {
public:
    // VXPLAY_OK; VXPLAY_ERR_IO for a file that cannot be opened,
    // VXPLAY_ERR_CODEC for one without sound, VXPLAY_ERR_DEVICE without a
    // sound device. async: checks the file and the device, then returns.
    static int play(const std::string& path, bool async);
    // Ends every background sound and waits for its thread.
    static void stopAll();
};

}  // namespace vxplay

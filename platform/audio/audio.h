#pragma once
// The platform's sound in and out.
#include "platform/audio/AudioInput.h"
#include "platform/audio/AudioOutput.h"

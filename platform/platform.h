#pragma once
// Everything of the platform layer that the system's code is written against.
#include "platform/base/base.h"
#include "platform/kernel/kernel.h"
#include "platform/audio/audio.h"
#include "platform/ui/ui.h"
#include "platform/gdi/gdi.h"

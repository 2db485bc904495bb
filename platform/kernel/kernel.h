#pragma once
#include "platform/kernel/crt_number.h"
#include "platform/kernel/profile.h"

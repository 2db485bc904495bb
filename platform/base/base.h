#pragma once
#include "platform/base/types.h"

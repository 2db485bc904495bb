#pragma once
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

#pragma once
// The raw resource functions (FindResource and kin) belong to the kernel
// layer; this name stays for code that looks for them beside the pictures.
#include "platform/kernel/resources.h"

#pragma once
// The whole vx_ interface of the utility library.
#include "utility/vx_base64.h"
#include "utility/vx_cipher.h"
#include "utility/vx_event.h"
#include "utility/vx_log.h"
#include "utility/vx_mutex.h"
#include "utility/vx_result.h"
#include "utility/vx_thread.h"
#include "utility/vx_time.h"
#include "utility/vx_url.h"

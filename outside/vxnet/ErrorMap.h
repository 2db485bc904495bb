#pragma once
// The one place where each foreign error space becomes a vxnet result code.

#include <curl/curl.h>

namespace vxnet {

// libcurl's transfer result. too_large tells a write refused by our own size
// cap apart from a failing disk, both of which curl reports as a write error.
int errorFromCurl(CURLcode code, bool too_large);
// An FFmpeg AVERROR value (negative); 0 and positive values are success.
int errorFromAv(int averror);
// An HTTP status of a reply that is about to be used as data (a download or
// a family probe): 2xx is success, 401/403 a refused login, others failure.
int errorFromHttpStatus(long status);

// Short English text of a vxnet result code for log lines.
const char* errorText(int code);

}  // namespace vxnet

#include "outside/vxnet/ErrorMap.h"

#include "outside/vxnet/vxnet.h"

extern "C" {
#include <libavutil/error.h>
}

namespace vxnet {

int errorFromCurl(CURLcode code, bool too_large)
{
    switch (code) {
    case CURLE_OK:
        return VXNET_OK;
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_ABORTED_BY_CALLBACK:  // only the session's interrupt aborts
        return VXNET_ERR_TIMEOUT;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        return VXNET_ERR_CONNECT;
    case CURLE_URL_MALFORMAT:
        return VXNET_ERR_BAD_ARG;
    case CURLE_FILESIZE_EXCEEDED:
        return VXNET_ERR_TOO_LARGE;
    case CURLE_WRITE_ERROR:
        return too_large ? VXNET_ERR_TOO_LARGE : VXNET_ERR_FILE;
    case CURLE_OUT_OF_MEMORY:
        return VXNET_ERR_NO_MEMORY;
    case CURLE_LOGIN_DENIED:
        return VXNET_ERR_AUTH;
    case CURLE_PARTIAL_FILE:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    default:
        // A reply cut off midway (partial file, broken chunking) lands here
        // as well: it is the camera's fault, not ours.
        return VXNET_ERR_PROTOCOL;
    }
}

int errorFromAv(int averror)
{
    if (averror >= 0)
        return VXNET_OK;
    switch (averror) {
    case AVERROR_EOF:
        return VXNET_ERR_STREAM_END;
    case AVERROR(ETIMEDOUT):
        return VXNET_ERR_TIMEOUT;
    case AVERROR(ECONNREFUSED):
    case AVERROR(EHOSTUNREACH):
    case AVERROR(ENETUNREACH):
        return VXNET_ERR_CONNECT;
    case AVERROR(ENOMEM):
        return VXNET_ERR_NO_MEMORY;
    case AVERROR_HTTP_UNAUTHORIZED:
    case AVERROR_HTTP_FORBIDDEN:
        return VXNET_ERR_AUTH;
    case AVERROR(EINVAL):
        return VXNET_ERR_BAD_ARG;
    default:
        return VXNET_ERR_STREAM;
    }
}

int errorFromHttpStatus(long status)
{
    if (status >= 200 && status < 300)
        return VXNET_OK;
    if (status == 401 || status == 403)
        return VXNET_ERR_AUTH;
    if (status == 0)
        return VXNET_ERR_PROTOCOL;
    return VXNET_ERR_HTTP;
}

const char* errorText(int code)
{
    switch (code) {
    case VXNET_OK:
        return "ok";
    case VXNET_ERR_BAD_ARG:
        return "bad argument";
    case VXNET_ERR_CONNECT:
        return "camera not reachable";
    case VXNET_ERR_TIMEOUT:
        return "timed out";
    case VXNET_ERR_AUTH:
        return "login refused";
    case VXNET_ERR_TOO_LARGE:
        return "reply too large";
    case VXNET_ERR_FILE:
        return "local file error";
    case VXNET_ERR_UNSUPPORTED:
        return "not supported";
    case VXNET_ERR_STREAM:
        return "stream error";
    case VXNET_ERR_STREAM_END:
        return "end of stream";
    case VXNET_ERR_BUSY:
        return "busy";
    case VXNET_ERR_NO_MEMORY:
        return "out of memory";
    case VXNET_ERR_HTTP:
        return "HTTP error status";
    case VXNET_ERR_PROTOCOL:
        return "malformed reply";
    case VXNET_ERR_CANCELLED:
        return "called off";
    case VXNET_ERR_SHORT:
        return "body shorter than bound";
    default:
        return "unknown error";
    }
}

}  // namespace vxnet

#pragma once
// What the parts of the video surface share: the camera window messages
// that it receives and sends.

#include "camera/session/CameraMessages.h"

namespace statebar {

// Notices to the camera object's parent (wParam the camera index).
constexpr UINT kClick = UM_VX_CAMERA_CLICK;
constexpr UINT kFullscreen = UM_VX_CAMERA_FULLSCREEN;
constexpr UINT kExitFullscreen = UM_VX_CAMERA_EXIT_FULLSCREEN;
constexpr UINT kProperties = UM_VX_CAMERA_PROPERTIES;
constexpr UINT kShowBitrate = UM_VX_CAMERA_SHOW_BITRATE;
constexpr UINT kHideBitrate = UM_VX_CAMERA_HIDE_BITRATE;
constexpr UINT kFlipVertical = UM_VX_CAMERA_FLIP_VERTICAL;
constexpr UINT kFlipHorizontal = UM_VX_CAMERA_FLIP_HORIZONTAL;
constexpr UINT kExactFit = UM_VX_CAMERA_EXACT_FIT;
constexpr UINT kFullFit = UM_VX_CAMERA_FULL_FIT;

// Forwarded camera codes the surface follows (wParam: index << 16 | code).
constexpr UINT kConnecting = UM_VX_CAMERA_CONNECTING;
constexpr UINT kConnectFailed = UM_VX_CAMERA_CONNECT_FAILED;
constexpr UINT kVideoStarting = UM_VX_CAMERA_VIDEO_STARTING;
constexpr UINT kVideoFailed = UM_VX_CAMERA_VIDEO_FAILED;
constexpr UINT kVideoStopped = UM_VX_CAMERA_VIDEO_STOPPED;
constexpr UINT kDisconnecting = UM_VX_CAMERA_DISCONNECTING;
constexpr UINT kDisconnected = UM_VX_CAMERA_DISCONNECTED;
constexpr UINT kVideoOut = UM_VX_CAMERA_VIDEO_VOUT;
constexpr UINT kFirstCode = kConnecting;
constexpr UINT kLastCode = kVideoOut;

}  // namespace statebar

#pragma once
// What the parts of the video surface share: the camera window messages
// that it receives and sends.

#include "platform/platform.h"

namespace statebar {

// Notices to the camera object's parent (wParam the camera index).
constexpr UINT kClick = WM_USER + 2;
constexpr UINT kFullscreen = WM_USER + 3;
constexpr UINT kExitFullscreen = WM_USER + 4;
constexpr UINT kProperties = WM_USER + 10;
constexpr UINT kShowBitrate = WM_USER + 11;
constexpr UINT kHideBitrate = WM_USER + 12;
constexpr UINT kFlipVertical = WM_USER + 13;
constexpr UINT kFlipHorizontal = WM_USER + 14;
constexpr UINT kExactFit = WM_USER + 15;
constexpr UINT kFullFit = WM_USER + 16;

// Forwarded camera codes the surface follows (wParam: index << 16 | code).
constexpr UINT kConnecting = WM_USER + 21;
constexpr UINT kConnectFailed = WM_USER + 22;
constexpr UINT kVideoStarting = WM_USER + 24;
constexpr UINT kVideoFailed = WM_USER + 25;
constexpr UINT kVideoStopped = WM_USER + 27;
constexpr UINT kDisconnecting = WM_USER + 29;
constexpr UINT kDisconnected = WM_USER + 30;
constexpr UINT kVideoOut = WM_USER + 33;
constexpr UINT kFirstCode = kConnecting;
constexpr UINT kLastCode = kVideoOut;

}  // namespace statebar

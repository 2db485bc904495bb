#pragma once
// The registered window messages with which a second start of the program
// forwards its command line to the running one. Every source unit that
// includes this header registers all four names during its static
// initialisation; the same name always yields the same id.

#include "platform/platform.h"

#define VXKST_INSTANCE_ID "83C65C1E_9B89_48B1_BA10_7E64BDA10C08"

inline constexpr const char* kMsgShowName = VXKST_INSTANCE_ID "_MSG";
inline constexpr const char* kMsgExitName = VXKST_INSTANCE_ID "_MSG_EXIT";
inline constexpr const char* kMsgStopRecName = VXKST_INSTANCE_ID "_MSG_STOP_REC";
inline constexpr const char* kMsgStartRecName = VXKST_INSTANCE_ID "_MSG_START_REC";

namespace {

const UINT UM_VXKST_SHOW = RegisterWindowMessageA(kMsgShowName);
const UINT UM_VXKST_EXIT = RegisterWindowMessageA(kMsgExitName);
const UINT UM_VXKST_STOP_REC = RegisterWindowMessageA(kMsgStopRecName);
const UINT UM_VXKST_START_REC = RegisterWindowMessageA(kMsgStartRecName);

}  // namespace

// The message a second start sends for its command line: "-exit" first,
// then "-stop_rec", then "-start_rec", each found anywhere in the text and
// case-sensitive; none of them: the show message.
const char* SelectForwardedMessage(const char* commandLine);

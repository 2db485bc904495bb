#pragma once
// The one place where FFmpeg's error space is turned into text and into the
// library's results.

#include <string>

namespace vxplay {

std::string avErrorText(int averror);
// VXPLAY_ERR_ value for an AVERROR.
int resultFromAvError(int averror);

}  // namespace vxplay

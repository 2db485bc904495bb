#pragma once
// What the camera list shows of a camera, decided without a window: the
// string ids and texts of its columns, and the list's column order (the
// status column last). Any thread.

#include <vector>

namespace camera_columns {

constexpr int kColumnCount = 8;

// Column 4: the camera type's string id.
unsigned TypeStringId(int type);
// Column 5: the channel number "1".."4" after the channel word.
const char* ChannelNumber(int channel);
// Column 6: the stream's string id.
unsigned StreamStringId(int stream);
// The header's order: the status column (0) moves to the end.
std::vector<int> RotatedOrder(int columns = kColumnCount);

}  // namespace camera_columns

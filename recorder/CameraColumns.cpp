#include "recorder/CameraColumns.h"

#include "resources/VXKSTRes/resource.h"

namespace camera_columns {

unsigned TypeStringId(int type)
{
    switch (type) {
    case 0:
        return IDS_TYPE_0;
    case 3:
        return IDS_TYPE_3;
    default:
        // 2 and anything unknown: the network camera that the add dialog makes.
        return IDS_TYPE_2;
    }
}

const char* ChannelNumber(int channel)
{
    static const char* const numbers[] = {"1", "2", "3", "4"};
    return channel >= 0 && channel <= 3 ? numbers[channel] : "1";
}

unsigned StreamStringId(int stream)
{
    switch (stream) {
    case 1:
        return IDS_STREAM_SUB;
    case 2:
        return IDS_STREAM_THIRD;
    default:
        return IDS_STREAM_MAIN;
    }
}

std::vector<int> RotatedOrder(int columns)
{
    std::vector<int> order;
    for (int i = 1; i < columns; ++i)
        order.push_back(i);
    if (columns > 0)
        order.push_back(0);
    return order;
}

}  // namespace camera_columns

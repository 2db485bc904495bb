#pragma once
// What a device-context handle stands for: the paint device it draws on while
// a window paints. The drawing layer grows this into its painter state.

#include "platform/base/types.h"

#include <QSize>

class QPaintDevice;

namespace vxgdi {

struct DcHandle {
    QPaintDevice* device = nullptr;  // null: draws nothing
    QSize size;
};

HDC CreateWindowDc(QPaintDevice* device, QSize size);
void ReleaseWindowDc(HDC hdc);
DcHandle* FromHdc(HDC hdc);

}  // namespace vxgdi

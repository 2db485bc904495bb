#include "platform/gdi/DcHandle_p.h"

namespace vxgdi {

HDC CreateWindowDc(QPaintDevice* device, QSize size)
{
    return reinterpret_cast<HDC>(new DcHandle{device, size});
}

void ReleaseWindowDc(HDC hdc)
{
    delete reinterpret_cast<DcHandle*>(hdc);
}

DcHandle* FromHdc(HDC hdc)
{
    return reinterpret_cast<DcHandle*>(hdc);
}

}  // namespace vxgdi

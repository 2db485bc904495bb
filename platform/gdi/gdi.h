#pragma once
// The drawing layer: device contexts, GDI objects, image lists, icons and
// the small image layer.
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CImageList.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"
#include "platform/gdi/gdiplus.h"
#include "platform/gdi/imagelist.h"
#include "platform/gdi/resource_data.h"
#include "platform/gdi/stream.h"
#include "platform/gdi/wingdi.h"

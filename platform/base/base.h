#pragma once
// The whole base layer: Windows types, text, geometry, collections, time.
#include "platform/base/types.h"
#include "platform/base/CString.h"
#include "platform/base/CSize.h"
#include "platform/base/CPoint.h"
#include "platform/base/CRect.h"
#include "platform/base/rect_api.h"
#include "platform/base/CArray.h"
#include "platform/base/CStringArray.h"
#include "platform/base/CPtrArray.h"

// Skin values: rectangles from [LOCATION], key colours from
// [BITMAPTRANSCOLOR], text colours and fonts, and the bitmaps of the
// resource library. The bitmaps belong to this object until FreeAll or
// FreeScheduleSkin.
#include "recorder/CGlobalInfo.h"

#include "resources/VXKSTRes/resource.h"

namespace {

void Free(HBITMAP& h)
{
    if (h) {
        DeleteObject(h);
        h = nullptr;
    }
}

void Free(STSkinElement& e)
{
    Free(e.hBmp1);
    Free(e.hBmp2);
    Free(e.hBmp3);
}

void Free(STSkinImage& e)
{
    Free(e.hBmp);
}

}  // namespace

HBITMAP CGlobalInfo::LoadSkinBitmap(UINT id)
{
    HINSTANCE module = m_hSkinModule ? m_hSkinModule : AfxGetResourceHandle();
    return LoadBitmapA(module, MAKEINTRESOURCE(id));
}

RECT CGlobalInfo::LoadRect(const CString& element)
{
    CRect r = m_iniSkin.GetProfileRect("LOCATION", element);
    return RECT{r.left, r.top, r.right, r.bottom};
}

void CGlobalInfo::LoadTransparency(const CString& element, COLORREF& colour, int& flag)
{
    flag = m_iniSkin.GetProfileStringA("BITMAPTRANSCOLOR", element, "").IsEmpty() ? 0 : 1;
    colour = m_iniSkin.GetProfileColor("BITMAPTRANSCOLOR", element, 0);
}

STSkinImage CGlobalInfo::LoadSkinImage(const CString& element, UINT id)
{
    STSkinImage e;
    e.hBmp = LoadSkinBitmap(id);
    e.rect = LoadRect(element);
    LoadTransparency(element, e.crTrans, e.bTrans);
    return e;
}

STSkinElement CGlobalInfo::LoadSkinButton2(const CString& element, UINT id1, UINT id2)
{
    STSkinElement e;
    e.hBmp1 = LoadSkinBitmap(id1);
    e.hBmp2 = LoadSkinBitmap(id2);
    e.rect = LoadRect(element);
    LoadTransparency(element, e.crTrans, e.bTrans);
    return e;
}

STSkinElement CGlobalInfo::LoadSkinButton3(const CString& element, UINT id1, UINT id2, UINT id3)
{
    STSkinElement e = LoadSkinButton2(element, id1, id2);
    e.hBmp3 = LoadSkinBitmap(id3);
    return e;
}

BOOL CGlobalInfo::LoadMainSkin()
{
    // Loading twice would leak the first set.
    FreeAll();
    m_rcAbout = LoadRect("aboutrect");
    m_rcCameraList = LoadRect("CameraList");
    m_skinCameraView = LoadSkinImage("CameraView", IDB_CAMERA_VIEW);
    m_skinMin = LoadSkinButton2("Min", IDB_MIN_DOWN, IDB_MIN);
    m_skinMax = LoadSkinButton2("Max", IDB_MAX, IDB_MAX);
    m_skinExit = LoadSkinButton2("Exit", IDB_EXIT_DOWN, IDB_EXIT);
    m_skinSysParam = LoadSkinButton3("SysParam", IDB_SYSPARAM_DOWN, IDB_SYSPARAM, IDB_SYSPARAM_DISABLED);
    m_skinSetupCamera = LoadSkinButton3("SetupCamera", IDB_SETUP_DOWN, IDB_SETUP, IDB_SETUP_DISABLED);
    m_skinRecSchedule = LoadSkinButton3("RecSchedule", IDB_SCHEDULE_DOWN, IDB_SCHEDULE, IDB_SCHEDULE_DISABLED);
    m_skinRecQuery = LoadSkinButton3("RecQuery", IDB_QUERY_DOWN, IDB_QUERY, IDB_QUERY_DISABLED);
    m_skinStartAll = LoadSkinButton3("StartAll", IDB_STARTALL_DOWN, IDB_STARTALL, IDB_STARTALL_DISABLED);
    m_skinStopAll = LoadSkinButton3("StopAll", IDB_STOPALL_DOWN, IDB_STOPALL, IDB_STOPALL_DISABLED);
    m_skinDeleteAll = LoadSkinButton3("DeleteAll", IDB_DELETEALL_DOWN, IDB_DELETEALL, IDB_DELETEALL_DISABLED);
    return TRUE;
}

BOOL CGlobalInfo::LoadScheduleSkin()
{
    FreeScheduleSkin();
    m_rcCamera = LoadRect("Camera");
    m_rcRecSavePath = LoadRect("RecSavePath");
    m_rcRecSaveDays = LoadRect("RecSaveDays");
    m_rcScheduleDetail = LoadRect("ScheduleDetail");
    m_skinRecScheduleMain = LoadSkinImage("RecScheduleMain", IDB_SCHEDULE_MAIN);
    m_skinOk = LoadSkinButton2("ok", IDB_OK_DOWN, IDB_OK);
    m_skinCancel = LoadSkinButton2("cancel", IDB_CANCEL_DOWN, IDB_CANCEL);
    m_skinSchExit = LoadSkinButton2("SchExit", IDB_EXIT_DOWN, IDB_EXIT);
    m_skinContinuous = LoadSkinImage("continuous", IDB_LEGEND_CONTINUOUS);
    m_skinMotion = LoadSkinImage("motion", IDB_LEGEND_MOTION);
    m_skinClear = LoadSkinImage("clear", IDB_LEGEND_CLEAR);
    m_skinRdContinuous = LoadSkinButton2("RdContinuous", IDB_RADIO_ON, IDB_RADIO_OFF);
    m_skinRdMotion = LoadSkinButton2("RdMotion", IDB_RADIO_ON, IDB_RADIO_OFF);
    m_skinRdClear = LoadSkinButton2("RdClear", IDB_RADIO_ON, IDB_RADIO_OFF);
    m_skinClearAll = LoadSkinButton2("ClearAll", IDB_CLEAR_ALL, IDB_CLEAR_ALL);
    m_skinChkEnableRec = LoadSkinButton2("ChkEnableRec", IDB_CHECK_ON, IDB_CHECK_OFF);
    m_skinChkApplyToAll = LoadSkinButton2("ChkApplyToAll", IDB_CHECK_ON, IDB_CHECK_OFF);
    m_skinSelectPath = LoadSkinButton2("SelectPath", IDB_SELECT_PATH, IDB_SELECT_PATH);
    m_txtFreeSpace.rect = LoadRect("FreeSpace");
    m_txtFreeSpace.crText = m_iniSkin.GetProfileColor("TEXTCOLOR", "FreeSpace", 0);
    m_txtFreeSpace.strFontName = m_iniSkin.GetProfileStringA("TEXTFONT", "FreeSpace_Name", "Arial");
    m_txtFreeSpace.nFontSize = m_iniSkin.GetProfileIntA("TEXTFONT", "FreeSpace_Size", 10);
    return TRUE;
}

BOOL CGlobalInfo::FreeScheduleSkin()
{
    Free(m_skinRecScheduleMain);
    Free(m_skinOk);
    Free(m_skinCancel);
    Free(m_skinSchExit);
    Free(m_skinContinuous);
    Free(m_skinMotion);
    Free(m_skinClear);
    Free(m_skinRdContinuous);
    Free(m_skinRdMotion);
    Free(m_skinRdClear);
    Free(m_skinClearAll);
    Free(m_skinChkEnableRec);
    Free(m_skinChkApplyToAll);
    Free(m_skinSelectPath);
    return TRUE;
}

BOOL CGlobalInfo::FreeAll()
{
    m_arrCameras.RemoveAll();
    Free(m_skinCameraView);
    Free(m_skinMin);
    Free(m_skinMax);
    Free(m_skinExit);
    Free(m_skinSysParam);
    Free(m_skinSetupCamera);
    Free(m_skinRecSchedule);
    Free(m_skinRecQuery);
    Free(m_skinStartAll);
    Free(m_skinStopAll);
    Free(m_skinDeleteAll);
    return TRUE;
}

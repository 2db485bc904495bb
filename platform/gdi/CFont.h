#pragma once
// A font: a face, a height in pixels (negative: the character height,
// positive: the cell height) and a style.

#include "platform/gdi/CGdiObject.h"

class CDC;

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT
    // A wrapper for a handle, kept until the GUI thread is idle again.
    static CFont* FromHandle(HFONT hFont);
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCSTR lpszFacename);
    BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
    // nPointSize in tenths of a point, at the screen's 96 dots per inch.
    BOOL CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC = nullptr);
    int GetLogFont(LOGFONT* pLogFont) const;
};

#pragma once
// A progress bar drawn from two pictures: the back picture for the whole bar
// and the fore picture cut to the position. GUI thread only; takes no locks.
//
// Exported whole: members keep their order.

#include "ui/controls/CMyPicture.h"

class AFX_EXT_CLASS CMyProgressCtrl : public CStatic {
    DECLARE_DYNAMIC(CMyProgressCtrl)

public:
    CMyProgressCtrl();
    ~CMyProgressCtrl() override;

    void SetBackImage(UINT id, const char* type, BOOL transparent, COLORREF key, BOOL nativeSize);
    void SetForeImage(UINT id, const char* type, BOOL transparent, COLORREF key);
    void SetRange(int a, int b);
    void GetRange(int& min, int& max);
    // 0 (and no change) for a position outside the range.
    int SetPos(int pos);
    int GetPos();
    // 0 (and no change) for a step of 0 or less.
    int SetStep(int step);
    // 0 when the position had to be held at the maximum, else 1.
    int OffsetPos(int delta);
    int StepIt();

    BOOL m_bBackNativeSize;
    int m_nMin;
    int m_nMax;
    int m_nStep;
    int m_nPos;
    RECT m_rcClient;
    float m_fFraction;
    CMyPicture m_picBack;
    CMyPicture m_picFore;

protected:
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // The filled part of the width as 0..1: an empty range fills nothing.
    float Fraction() const;
};

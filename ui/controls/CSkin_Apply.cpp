// Dressing controls from the skin's records.
#include "ui/controls/CSkin.h"

#include "ui/controls/CMyColorStatic.h"
#include "ui/controls/CMyPictureButton.h"
#include "ui/controls/CMyPictureStatic.h"
#include "utility/vx_log.h"

void CSkin::InitButton(CMyPictureButton* pButton, const char* name)
{
    const ST_SKIN_BUTTON* b = GetButton(name);
    if (!b) {
        vx_log(2, "cannot find skin for button %s", name ? name : "");
        return;
    }
    if (!pButton)
        return;
    pButton->SetTransparent(b->transparent, b->transparent_color);
    if (!pButton->SetImage(CString(b->image), CString(b->image_hot), CString(b->image_on), CString(b->image_off),
                           CString(b->image_disabled), FALSE)) {
        vx_log(2, "cannot load skin image for button %s, %s", name, b->image);
        return;
    }
    pButton->SetToolTipText(CString(b->tooltips), CString(b->tooltips_off));
    if (b->hand_cursor)
        pButton->SetHandCursor();
    pButton->MoveWindow(b->rect.left, b->rect.top, b->rect.width, b->rect.height, FALSE);
    vx_log(6, "set skin for button %s, %d-%d, %dx%d, %s", name, b->rect.left, b->rect.top, b->rect.width,
           b->rect.height, b->image);
    if (b->fit_image_size)
        pButton->SetFitImageSize();
    if (b->fit_transparent_region)
        pButton->SetFitTransparentRegion();
}

void CSkin::InitLabel(CMyColorStatic* pLabel, const char* name, const char* caption)
{
    const ST_SKIN_LABEL* l = GetLabel(name);
    if (!l || !pLabel) {
        vx_log(4, "CSkin: no label %s", name ? name : "");
        return;
    }
    pLabel->SetTextColor(l->color);
    const UINT align = l->align == 2 ? DT_RIGHT : l->align == 1 ? DT_CENTER : DT_LEFT;
    pLabel->SetTextFormat(align | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    pLabel->SetTextBold(l->bold);
    pLabel->SetTextFontName(CString(l->font_name));
    pLabel->SetTextFontSize(l->font_size);
    pLabel->SetHyperLink(l->underline);
    // A label without a tooltip text gets no tooltip window.
    if (l->tooltips[0])
        pLabel->SetToolTipText(CString(l->tooltips));
    pLabel->SetItalic(l->italic);
    pLabel->SetCaption(CString(caption ? caption : l->text), 0);
    pLabel->MoveWindow(l->rect.left, l->rect.top, l->rect.width, l->rect.height, FALSE);
}

void CSkin::InitLabel(CMyColorStatic* pLabel, const char* name)
{
    InitLabel(pLabel, name, nullptr);
}

void CSkin::InitPicture(CMyPicture* pPicture, const char* name)
{
    const ST_SKIN_LABEL* l = GetLabel(name);
    if (!l || !pPicture) {
        vx_log(4, "CSkin: no label %s for a picture", name ? name : "");
        return;
    }
    pPicture->SetTransparent(l->transparent, l->transparent_color);
    pPicture->SetImage(CString(l->image));
}

void CSkin::InitPictureStatic(CMyPictureStatic* pStatic, const char* name)
{
    const ST_SKIN_LABEL* l = GetLabel(name);
    if (!l || !pStatic) {
        vx_log(4, "CSkin: no label %s for a picture static", name ? name : "");
        return;
    }
    pStatic->SetTransparent(l->transparent, l->transparent_color);
    pStatic->SetImage(CString(l->image));
    if (l->tooltips[0])
        pStatic->SetToolTipText(CString(l->tooltips));
    if (l->hand_cursor)
        pStatic->SetHandCursor();
    pStatic->MoveWindow(l->rect.left, l->rect.top, l->rect.width, l->rect.height, FALSE);
}

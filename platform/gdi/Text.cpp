// Text: DrawText with its layout flags, TextOut, ExtTextOut and the text
// measurements, in the DC's font and colours. Text is UTF-8.
#include "platform/gdi/DcHandle_p.h"
#include "platform/gdi/GdiObject_p.h"

#include <QFontMetrics>

#include <cstring>

using namespace vxgdi;

namespace {

QFont FontOf(DcHandle* dc)
{
    FontObj* f = Font(dc->st.font);
    if (!f)
        f = Font(DefaultFont());
    QFont font = f ? f->font : QFont();
    if (dc->TargetIsMono())
        font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QString Text(LPCSTR text, int count)
{
    if (!text)
        return QString();
    size_t n = count < 0 ? std::strlen(text) : static_cast<size_t>(count);
    return QString::fromUtf8(text, static_cast<qsizetype>(n));
}

// One line of laid-out text and, when it shows a mnemonic, the character
// index to underline.
struct Line {
    QString text;
    int underline = -1;
};

// Strips the "&" prefixes: "&&" is a literal "&", "&x" underlines x.
Line StripPrefix(const QString& s, bool hide)
{
    Line out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) {
            ++i;
            if (s[i] != '&' && !hide && out.underline < 0)
                out.underline = static_cast<int>(out.text.size());
        } else if (s[i] == '&') {
            continue;
        }
        out.text += s[i];
    }
    return out;
}

QString ExpandTabs(const QString& s, const QFontMetrics& fm)
{
    if (!s.contains('\t'))
        return s;
    int tab = fm.averageCharWidth() * 8;
    QString out;
    for (QChar c : s) {
        if (c != '\t') {
            out += c;
            continue;
        }
        int w = fm.horizontalAdvance(out);
        int next = tab > 0 ? (w / tab + 1) * tab : w;
        do
            out += ' ';
        while (fm.horizontalAdvance(out) < next);
    }
    return out;
}

// "..." at the end, keeping as much of the text as fits.
QString EndEllipsis(const QString& s, const QFontMetrics& fm, int width)
{
    if (fm.horizontalAdvance(s) <= width)
        return s;
    const QString dots = QStringLiteral("...");
    for (qsizetype n = s.size() - 1; n > 0; --n) {
        QString t = s.left(n) + dots;
        if (fm.horizontalAdvance(t) <= width)
            return t;
    }
    return dots;
}

// "..." in place of the start of the path, keeping the last component whole
// and as much of what precedes it as fits.
QString PathEllipsis(const QString& s, const QFontMetrics& fm, int width)
{
    if (fm.horizontalAdvance(s) <= width)
        return s;
    const QString dots = QStringLiteral("...");
    qsizetype sep = std::max(s.lastIndexOf('/'), s.lastIndexOf('\\'));
    if (sep < 0)
        return EndEllipsis(s, fm, width);
    QString tail = s.mid(sep);
    QString head = s.left(sep);
    for (qsizetype n = head.size() - 1; n >= 0; --n) {
        QString t = head.left(n) + dots + tail;
        if (fm.horizontalAdvance(t) <= width)
            return t;
    }
    return dots + tail;
}

// Breaks a paragraph into lines no wider than `width` at spaces, measuring
// word by word; a word longer than a line stays whole unless `breakWords`
// (edit-control mode) cuts it.
void WrapParagraph(const QString& para, const QFontMetrics& fm, int width, bool breakWords, std::vector<QString>& out)
{
    if (para.isEmpty()) {
        out.emplace_back();
        return;
    }
    const QStringList words = para.split(' ');
    QString line;
    bool open = false;  // the line holds at least one word (maybe empty)
    auto pushLongWord = [&](QString w) {
        // Cuts a word that is wider than the line into pieces that fit.
        while (fm.horizontalAdvance(w) > width && w.size() > 1) {
            qsizetype n = 1;
            while (n < w.size() && fm.horizontalAdvance(w.left(n + 1)) <= width)
                ++n;
            out.push_back(w.left(n));
            w = w.mid(n);
        }
        return w;
    };
    for (const QString& w : words) {
        if (!open) {
            line = (breakWords && fm.horizontalAdvance(w) > width) ? pushLongWord(w) : w;
            open = true;
            continue;
        }
        QString candidate = line + ' ' + w;
        if (fm.horizontalAdvance(candidate) <= width) {
            line = candidate;
            continue;
        }
        out.push_back(line);
        line = (breakWords && fm.horizontalAdvance(w) > width) ? pushLongWord(w) : w;
    }
    out.push_back(line);
}

}  // namespace

int DrawText(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !rect)
        return 0;
    QString s = Text(text, count);
    QFont font = FontOf(dc);
    QFontMetrics fm(font);
    const int width = rect->right - rect->left;
    const int lineH = fm.height() + ((format & DT_EXTERNALLEADING) ? fm.leading() : 0);
    const bool single = format & DT_SINGLELINE;
    const bool prefix = !(format & DT_NOPREFIX);

    std::vector<QString> raw;
    if (single) {
        QString one = s;
        one.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace('\n', ' ').replace('\r', ' ');
        raw.push_back(one);
    } else {
        QString norm = s;
        norm.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
        const QStringList paras = norm.split('\n');
        for (const QString& para : paras) {
            if (format & DT_WORDBREAK) {
                QString plain = prefix ? StripPrefix(para, false).text : para;
                if (plain.size() != para.size()) {
                    // Wrap on the shown text, then map the lines back to the
                    // prefixed text so that mnemonics keep their place.
                    std::vector<QString> shown;
                    WrapParagraph(plain, fm, width, format & DT_EDITCONTROL, shown);
                    qsizetype at = 0;
                    for (const QString& line : shown) {
                        qsizetype taken = 0, i = at;
                        while (i < para.size() && taken < line.size()) {
                            if (para[i] == '&' && i + 1 < para.size())
                                ++i;
                            ++taken;
                            ++i;
                        }
                        raw.push_back(para.mid(at, i - at));
                        at = i;
                        while (at < para.size() && para[at] == ' ')
                            ++at;
                    }
                } else {
                    WrapParagraph(para, fm, width, format & DT_EDITCONTROL, raw);
                }
            } else {
                raw.push_back(para);
            }
        }
    }

    std::vector<Line> lines;
    for (const QString& r : raw) {
        Line l = prefix ? StripPrefix(r, format & DT_HIDEPREFIX) : Line{r, -1};
        if (format & DT_EXPANDTABS)
            l.text = ExpandTabs(l.text, fm);
        if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
            QString shortened =
                (format & DT_PATH_ELLIPSIS) ? PathEllipsis(l.text, fm, width) : EndEllipsis(l.text, fm, width);
            if (shortened != l.text) {
                if (l.underline >= static_cast<int>(shortened.size()) - 3)
                    l.underline = -1;
                l.text = shortened;
                if ((format & DT_MODIFYSTRING) && text && raw.size() == 1) {
                    // The shortened text goes back into the caller's buffer,
                    // but never past the length it had.
                    QByteArray u = shortened.toUtf8();
                    size_t room = count < 0 ? std::strlen(text) : static_cast<size_t>(count);
                    if (static_cast<size_t>(u.size()) <= room) {
                        char* out = const_cast<char*>(text);
                        std::memcpy(out, u.constData(), static_cast<size_t>(u.size()));
                        if (static_cast<size_t>(u.size()) < room)
                            out[u.size()] = '\0';
                    }
                }
            }
        }
        lines.push_back(std::move(l));
    }
    int maxW = 0;
    for (const Line& l : lines)
        maxW = std::max(maxW, fm.horizontalAdvance(l.text));
    const int totalH = lineH * static_cast<int>(lines.size());

    if (format & DT_CALCRECT) {
        if (single || !(format & DT_WORDBREAK) || maxW > width)
            rect->right = rect->left + maxW;
        if (s.isEmpty() && single)
            rect->right = rect->left;
        rect->bottom = rect->top + totalH;
        return totalH;
    }

    DcPainter p(dc);
    if (!p.ok())
        return totalH;
    QPainter& q = p.p();
    q.setFont(font);
    QColor fg = p.Color(dc->st.text);
    QColor bg = p.Color(dc->st.bk);
    if (!(format & DT_NOCLIP))
        q.setClipRect(QRect(rect->left, rect->top, width, rect->bottom - rect->top), Qt::IntersectClip);

    int y = rect->top;
    if (single) {
        if (format & DT_VCENTER)
            y = rect->top + (rect->bottom - rect->top - lineH) / 2;
        else if (format & DT_BOTTOM)
            y = rect->bottom - lineH;
    }
    for (const Line& l : lines) {
        int w = fm.horizontalAdvance(l.text);
        int x = rect->left;
        if (format & DT_CENTER)
            x = rect->left + (width - w) / 2;
        else if (format & DT_RIGHT)
            x = rect->right - w;
        if (dc->st.bkMode == OPAQUE && w > 0)
            q.fillRect(QRect(x, y, w, lineH), bg);
        q.setPen(fg);
        q.drawText(QPoint(x, y + fm.ascent()), l.text);
        if (l.underline >= 0 && l.underline < l.text.size()) {
            int ux = x + fm.horizontalAdvance(l.text.left(l.underline));
            int uw = fm.horizontalAdvance(l.text.mid(l.underline, 1));
            q.fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), fg);
        }
        y += lineH;
    }
    return totalH;
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, LPCRECT rect, LPCSTR text, UINT count, const INT* dx)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return FALSE;
    QString s = Text(text, text ? static_cast<int>(count) : 0);
    QFont font = FontOf(dc);
    QFontMetrics fm(font);
    DcPainter p(dc);
    if (!p.ok())
        return TRUE;
    QPainter& q = p.p();
    if (rect && (options & ETO_OPAQUE))
        q.fillRect(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top),
                   p.Color(dc->st.bk));
    if (rect && (options & ETO_CLIPPED))
        q.setClipRect(QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top),
                      Qt::IntersectClip);
    if (s.isEmpty())
        return TRUE;
    int w = fm.horizontalAdvance(s);
    UINT align = dc->st.textAlign;
    if ((align & TA_CENTER) == TA_CENTER)
        x -= w / 2;
    else if (align & TA_RIGHT)
        x -= w;
    int top = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = y - fm.ascent();
    else if (align & TA_BOTTOM)
        top = y - fm.height();
    if (dc->st.bkMode == OPAQUE && !(options & ETO_OPAQUE))
        q.fillRect(QRect(x, top, w, fm.height()), p.Color(dc->st.bk));
    q.setFont(font);
    q.setPen(p.Color(dc->st.text));
    if (dx) {
        // Explicit advances, one per character.
        int cx = x;
        for (qsizetype i = 0; i < s.size(); ++i) {
            q.drawText(QPoint(cx, top + fm.ascent()), QString(s[i]));
            cx += i < static_cast<qsizetype>(count) ? dx[i] : fm.horizontalAdvance(s[i]);
        }
    } else {
        q.drawText(QPoint(x, top + fm.ascent()), s);
    }
    return TRUE;
}

BOOL TextOut(HDC hdc, int x, int y, LPCSTR text, int count)
{
    if (count < 0)
        return FALSE;
    return ExtTextOut(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL GetTextExtentPoint32(HDC hdc, LPCSTR text, int count, LPSIZE size)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !size || count < 0)
        return FALSE;
    QFontMetrics fm(FontOf(dc));
    size->cx = fm.horizontalAdvance(Text(text, count));
    size->cy = fm.height();
    return TRUE;
}

BOOL GetTextMetrics(HDC hdc, LPTEXTMETRIC tm)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc || !tm)
        return FALSE;
    QFont font = FontOf(dc);
    QFontMetrics fm(font);
    *tm = TEXTMETRIC{};
    tm->tmHeight = fm.height();
    tm->tmAscent = fm.ascent();
    tm->tmDescent = fm.descent();
    int em = font.pixelSize() > 0 ? font.pixelSize() : fm.height();
    tm->tmInternalLeading = std::max(0, fm.height() - em);
    tm->tmExternalLeading = std::max(0, fm.leading());
    tm->tmAveCharWidth = fm.averageCharWidth();
    tm->tmMaxCharWidth = fm.maxWidth();
    tm->tmWeight = font.weight();
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = font.italic();
    tm->tmUnderlined = font.underline();
    tm->tmStruckOut = font.strikeOut();
    tm->tmPitchAndFamily = font.fixedPitch() ? 0 : 1;  // the bit set means variable pitch
    tm->tmCharSet = DEFAULT_CHARSET;
    return TRUE;
}

int GetTextFace(HDC hdc, int count, LPSTR name)
{
    DcHandle* dc = FromHdc(hdc);
    if (!dc)
        return 0;
    QByteArray face = FontOf(dc).family().toUtf8();
    if (!name)
        return static_cast<int>(face.size()) + 1;
    if (count <= 0)
        return 0;
    int n = std::min<int>(count - 1, static_cast<int>(face.size()));
    std::memcpy(name, face.constData(), static_cast<size_t>(n));
    name[n] = '\0';
    return n;
}

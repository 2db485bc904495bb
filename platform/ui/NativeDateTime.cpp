// The date and time picker: short and long dates, times, and custom formats
// (DTM_SETFORMAT, whose letters mostly match Qt's; "tt" becomes the AM/PM
// marker). The parent hears of the user's changes with DTN_DATETIMECHANGE.
#include "platform/ui/NativeControl_p.h"

#include "platform/ui/commctrl.h"

#include <QDateTimeEdit>
#include <QPointer>

namespace vxw {

namespace {

QString QtFormat(const QString& f)
{
    QString out;
    for (qsizetype i = 0; i < f.size(); ++i) {
        QChar c = f[i];
        if (c == QLatin1Char('\'')) {
            // Quoted literal text stays as it is.
            qsizetype end = f.indexOf(QLatin1Char('\''), i + 1);
            if (end < 0)
                end = f.size() - 1;
            out += f.mid(i, end - i + 1);
            i = end;
            continue;
        }
        if (c == QLatin1Char('t')) {
            while (i + 1 < f.size() && f[i + 1] == QLatin1Char('t'))
                ++i;
            out += QStringLiteral("AP");
            continue;
        }
        out += c;
    }
    return out;
}

class DateTime : public NativeControl {
public:
    QWidget* create(WindowRecord& r, QWidget* parent) override
    {
        m_edit = new QDateTimeEdit(QDateTime::currentDateTime(), parent);
        bool time = (r.style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
        if (time)
            m_edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
        else if (r.style & DTS_LONGDATEFORMAT)
            m_edit->setDisplayFormat(QStringLiteral("dddd, MMMM d, yyyy"));
        else
            m_edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        m_edit->setCalendarPopup(!time && !(r.style & DTS_UPDOWN));
        m_edit->setFocusPolicy(Qt::StrongFocus);
        QObject::connect(m_edit, &QDateTimeEdit::dateTimeChanged, m_edit, [this](const QDateTime& dt) {
            if (m_silent)
                return;
            NMDATETIMECHANGE nm{};
            nm.nmhdr.code = DTN_DATETIMECHANGE;
            nm.dwFlags = GDT_VALID;
            nm.st = ToSystemTime(dt);
            notify(&nm.nmhdr);
        });
        return m_edit;
    }

    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (!m_edit)
            return false;
        bool was = m_silent;
        m_silent = true;
        bool handled = true;
        switch (msg) {
        case DTM_GETSYSTEMTIME:
            if (auto* st = reinterpret_cast<SYSTEMTIME*>(lParam))
                *st = ToSystemTime(m_edit->dateTime());
            result = GDT_VALID;
            break;
        case DTM_SETSYSTEMTIME: {
            auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
            if (wParam == GDT_VALID && st) {
                QDateTime dt(QDate(st->wYear, st->wMonth, st->wDay),
                             QTime(st->wHour, st->wMinute, st->wSecond, st->wMilliseconds));
                result = dt.isValid() ? TRUE : FALSE;
                if (dt.isValid())
                    m_edit->setDateTime(dt);
            } else {
                result = wParam == GDT_NONE ? TRUE : FALSE;
            }
            break;
        }
        case DTM_SETRANGE: {
            auto* st = reinterpret_cast<const SYSTEMTIME*>(lParam);
            if (st && (wParam & GDTR_MIN))
                m_edit->setMinimumDateTime(FromSystemTime(st[0]));
            if (st && (wParam & GDTR_MAX))
                m_edit->setMaximumDateTime(FromSystemTime(st[1]));
            result = TRUE;
            break;
        }
        case DTM_GETRANGE: {
            auto* st = reinterpret_cast<SYSTEMTIME*>(lParam);
            if (st) {
                st[0] = ToSystemTime(m_edit->minimumDateTime());
                st[1] = ToSystemTime(m_edit->maximumDateTime());
            }
            result = GDTR_MIN | GDTR_MAX;
            break;
        }
        case DTM_SETFORMAT:
            if (lParam)
                m_edit->setDisplayFormat(QtFormat(ToQ(reinterpret_cast<const char*>(lParam))));
            result = TRUE;
            break;
        case WM_GETTEXT:
            result = CopyOut(FromQ(m_edit->text()), reinterpret_cast<char*>(lParam), static_cast<int>(wParam));
            break;
        case WM_GETTEXTLENGTH:
            result = static_cast<LRESULT>(FromQ(m_edit->text()).size());
            break;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS | DLGC_WANTCHARS;
            break;
        default:
            handled = false;
            break;
        }
        m_silent = was;
        return handled;
    }

private:
    static SYSTEMTIME ToSystemTime(const QDateTime& dt)
    {
        SYSTEMTIME st{};
        QDate d = dt.date();
        QTime t = dt.time();
        st.wYear = static_cast<WORD>(d.year());
        st.wMonth = static_cast<WORD>(d.month());
        st.wDayOfWeek = static_cast<WORD>(d.dayOfWeek() % 7);
        st.wDay = static_cast<WORD>(d.day());
        st.wHour = static_cast<WORD>(t.hour());
        st.wMinute = static_cast<WORD>(t.minute());
        st.wSecond = static_cast<WORD>(t.second());
        st.wMilliseconds = static_cast<WORD>(t.msec());
        return st;
    }
    static QDateTime FromSystemTime(const SYSTEMTIME& st)
    {
        return QDateTime(QDate(st.wYear, st.wMonth, st.wDay), QTime(st.wHour, st.wMinute, st.wSecond));
    }

    QPointer<QDateTimeEdit> m_edit;
    bool m_silent = false;
};

}  // namespace

std::unique_ptr<NativeControl> MakeDateTime()
{
    return std::make_unique<DateTime>();
}

}  // namespace vxw

#include "camera/dialogs/forms/ScheduleForms.h"

#include "camera/session/CCgiCmd.h"

#include <algorithm>
#include <cstdlib>

namespace week_schedule {

CString DayText(const DayPairs& day)
{
    std::string marks(kHalfHours, 'N');
    for (const Pair& p : day.pairs) {
        int start = p.start < 0 ? 0 : p.start;
        int end = p.end > kHalfHours ? kHalfHours : p.end;
        for (int i = start; i < end; ++i)
            marks[static_cast<size_t>(i)] = 'P';
    }
    return CString(marks.c_str());
}

DayPairs PairsOf(const CString& text)
{
    DayPairs day;
    if (text.GetLength() != kHalfHours)
        return day;
    int found = 0;
    int runStart = -1;
    // Position 48 counts as inactive and closes a run reaching midnight.
    for (int i = 0; i <= kHalfHours && found < kPairs; ++i) {
        bool active = i < kHalfHours && text[i] == 'P';
        if (active && runStart < 0)
            runStart = i;
        if (!active && runStart >= 0) {
            day.pairs[found++] = {runStart, i};
            runStart = -1;
        }
    }
    return day;
}

bool IsDayText(const CString& text)
{
    if (text.GetLength() != kHalfHours)
        return false;
    for (int i = 0; i < kHalfHours; ++i) {
        if (text[i] != 'P' && text[i] != 'N')
            return false;
    }
    return true;
}

void Week::Load(const CString& reply)
{
    for (int d = 0; d < kDays; ++d) {
        CString key;
        key.Format("week%d", d);
        m_days[d] = CCgiCmd::GetCgiValue2(reply, key);
        m_touched[d] = false;
    }
    m_bLoaded = true;
}

bool Week::AllEqual() const
{
    for (int d = 1; d < kDays; ++d) {
        if (m_days[d] != m_days[0])
            return false;
    }
    return true;
}

DayPairs Week::Shown(int day) const
{
    if (day < 0 || day >= kDays)
        return DayPairs();
    return PairsOf(m_days[day]);
}

CString Week::TextFor(int day, const DayPairs& shown) const
{
    if (!Touched(day) && day >= 0 && day < kDays && IsDayText(m_days[day]))
        return m_days[day];
    return DayText(shown);
}

CString Week::ApplyPart(int day, const DayPairs& shown, bool everyday) const
{
    CString text = TextFor(day, shown);
    CString part, one;
    for (int d = everyday ? 0 : day; d <= (everyday ? kDays - 1 : day); ++d) {
        one.Format("&-week%d=%s", d, text.GetString());
        part += one;
    }
    return part;
}

}  // namespace week_schedule

CString SdSizeText(const CString& kilobytes)
{
    long long kb = std::strtoll(kilobytes.GetString(), nullptr, 10);
    if (kb < 0)
        kb = 0;
    CString text;
    text.Format("%4.2f GB", static_cast<double>(static_cast<float>(kb / 1024) / 1024.0f));
    return text;
}

namespace record_form {

const char* const kOptionsLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getplanrecattr&cmd=getserverinfo";
const char* const kScheduleLoadPath = "/cgi-bin/hi3510/param.cgi?cmd=getplanrecattr&cmd=getscheduleex&-ename=plan";

namespace {

// A key the reply does not hold at all (an empty value is still there).
bool Has(const CString& reply, const char* key)
{
    CString line;
    line.Format("var %s=", key);
    return reply.Find(line) >= 0;
}

}  // namespace

bool IsTwoStreamModel(const CString& model)
{
    return model.Left(9) == "CAMXC5-HX";
}

void ParseOptions(const CString& reply, Options& v)
{
    v.length = Has(reply, "planrec_time") ? CCgiCmd::GetCgiValueInt3(reply, "planrec_time") : 600;
    int channel = Has(reply, "planrec_chn") ? CCgiCmd::GetCgiValueInt3(reply, "planrec_chn") : 11;
    if (channel == 11)
        v.stream = 0;
    else if (channel == 12 || v.twoStreamModel)
        v.stream = 1;
    else
        v.stream = 2;
    CString status = CCgiCmd::GetCgiValue2(reply, "sdstatus");
    v.cardStatus = status.CompareNoCase("out") == 0 ? CString("None") : status;
    v.total = SdSizeText(CCgiCmd::GetCgiValue2(reply, "sdtotalspace"));
    v.free = SdSizeText(CCgiCmd::GetCgiValue2(reply, "sdfreespace"));
}

bool LengthInRange(int seconds)
{
    return seconds >= 15 && seconds <= 900;
}

CString ComposeOptions(const Options& v)
{
    int channel = v.stream == 1 ? 12 : v.stream == 2 ? 13 : 11;
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setplanrecattr&-planrec_time=%d&-planrec_chn=%d", v.length, channel);
    return path;
}

CString ComposeSchedule(bool enable, const CString& weekPart)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setplanrecattr&-planrec_enable=%d&cmd=setscheduleex&-ename=plan",
                enable ? 1 : 0);
    return path + weekPart;
}

}  // namespace record_form

namespace capture_form {

const char* const kLoadPath =
    "/cgi-bin/hi3510/param.cgi?cmd=getsnaptimerattrex&cmd=getalarmsnapattr&cmd=getscheduleex&-ename=snap";

namespace {

void ParseTimer(const CString& reply, const char* type, Timer& t)
{
    CString key;
    key.Format("as_%s_enable", type);
    t.enabled = CCgiCmd::GetCgiValueInt3(reply, key) == 1;
    key.Format("as_%s_interval", type);
    t.interval = CCgiCmd::GetCgiValueInt3(reply, key);
}

CString TimerPart(const Timer& t, const char* type)
{
    // The page checks the intervals of the actions switched on; a switched-off
    // one goes back as the camera reported it, brought into the range the
    // camera takes: a camera refuses the whole request over an interval of 0
    // it reported itself.
    CString part;
    part.Format("cmd=setsnaptimerattrex&-as_enable=%d&-as_interval=%d&-as_type=%s", t.enabled ? 1 : 0,
                std::clamp(t.interval, 1, 65535), type);
    return part;
}

}  // namespace

void ParseLoad(const CString& reply, Values& v)
{
    ParseTimer(reply, "email", v.email);
    ParseTimer(reply, "ftp", v.ftp);
    ParseTimer(reply, "snap", v.sd);
    v.nameMode = CCgiCmd::GetCgiValueInt3(reply, "snap_name_mode") == 1 ? 0 : 1;
    v.fileName = CCgiCmd::GetCgiValue2(reply, "snap_timer_name");
}

CString ComposeApply(const Values& v, const CString& weekPart)
{
    CString path = "/cgi-bin/hi3510/param.cgi?" + TimerPart(v.ftp, "ftp") + "&" + TimerPart(v.email, "email") + "&"
                   + TimerPart(v.sd, "snap");
    CString name;
    name.Format("&cmd=setalarmsnapattr&-snap_name_mode=%d&-snap_timer_name=%s", v.nameMode == 0 ? 1 : 0,
                CCgiCmd::UrlEncode(v.fileName).GetString());
    return path + name + "&cmd=setscheduleex&-ename=snap" + weekPart;
}

}  // namespace capture_form

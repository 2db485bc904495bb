#include "camera/dialogs/forms/VideoEncodeForm.h"

#include "camera/session/CCgiCmd.h"

#include <algorithm>

namespace video_form {

namespace {

bool Begins(const CString& model, const char* code)
{
    return model.Find(code) == 0;
}

const struct {
    const char* triple;
    int mode;
} kModes[] = {
    {"720P 1280x720|1/2 720P 640x352|1/4 720P 320x176", 31},
    {"720P 1280x720|1/4 720P 320x176|1/4 720P 320x176", 32},
    {"1/2 720P 640x352|1/2 720P 640x352|1/4 720P 320x176", 33},
    {"1/2 720P 640x352|1/4 720P 320x176|1/4 720P 320x176", 34},
    {"1080P 1920x1080|1/2 720P 640x352|1/4 720P 320x176", 41},
    {"1080P 1920x1080|1/4 720P 320x176|1/4 720P 320x176", 42},
    {"1080P 1920x1080|720P 1280x720|", 48},
    {"1080P 1920x1080|1/2 720P 640x352|", 41},
    {"960P 1280x960|VGA 640x480|1/2 VGA 320x240", 51},
    {"960P 1280x960|1/2 VGA 320x240|1/2 VGA 320x240", 52},
    {"VGA 640x480|VGA 640x480|1/2 VGA 320x240", 53},
    {"VGA 640x480|1/2 VGA 320x240|1/2 VGA 320x240", 54},
    {"D1 704x576|CIF 352x288|CIF 352x288", 17},
    {"CIF 352x288|CIF 352x288|CIF 352x288", 20},
    {"4M 2560x1440|800x448|", 81},
    {"4M 2560x1440|1/2 720P 640x352|", 82},
    {"4M 2560x1440|720P 1280x720|", 85},
    {"5M 2560x1920|800x600|", 101},
    {"5M 2560x1920|VGA 640x480|", 102},
    {"4K 3840x2160|720P 1280x720|", 122},
    {"4K 3840x2160|1/2 720P 640x352|", 123},
    {"720P 1280x720|1/2 720P 640x352|", 31},
    {"1080P 1920x1080|1/2 720P 640x352|", 41},
};

const char* const k720 = "720P 1280x720";
const char* const kHalf720 = "1/2 720P 640x352";
const char* const kQuarter720 = "1/4 720P 320x176";
const char* const kVga = "VGA 640x480";
const char* const kHalfVga = "1/2 VGA 320x240";
const char* const kCif = "CIF 352x288";

std::string Selected(const Resolutions& r)
{
    return r.index >= 0 && r.index < static_cast<int>(r.items.size()) ? r.items[static_cast<size_t>(r.index)]
                                                                      : std::string();
}

// Every fixed-family branch ends with one empty tertiary item, selected.
void EmptyTertiary(Lists& l)
{
    l.stream[2].items = {""};
    l.stream[2].index = 0;
}

}  // namespace

Family FamilyOf(const CString& model)
{
    Family f;
    f.fiveM = Begins(model, "CAMXC5-HX");
    f.fourK = Begins(model, "CAMXB4-HX");
    f.fourM = Begins(model, "CAMXC4-HX");
    f.fixed1080 = Begins(model, "CAMXA1-N-W22") || Begins(model, "CAMXA1-NP");
    f.wideDynamic = Begins(model, "CAMXA1-N-W") && !f.fixed1080;
    f.threeProfiles = f.fourK || f.fourM || Begins(model, "CAMXC5-HX-Z20-D") || f.fixed1080;
    return f;
}

char ModelLetter(const CString& modelReply)
{
    return modelReply.GetLength() > 5 ? modelReply[5] : 'e';
}

int VideoMode(const std::string& primary, const std::string& secondary, const std::string& tertiary)
{
    std::string joined = primary + "|" + secondary + "|" + tertiary;
    for (const auto& m : kModes) {
        if (joined == m.triple)
            return m.mode;
    }
    return -1;
}

Lists FillLists(const Family& f, char letter, int v, int w1, int h1, int w2)
{
    Lists l;
    Resolutions& p = l.stream[0];
    Resolutions& s = l.stream[1];
    Resolutions& t = l.stream[2];
    if (f.fourK) {
        p.items = {"4K 3840x2160", "4M 2560x1440", "1080P 1920x1080"};
        l.bitrate[0].hi = 6144;
        p.index = h1 == 2160 ? 0 : h1 == 1440 ? 1 : 2;
        s.items = {k720, kHalf720};
        l.bitrate[1].hi = l.bitrate[2].hi = 2048;
        s.index = (v == 48 || v == 85 || v == 122) ? 0 : 1;
        EmptyTertiary(l);
        return l;
    }
    if (f.fourM) {
        p.items = {"4M 2560x1440"};
        p.index = 0;
        l.bitrate[0].hi = 6144;
        s.items = {"800x448", kHalf720};
        l.bitrate[1].hi = l.bitrate[2].hi = 2048;
        s.index = v == 81 ? 0 : 1;
        EmptyTertiary(l);
        return l;
    }
    if (f.fiveM) {
        p.items = {"5M 2560x1920", "4M 2560x1440"};
        l.bitrate[0].hi = 6144;
        p.index = h1 == 1920 ? 0 : 1;
        if (p.index == 0)
            s.items = {"800x600", kVga};
        else
            s.items = {"800x448", kHalf720};
        l.bitrate[1].hi = l.bitrate[2].hi = 2048;
        s.index = (v == 81 || v == 101) ? 0 : 1;
        EmptyTertiary(l);
        return l;
    }
    if (f.fixed1080 || f.wideDynamic) {
        p.items = {"1080P 1920x1080"};
        if (f.wideDynamic)
            p.items.push_back(k720);
        l.bitrate[0].hi = 6144;
        p.index = h1 == 1080 ? 0 : 1;
        if (p.index >= static_cast<int>(p.items.size()))
            p.index = 0;
        s.items = {kHalf720};
        l.bitrate[1].hi = l.bitrate[2].hi = 2048;
        s.index = 0;
        EmptyTertiary(l);
        return l;
    }
    // Generic cameras: the primary list by the model letter.
    if (letter == 'g')
        p.items = {"1080P 1920x1080", k720};
    else if (letter == 'f')
        p.items = {k720, kHalf720, "960P 1280x960", kVga};
    else if (letter == 'k')
        p.items = {"D1 704x576", kCif};
    else
        p.items = {k720, kHalf720};
    switch (h1) {
    case 352:
        p.index = 1;
        l.bitrate[0].hi = 2048;
        break;
    case 480:
        p.index = 3;
        l.bitrate[0].hi = 2048;
        break;
    case 720:
        p.index = letter == 'g' ? 1 : 0;
        l.bitrate[0].hi = 6144;
        break;
    case 960:
        p.index = 2;
        l.bitrate[0].hi = 6144;
        break;
    case 1080:
        p.index = 0;
        l.bitrate[0].hi = 8192;
        break;
    default:
        if (w1 == 704) {
            p.index = 0;
            l.bitrate[0].hi = 2048;
        } else if (w1 == 352) {
            p.index = 1;
            l.bitrate[0].hi = 512;
        }
    }
    // An index the list lacks keeps no selection rather than a wrong one.
    if (p.index >= static_cast<int>(p.items.size()))
        p.index = -1;
    if (v >= 51 && v <= 54) {
        s.items = {kVga, kHalfVga};
        t.items = {kHalfVga};
    } else if (v == 17 || v == 20) {
        s.items = {kCif};
        t.items = {kCif};
    } else {
        s.items = {kHalf720, kQuarter720};
        t.items = {kQuarter720};
    }
    if (w2 == 640) {
        l.bitrate[1] = {32, 2048};
        s.index = 0;
    } else {
        l.bitrate[1] = {32, 512};
        s.index = s.items.size() == 2 ? 1 : 0;
    }
    t.index = 0;
    l.bitrate[2] = {32, 512};
    if (letter == 'k') {
        l.bitrate[1] = {32, 512};
        l.bitrate[2] = {32, 256};
    }
    return l;
}

bool PrimaryChanged(const Family& f, Lists& l)
{
    std::string p = Selected(l.stream[0]);
    std::vector<std::string>& s = l.stream[1].items;
    int& max = l.bitrate[0].hi;
    if (p == "4K 3840x2160") {
        s = {k720, kHalf720};
    } else if (p == "5M 2560x1920") {
        s = {"800x600", kVga};
    } else if (p == "4M 2560x1440") {
        s = {f.fourK ? k720 : "800x448", kHalf720};
    } else if (p == "1080P 1920x1080" || p == k720 || p == kHalf720) {
        max = p == "1080P 1920x1080" ? 8192 : p == k720 ? 6144 : 2048;
        s.clear();
        if (f.fourK)
            s.push_back(k720);
        s.push_back(kHalf720);
        if (!(f.fiveM || f.fourK || f.fixed1080 || f.wideDynamic))
            s.push_back(kQuarter720);
    } else if (p == "960P 1280x960" || p == kVga) {
        max = p == kVga ? 2048 : 6144;
        s = {kVga, kHalfVga};
    } else if (p == "D1 704x576" || p == kCif) {
        max = p == kCif ? 512 : 2048;
        s = {kCif};
    } else {
        return false;
    }
    l.stream[1].index = 0;
    SecondaryChanged(l);
    return true;
}

void SecondaryChanged(Lists& l)
{
    std::string s = Selected(l.stream[1]);
    if (s == kHalf720 || s == kQuarter720) {
        l.bitrate[1].hi = s == kHalf720 ? 2048 : 512;
        l.stream[2].items = {kQuarter720};
    } else if (s == kVga || s == kHalfVga) {
        l.bitrate[1].hi = s == kVga ? 2048 : 512;
        l.stream[2].items = {kHalfVga};
    } else {
        l.bitrate[1].hi = 512;
        l.stream[2].items = {kCif};
    }
    l.stream[2].index = 0;
    l.bitrate[2] = {32, 512};
}

int FrameRateCount(bool pal)
{
    return pal ? 25 : 30;
}

int KeptFrameRateIndex(int index, bool pal)
{
    int count = FrameRateCount(pal);
    return index < 0 ? index : std::min(index, count - 1);
}

CString LoadPath(int streams)
{
    if (streams > 2)
        return "/cgi-bin/hi3510/param.cgi?cmd=getvideoattr&cmd=getvencattr&-chn=11&cmd=getvencattr&-chn=12"
               "&cmd=getvencattr&-chn=13&cmd=getserverinfo";
    return "/cgi-bin/hi3510/param.cgi?cmd=getvideoattr&cmd=getvencattr&-chn=11&cmd=getvencattr&-chn=12"
           "&cmd=getserverinfo";
}

namespace {

// The value as an index into a list of `count` items, or `keep` when the
// reply has no value that fits.
int IndexOr(const CString& reply, const CString& key, int offset, int count, int keep)
{
    CString text = CCgiCmd::GetCgiValue2(reply, key);
    if (text.IsEmpty())
        return keep;
    int n = CCgiCmd::GetCgiValueInt3(reply, key) - offset;
    return n >= 0 && n < count ? n : keep;
}

}  // namespace

void ParseLoad(const CString& reply, const CString& model, Values& v)
{
    v.family = FamilyOf(model);
    v.letter = ModelLetter(CCgiCmd::GetCgiValue2(reply, "model"));
    v.videomode = CCgiCmd::GetCgiValueInt3(reply, "videomode");
    v.w1 = CCgiCmd::GetCgiValueInt3(reply, "width_1");
    v.h1 = CCgiCmd::GetCgiValueInt3(reply, "height_1");
    v.w2 = CCgiCmd::GetCgiValueInt3(reply, "width_2");
    v.pal = CCgiCmd::GetCgiValue2(reply, "vinorm").CompareNoCase("P") == 0;
    int profile = CCgiCmd::GetCgiValueInt3(reply, "profile");
    if (v.family.threeProfiles)
        v.profileIndex = profile == 0 ? 0 : profile == 1 ? 1 : 2;
    else
        v.profileIndex = profile == 0 ? 0 : 1;
    int fpsCount = FrameRateCount(v.pal);
    for (int i = 0; i < 3; ++i) {
        if (i == 2 && v.streams <= 2)
            break;
        CString n;
        n.Format("_%d", i + 1);
        Stream& s = v.stream[i];
        if (!CCgiCmd::GetCgiValue2(reply, "bps" + n).IsEmpty())
            s.bps = CCgiCmd::GetCgiValueInt3(reply, "bps" + n);
        s.fpsIndex = IndexOr(reply, "fps" + n, 1, fpsCount, std::min(s.fpsIndex, fpsCount - 1));
        s.gopIndex = IndexOr(reply, "gop" + n, 2, 148, s.gopIndex);
        s.brmode = IndexOr(reply, "brmode" + n, 0, 2, s.brmode);
        s.qualityIndex = IndexOr(reply, "imagegrade" + n, 1, 6, s.qualityIndex);
    }
}

int ProfileToSend(int index)
{
    return index == 2 ? 3 : std::max(index, 0);
}

int VideoModeToSend(const Values& v, const std::string chosen[3])
{
    std::string tertiary = v.streams > 2 ? chosen[2] : std::string();
    int mode = VideoMode(chosen[0], chosen[1], tertiary);
    if (mode >= 0)
        return mode;
    bool asLoaded = chosen[0] == v.loadedResolution[0] && chosen[1] == v.loadedResolution[1]
                    && (v.streams <= 2 || chosen[2] == v.loadedResolution[2]);
    return asLoaded ? v.videomode : -1;
}

CString ComposeApply(const Values& v, int videomode)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setvideoattr&-vinorm=%s&-profile=%d&-videomode=%d", v.pal ? "P" : "N",
                ProfileToSend(v.profileIndex), videomode);
    int streams = v.streams > 2 ? 3 : 2;
    for (int i = 0; i < streams; ++i) {
        const Stream& s = v.stream[i];
        CString part;
        part.Format("&cmd=setvencattr&-chn=%d&-bps=%d&-fps=%d&-brmode=%d&-imagegrade=%d&-gop=%d", 11 + i, s.bps,
                    s.fpsIndex + 1, s.brmode, s.qualityIndex + 1, s.gopIndex + 2);
        path += part;
    }
    return path;
}

CString kMobileLoadPath()
{
    return "/cgi-bin/hi3510/param.cgi?cmd=getmobilesnapattr";
}

int MobileSizeIndex(const CString& reply)
{
    return CCgiCmd::GetCgiValueInt3(reply, "msize") == 1 ? 0 : 1;
}

CString ComposeMobileApply(int index)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setmobilesnapattr&-msize=%d", std::clamp(index + 1, 1, 2));
    return path;
}

}  // namespace video_form

#include "camera/dialogs/forms/NetworkSettingsForm.h"

#include "camera/session/CCgiCmd.h"

#include <algorithm>
#include <cstdlib>

namespace network_form {

namespace {

const int kReserved[] = {1935, 3702, 6000, 6001, 6002, 6003, 8002, 8080, 9876, 12109, 12222, 33153, 33155};

bool IsReserved(Protocol p, int port)
{
    for (int r : kReserved) {
        if (r == port && !(p == Protocol::Rtmp && r == 1935))
            return true;
    }
    return false;
}

}  // namespace

bool Address::operator==(const Address& o) const
{
    if (filled != o.filled)
        return false;
    return !filled || std::equal(field, field + 4, o.field);
}

Address ParseAddressText(const CString& text)
{
    std::string s = text.GetString();
    size_t b = s.find_first_not_of('.');
    size_t e = s.find_last_not_of('.');
    Address a;
    if (b == std::string::npos)
        return a;
    s = s.substr(b, e - b + 1);
    int n = 0;
    size_t at = 0;
    while (n < 4) {
        size_t dot = s.find('.', at);
        a.field[n++] = std::atoi(s.substr(at, dot == std::string::npos ? std::string::npos : dot - at).c_str()) & 0xff;
        if (dot == std::string::npos)
            break;
        at = dot + 1;
    }
    a.filled = a.field[0] != 0;
    if (!a.filled)
        std::fill(a.field, a.field + 4, 0);
    return a;
}

CString AddressText(const Address& a)
{
    CString t;
    if (a.filled)
        t.Format("%d.%d.%d.%d", a.field[0], a.field[1], a.field[2], a.field[3]);
    return t;
}

bool IsWellFormedHost(const Address& a)
{
    return a.filled && a.field[0] != 0 && a.field[1] != 255 && a.field[2] != 255 && a.field[3] != 255;
}

bool IsValidMask(const Address& a)
{
    if (!a.filled)
        return false;
    unsigned m = (unsigned(a.field[0]) << 24) | (unsigned(a.field[1]) << 16) | (unsigned(a.field[2]) << 8)
                 | unsigned(a.field[3]);
    // Ones from the left then zeros: the complement plus one is a power of two.
    unsigned inv = ~m;
    return m != 0 && (inv & (inv + 1)) == 0;
}

Address ProposedGateway(const Address& ip, const Address& mask)
{
    Address g = ip;
    g.filled = true;
    g.field[3] = (((~mask.field[3]) | ip.field[3]) - 1) & 0xff;
    return g;
}

int PortLowerBound(Protocol p)
{
    return p == Protocol::Http ? 80 : p == Protocol::Rtsp ? 554 : 1024;
}

bool IsAcceptedPort(Protocol p, int port)
{
    bool own = (p == Protocol::Http && port == 80) || (p == Protocol::Rtsp && port == 554);
    return own || (port >= 1024 && port <= 49151 && !IsReserved(p, port));
}

const char* const kLoadPath =
    "/cgi-bin/hi3510/param.cgi?cmd=getnetattr&cmd=gethttpport&cmd=getrtspport&cmd=getserverinfo"
    "&cmd=getupnpattr&cmd=getrtspauth&cmd=getrtmpattr";

CString UpnpStatusText(const CString& reply)
{
    CString s = CCgiCmd::GetCgiValue2(reply, "upnpstatus");
    if (s.CompareNoCase("ok") == 0)
        return "(UPnP success)";
    if (s.CompareNoCase("off") == 0)
        return "(UPnP off)";
    if (s.CompareNoCase("failed") == 0)
        return "(UPnP failed)";
    return CString();
}

void ParseLoad(const CString& reply, Values& v)
{
    v.dhcp = CCgiCmd::GetCgiValue2(reply, "dhcpflag").CompareNoCase("on") == 0;
    v.ip = ParseAddressText(CCgiCmd::GetCgiValue2(reply, "ip"));
    v.mask = ParseAddressText(CCgiCmd::GetCgiValue2(reply, "netmask"));
    v.gateway = ParseAddressText(CCgiCmd::GetCgiValue2(reply, "gateway"));
    v.dns1 = ParseAddressText(CCgiCmd::GetCgiValue2(reply, "fdnsip"));
    v.dns2 = ParseAddressText(CCgiCmd::GetCgiValue2(reply, "sdnsip"));
    v.dnsType = std::clamp(CCgiCmd::GetCgiValueInt3(reply, "dnsstat"), 0, 1);
    v.httpPort = CCgiCmd::GetCgiValueInt3(reply, "httpport");
    v.rtspPort = CCgiCmd::GetCgiValueInt3(reply, "rtspport");
    v.rtmpPort = CCgiCmd::GetCgiValueInt3(reply, "rtmpport");
    v.rtspAuth = CCgiCmd::GetCgiValueInt3(reply, "rtsp_aenable") == 1;
    v.upnp = CCgiCmd::GetCgiValueInt3(reply, "upm_enable") == 1;
    v.upnpStatus = UpnpStatusText(reply);
}

Check CheckValues(const Values& v, bool withCamera)
{
    if (!v.dhcp) {
        if (!IsWellFormedHost(v.ip))
            return {Field::Ip, 20080, false};
        if (!IsValidMask(v.mask))
            return {Field::Mask, 20081, false};
        if (!IsWellFormedHost(v.gateway))
            return {Field::Gateway, 20082, false};
        for (int i = 0; i < 4; ++i) {
            if ((v.gateway.field[i] & v.mask.field[i]) != (v.ip.field[i] & v.mask.field[i]))
                return {Field::Gateway, 20082, true};
        }
    }
    if (v.dnsType == 0 && !IsWellFormedHost(v.dns1))
        return {Field::Dns1, 20080, false};
    if (!withCamera)
        return {};
    if (!IsAcceptedPort(Protocol::Http, v.httpPort))
        return {Field::HttpPort, 20084, false};
    if (!IsAcceptedPort(Protocol::Rtsp, v.rtspPort))
        return {Field::RtspPort, 20085, false};
    if (!IsAcceptedPort(Protocol::Rtmp, v.rtmpPort))
        return {Field::RtmpPort, 20105, false};
    // One port serves one protocol: the later of two equal ports is refused.
    if (v.rtspPort == v.httpPort)
        return {Field::RtspPort, 20085, false};
    if (v.rtmpPort == v.httpPort || v.rtmpPort == v.rtspPort)
        return {Field::RtmpPort, 20105, false};
    return {};
}

namespace {

// An address as the apply sends it: empty unless well formed (the mask only
// needs its four fields).
CString SentAddress(const Address& a, bool mask)
{
    return (mask ? a.filled : IsWellFormedHost(a)) ? AddressText(a) : CString();
}

}  // namespace

CString ComposeApply(const Values& v)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setnetattr&-dhcp=%s&-ipaddr=%s&-netmask=%s&-gateway=%s&-dnsstat=%d"
                "&-fdnsip=%s&-sdnsip=%s&cmd=sethttpport&-httpport=%d&cmd=setrtspport&-rtspport=%d"
                "&cmd=setrtspauth&-rtsp_aenable=%d&cmd=setupnpattr&-upm_enable=%d&cmd=setrtmpattr&-rtmpport=%d",
                v.dhcp ? "on" : "off", SentAddress(v.ip, false).GetString(), SentAddress(v.mask, true).GetString(),
                SentAddress(v.gateway, false).GetString(), v.dnsType, SentAddress(v.dns1, false).GetString(),
                SentAddress(v.dns2, false).GetString(), v.httpPort, v.rtspPort, v.rtspAuth ? 1 : 0, v.upnp ? 1 : 0,
                v.rtmpPort);
    return path;
}

CString ComposeUpnpTest(bool enable)
{
    CString path;
    path.Format("/cgi-bin/hi3510/param.cgi?cmd=setupnpattr&-upm_enable=%d", enable ? 1 : 0);
    return path;
}

bool RestartExpected(const Values& loaded, const Values& applied)
{
    if (loaded.dhcp != applied.dhcp || loaded.httpPort != applied.httpPort)
        return true;
    return !applied.dhcp
           && (!(loaded.ip == applied.ip) || !(loaded.mask == applied.mask) || !(loaded.gateway == applied.gateway));
}

}  // namespace network_form

// The rules of the Network, Display, Infrared Light and System Log pages,
// driven without windows.
#include "camera/dialogs/forms/ImageSettingsForms.h"
#include "camera/dialogs/forms/NetworkSettingsForm.h"
#include "camera/dialogs/forms/SystemLogForm.h"

#include <gtest/gtest.h>

namespace {

using namespace network_form;

Address A(const char* text)
{
    return ParseAddressText(text);
}

TEST(NetworkForm, AddressTexts)
{
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"192.168.1.10", "192.168.1.10"},
        {".10.0.0.1.", "10.0.0.1"},
        {"0.0.0.0", ""},
        {"256.1.1.1", ""},
        {"", ""},
        {"10.1", "10.1.0.0"},
        {"10.300.1.1", "10.44.1.1"},
        {"1.2.3.4.5", "1.2.3.4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(AddressText(A(c.text))), c.shown) << c.text;
}

TEST(NetworkForm, Masks)
{
    for (const char* good : {"255.255.255.0", "255.255.0.0", "255.255.255.252", "128.0.0.0", "255.255.255.255"})
        EXPECT_TRUE(IsValidMask(A(good))) << good;
    for (const char* bad : {"255.0.255.0", "255.255.255.1", "0.0.0.0", "", "254.255.0.0"})
        EXPECT_FALSE(IsValidMask(A(bad))) << bad;
}

Values StaticValues(const char* ip, const char* mask, const char* gateway)
{
    Values v;
    v.ip = A(ip);
    v.mask = A(mask);
    v.gateway = A(gateway);
    v.dns1 = A("8.8.8.8");
    return v;
}

TEST(NetworkForm, ChecksInOrderWithTheirTextAndFocus)
{
    const struct {
        const char* ip;
        const char* mask;
        const char* gateway;
        int http, rtsp, rtmp;
        Field field;
        UINT text;
    } cases[] = {
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 80, 554, 1935, Field::None, 0},
        {"192.168.1.255", "255.255.255.0", "192.168.1.1", 80, 554, 1935, Field::Ip, 20080},
        {"192.168.1.10", "255.0.255.0", "192.168.1.1", 80, 554, 1935, Field::Mask, 20081},
        {"192.168.1.10", "255.255.255.0", "192.168.2.1", 80, 554, 1935, Field::Gateway, 20082},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 81, 554, 1935, Field::HttpPort, 20084},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 8080, 554, 1935, Field::HttpPort, 20084},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 1024, 49151, 1935, Field::None, 0},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 80, 1935, 1935, Field::RtspPort, 20085},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 80, 554, 554, Field::RtmpPort, 20105},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 80, 554, 1024, Field::None, 0},
        // Equal ports: the later one is refused.
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 2000, 2000, 1935, Field::RtspPort, 20085},
        {"192.168.1.10", "255.255.255.0", "192.168.1.1", 2000, 554, 2000, Field::RtmpPort, 20105},
    };
    for (const auto& c : cases) {
        Values v = StaticValues(c.ip, c.mask, c.gateway);
        v.httpPort = c.http;
        v.rtspPort = c.rtsp;
        v.rtmpPort = c.rtmp;
        Check r = CheckValues(v, true);
        EXPECT_EQ(r.field, c.field) << c.ip << " " << c.mask << " " << c.gateway << " " << c.http;
        EXPECT_EQ(r.textId, c.text) << c.ip << " " << c.http << " " << c.rtsp << " " << c.rtmp;
    }
    EXPECT_EQ(PortLowerBound(Protocol::Http), 80);
    EXPECT_EQ(PortLowerBound(Protocol::Rtmp), 1024);
}

TEST(NetworkForm, GatewayProposalAndDhcp)
{
    Values v = StaticValues("192.168.1.10", "255.255.255.0", "192.168.2.1");
    Check r = CheckValues(v, true);
    EXPECT_TRUE(r.proposeGateway);
    EXPECT_EQ(std::string(AddressText(ProposedGateway(v.ip, v.mask))), "192.168.1.254");
    EXPECT_EQ(std::string(AddressText(ProposedGateway(A("10.0.0.5"), A("255.255.255.192")))), "10.0.0.62");

    Values d = StaticValues("", "", "");
    d.dhcp = true;
    EXPECT_EQ(CheckValues(d, true).textId, 0u);
    d.dnsType = 0;
    d.dns1 = A("0.0.0.0");
    EXPECT_EQ(CheckValues(d, true).field, Field::Dns1);
}

TEST(NetworkForm, LoadAndApply)
{
    Values v;
    ParseLoad("var dhcpflag=\"OFF\";\r\nvar ip=\"192.168.1.88\";\r\nvar netmask=\"255.255.255.0\";\r\n"
              "var gateway=\"192.168.1.1\";\r\nvar dnsstat=\"5\";\r\nvar fdnsip=\"0.0.0.0\";\r\nvar sdnsip=\"\";\r\n"
              "var httpport=\"81\";\r\nvar rtspport=\"554\";\r\nvar rtmpport=\"1935\";\r\nvar rtsp_aenable=\"1\";\r\n"
              "var upm_enable=\"0\";\r\nvar upnpstatus=\"FAILED\";\r\n",
              v);
    EXPECT_FALSE(v.dhcp);
    EXPECT_EQ(v.dnsType, 1);
    EXPECT_FALSE(v.dns1.filled);
    EXPECT_EQ(v.httpPort, 81);
    EXPECT_TRUE(v.rtspAuth);
    EXPECT_EQ(std::string(v.upnpStatus), "(UPnP failed)");
    EXPECT_EQ(std::string(ComposeApply(v)),
              "/cgi-bin/hi3510/param.cgi?cmd=setnetattr&-dhcp=off&-ipaddr=192.168.1.88&-netmask=255.255.255.0"
              "&-gateway=192.168.1.1&-dnsstat=1&-fdnsip=&-sdnsip=&cmd=sethttpport&-httpport=81&cmd=setrtspport"
              "&-rtspport=554&cmd=setrtspauth&-rtsp_aenable=1&cmd=setupnpattr&-upm_enable=0&cmd=setrtmpattr"
              "&-rtmpport=1935");
}

TEST(NetworkForm, ACutReplyCountsOnlyWhenTheNetworkRestarts)
{
    Values loaded = StaticValues("192.168.1.10", "255.255.255.0", "192.168.1.1");
    Values same = loaded;
    same.rtmpPort = 2000;
    EXPECT_FALSE(RestartExpected(loaded, same));
    Values moved = loaded;
    moved.ip = A("192.168.1.11");
    EXPECT_TRUE(RestartExpected(loaded, moved));
    Values port = loaded;
    port.httpPort = 8081;
    EXPECT_TRUE(RestartExpected(loaded, port));
    Values dhcp = loaded;
    dhcp.dhcp = true;
    EXPECT_TRUE(RestartExpected(loaded, dhcp));
}

TEST(DisplayForm, NoiseSpellingIsKeptPerLoad)
{
    const struct {
        const char* noise;
        bool smooth;
        const char* sentOn;
        const char* sentOff;
    } cases[] = {
        {"25", true, "25", "0"}, {"0", false, "25", "0"}, {"ON", true, "on", "off"}, {"off", false, "on", "off"}};
    for (const auto& c : cases) {
        display_form::Values v;
        display_form::ParseLoad(CString("var noise=\"") + c.noise + "\";\r\nvar aemode=\"7\";\r\n", v);
        EXPECT_EQ(v.smooth, c.smooth) << c.noise;
        EXPECT_EQ(v.aeMode, 0) << "a mode the list lacks keeps the default";
        v.smooth = true;
        EXPECT_NE(std::string(display_form::ComposeApply(v)).find(std::string("&-noise=") + c.sentOn + "&"),
                  std::string::npos);
        v.smooth = false;
        EXPECT_NE(std::string(display_form::ComposeApply(v)).find(std::string("&-noise=") + c.sentOff + "&"),
                  std::string::npos);
    }
}

TEST(DisplayForm, ApplyAndDefault)
{
    display_form::Values v;
    display_form::ParseLoad(
        "var brightness=\"40\";\r\nvar saturation=\"200\";\r\nvar contrast=\"30\";\r\n"
        "var hue=\"20\";\r\nvar sharpness=\"10\";\r\nvar targety=\"99\";\r\nvar flip=\"On\";\r\n"
        "var mirror=\"off\";\r\nvar noise=\"on\";\r\nvar wdr=\"on\";\r\nvar night=\"x\";\r\n"
        "var gc=\"64\";\r\nvar shutter=\"1000\";\r\nvar aemode=\"2\";\r\nvar display_mode=\"0\";\r\n"
        "var saradc_switch_value=\"300\";\r\n",
        v);
    EXPECT_EQ(std::string(display_form::ComposeApply(v)),
              "/cgi-bin/hi3510/param.cgi?cmd=setimageattr&-brightness=40&-saturation=200&-contrast=30&-hue=20"
              "&-targety=99&-sharpness=10&-flip=on&-mirror=off&-noise=on&-wdr=on&-night=off&-gc=64&-aemode=2"
              "&-image_type=0&-shutter=1000&cmd=setircutattr&-saradc_switch_value=300");
    EXPECT_EQ(std::string(display_form::ComposeDefault(0)),
              "/cgi-bin/hi3510/param.cgi?cmd=setimageattr&-image_type=0&-default=on");
}

TEST(InfraredForm, VariantFlags)
{
    const struct {
        const char* model;
        const char* soft;
        const char* web;
        bool lamp, newStyle, onOff;
    } cases[] = {
        {"CAMXC5-HX-Z20-D", "", "", true, false, false},
        {"CAMXB4-HX-D1", "", "", true, false, false},
        {"CAMXA1-N-W22", "", "", false, true, false},
        {"CAMXB4-HX", "", "", false, true, false},
        {"CAMXA1-N", "V10.1.4.2", "2.0.9", false, true, false},
        {"CAMXA1-N", "V10.1.4.2", "2.0.8", false, false, false},
        {"CAMXA1-N-MIC", "V10.1.10.1", "2.1", false, true, true},
        {"CAMXA1-N-MIC", "V19.1.20.16", "2.1", false, false, false},
        {"CAMXA1-NP", "", "", false, false, true},
        {"CAMXC5-HX-Z20", "", "", false, false, true},
        {"CAMXC5-HX-V1", "", "", false, true, false},
        {"CAMXA1-N", "V19.1.20.16", "2.0.10", false, false, false},
    };
    for (const auto& c : cases) {
        infrared_form::Variant v = infrared_form::DecideVariant(c.model, c.soft, c.web);
        EXPECT_EQ(v.lamp, c.lamp) << c.model;
        EXPECT_EQ(v.newStyle, c.newStyle) << c.model << " " << c.soft << " " << c.web;
        EXPECT_EQ(v.onOffOnly, c.onOff) << c.model << " " << c.soft;
    }
}

TEST(InfraredForm, RequestsPerVariant)
{
    using namespace infrared_form;
    Variant older;
    Selection s{LightSecond, IrCutSecond};
    bool follows = false;
    EXPECT_EQ(std::string(ComposeApply(older, s, follows)),
              "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=close");
    EXPECT_TRUE(follows);
    EXPECT_EQ(std::string(ComposeIrCutControl(s)), "/cgi-bin/hi3510/param.cgi?cmd=ircutctrl&-mode=1");
    Variant newer;
    newer.newStyle = true;
    ComposeApply(newer, s, follows);
    EXPECT_FALSE(follows);
    Variant lamp;
    lamp.lamp = true;
    EXPECT_EQ(std::string(ComposeApply(lamp, {LightThird, IrCutThird}, follows)),
              "/cgi-bin/hi3510/param.cgi?cmd=setlampattrex&-lamp_mode=2&cmd=setinfrared&-infraredstat=auto");
    Variant onOff;
    onOff.onOffOnly = true;
    EXPECT_EQ(std::string(ComposeApply(onOff, {LightFirst, IrCutFirst}, follows)),
              "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=open");
    EXPECT_EQ(std::string(ComposeApply(older, {LightFirst, IrCutFirst}, follows)),
              "/cgi-bin/hi3510/param.cgi?cmd=setinfrared&-infraredstat=close&cmd=setinfrared&-infraredstat=auto");
    EXPECT_FALSE(follows);

    Selection read;
    ParseLoad("var infraredstat=\"user\";\r\nvar display_mode=\"0\";\r\n", older, read);
    EXPECT_EQ(read.light, LightThird);
    EXPECT_EQ(read.irCut, IrCutFirst);
    ParseLoad("var lamp_mode=\"1\";\r\nvar infraredstat=\"CLOSE\";\r\n", lamp, read);
    EXPECT_EQ(read.light, LightSecond);
    EXPECT_EQ(read.irCut, IrCutSecond);
}

TEST(InfraredForm, Layouts)
{
    using namespace infrared_form;
    Layout older = LayoutFor({}, LightSecond);
    EXPECT_TRUE(older.showIrCut);
    EXPECT_FALSE(older.showThird);
    EXPECT_FALSE(LayoutFor({}, LightFirst).showIrCut);
    Layout lamp = LayoutFor({true, false, false}, LightFirst);
    EXPECT_EQ(std::string(lamp.groupLabel), "Night vision mode");
    EXPECT_TRUE(lamp.showIrCut && lamp.showIrCutAuto && lamp.showThird);
    EXPECT_FALSE(LayoutFor({true, false, false}, LightSecond).showIrCut);
    Layout onOff = LayoutFor({false, false, true}, LightFirst);
    EXPECT_FALSE(onOff.showSecond);
    EXPECT_TRUE(onOff.showIrCut && onOff.showIrCutAuto);
    Layout newer = LayoutFor({false, true, false}, LightSecond);
    EXPECT_EQ(std::string(newer.first), "Auto mode");
    EXPECT_TRUE(newer.showThird);
    EXPECT_FALSE(newer.showIrCut);
}

TEST(SystemLogForm, LinesAndCells)
{
    auto lines = syslog_form::SplitLog("HTTP/1.0 200 OK\r\n\r\n[2024_01_05 10:20:30] user admin login\r\n"
                                       "no brackets\r\n]2024[ reversed\r\n[x]\r\n[2024_01_06 00:00:00] last");
    ASSERT_EQ(lines.size(), 4u);
    const struct {
        size_t line;
        int column;
        const char* text;
    } cases[] = {
        {0, 0, "1"},
        {0, 1, "2024-01-05 10:20:30"},
        {0, 2, "user admin login"},
        {1, 1, ""},
        {1, 2, ""},
        {2, 1, "x"},
        {2, 2, ""},
        {3, 2, "last"},
        {3, 0, "4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(syslog_form::CellText(lines[c.line], static_cast<int>(c.line), c.column), c.text)
            << c.line << "/" << c.column;
    EXPECT_TRUE(syslog_form::SplitLog("").empty());
    EXPECT_EQ(syslog_form::CellText("[a]b", 0, 2), "");
}

}  // namespace

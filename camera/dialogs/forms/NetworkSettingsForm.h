#pragma once
// What the Network Settings page reads from and writes to the camera,
// without the window: address texts, the address, mask, gateway and port
// checks, reading the load reply and composing the apply request. Plain
// values; any thread.

#include "platform/platform.h"

namespace network_form {

// One address control's content: four fields, or none.
struct Address {
    bool filled = false;
    int field[4] = {};
    bool operator==(const Address& o) const;
};

// A camera's address text: up to four atoi numbers separated by dots, dots
// at either end ignored; a first number whose low byte is 0 gives an empty
// control (so do "0.0.0.0" and "256.1.1.1"). Each field keeps its low byte,
// as the control would.
Address ParseAddressText(const CString& text);
// "a.b.c.d" for a filled address, else empty.
CString AddressText(const Address& a);

// Filled, first field not 0, the other three not 255.
bool IsWellFormedHost(const Address& a);
// Filled, not 0.0.0.0, and a run of ones from the left.
bool IsValidMask(const Address& a);
// The gateway the page proposes when the given one lies outside the
// address's subnet: the address's first three fields and the last address
// below the subnet's broadcast in the fourth.
Address ProposedGateway(const Address& ip, const Address& mask);

enum class Protocol { Http, Rtsp, Rtmp };
// The bounds the data exchange puts on the port edits.
int PortLowerBound(Protocol p);
// The camera's own rule: HTTP 80, RTSP 554, or 1024..49151, never a
// reserved port (RTMP may use 1935, and only 1024..49151).
bool IsAcceptedPort(Protocol p, int port);

struct Values {
    bool dhcp = false;
    Address ip, mask, gateway, dns1, dns2;
    int dnsType = 0;  // 0 manual servers, 1 dynamic
    int httpPort = 80;
    int rtspPort = 554;
    int rtmpPort = 1935;
    bool rtspAuth = false;
    bool upnp = false;
    CString upnpStatus;  // the words the page shows
};

extern const char* const kLoadPath;
void ParseLoad(const CString& reply, Values& v);
// "(UPnP success)", "(UPnP off)", "(UPnP failed)" or empty, from "upnpstatus".
CString UpnpStatusText(const CString& reply);

// The result of checking the page's values before an apply.
enum class Field { None, Ip, Mask, Gateway, Dns1, HttpPort, RtspPort, RtmpPort };
struct Check {
    Field field = Field::None;    // the control that takes the focus
    UINT textId = 0;              // 0: passed
    bool proposeGateway = false;  // the gateway control gets ProposedGateway
};
// In the page's order; `withCamera` false stops after the addresses.
Check CheckValues(const Values& v, bool withCamera);

CString ComposeApply(const Values& v);
CString ComposeUpnpTest(bool enable);

// Whether an apply whose request failed with an empty reply still worked:
// only a change of address mode, address or HTTP port makes the camera drop
// the link to restart its network.
bool RestartExpected(const Values& loaded, const Values& applied);

}  // namespace network_form

#pragma once
// Helpers that take single values out of the texts cameras send back to CGI
// requests (variable lines "var name="value";", INI text, flat JSON, simple
// XML) and percent-encode values for request paths. They are plain substring
// searches: nothing fails, an absent value is an empty text (0 for the
// integer forms). Stateless; safe from any thread.

#include "platform/platform.h"

class AFX_EXT_CLASS CCgiCmd {
public:
    CCgiCmd();
    CCgiCmd(const CCgiCmd& src);
    CCgiCmd& operator=(const CCgiCmd& src);
    virtual ~CCgiCmd();

    // The integer forms give 0 for an absent value; their int argument is
    // there for callers that pass one and is not used.
    //
    // Variable lines. With bNoVar set the name may stand without "var "
    // before it (and then also matches the end of a longer name).
    static CString GetCgiValue2(CString strReply, CString strName, int bNoVar = 0);    // "double quoted"
    static CString GetCgiValue(CString strReply, CString strName, int bNoVar = 0);     // 'single quoted'
    static CString GetCgiValueInt(CString strReply, CString strName, int bNoVar = 0);  // unquoted
    static int GetCgiValueInt2(CString strReply, CString strName, int nIgnored = 0, int bNoVar = 0);
    static int GetCgiValueInt3(CString strReply, CString strName, int nIgnored = 0, int bNoVar = 0);

    static CString GetInivalue(CString strIni, CString strSection, CString strKey);

    static CString GetJsonValueStr(CString strJson, CString strKey);
    static int GetJsonValueInt(CString strJson, CString strKey, int nIgnored = 0);

    static CString GetXmlAttr(CString strXml, CString strElement, CString strAttr);
    static int GetXmlAttrInt(CString strXml, CString strElement, CString strAttr, int nIgnored = 0);
    static CString GetXmlTypeValue(CString strXml, CString strName, CString strType);
    static CString GetXmlValue(CString strXml, CString strName);
    static int GetXmlValueInt(CString strXml, CString strName, int nIgnored = 0);

    // Every byte but letters, digits and "-._~" becomes "%XX".
    static CString UrlEncode(CString strText);
};

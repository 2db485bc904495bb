#include "camera/session/CCgiCmd.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace {

struct VarCase {
    const char* reply;
    const char* name;
    int noVar;
    const char* expected;
};

TEST(CgiCmd, DoubleQuotedVariables)
{
    const VarCase cases[] = {
        {"var name=\"abc\";\r\n", "name", 0, "abc"},
        {"var name = \"abc\";\r\n", "name", 0, "abc"},
        {"var name =\"abc\";", "name", 0, "abc"},
        {"var maxchn=\"3\";\nvar chn=\"1\";\n", "chn", 1, "3"},  // the bare key matches inside maxchn
        {"var maxchn=\"3\";\nvar chn=\"1\";\n", "chn", 0, "1"},
        {"chn=\"7\";", "chn", 1, "7"},
        {"chn=\"7\";", "chn", 0, ""},
        {"var name=\"say \"hi\"\";", "name", 0, "say \"hi\""},  // quotes before the ";" end it
        {"var name=\"abc\"", "name", 0, "abc"},                 // no ";": the next quote ends it
        {"var name=\"abc", "name", 0, ""},
        {"var name=12;", "name", 0, "12"},  // unquoted, through the second key
        {"var name=12;", "name", 1, "12"},
        {"var name=12", "name", 0, ""},
        {"var other=\"x\";", "name", 0, ""},
        {"", "name", 0, ""},
        {"var name=\"abc\";", "", 0, ""},
    };
    for (const VarCase& c : cases)
        EXPECT_EQ(CCgiCmd::GetCgiValue2(c.reply, c.name, c.noVar), c.expected) << c.reply;
}

TEST(CgiCmd, SingleQuotedAndUnquotedVariables)
{
    const VarCase single[] = {
        {"var rolename='admin';", "rolename", 0, "admin"}, {"var rolename = 'ad'min';", "rolename", 0, "ad'min"},
        {"var rolename='admin'", "rolename", 0, ""},       {"rolename='admin';", "rolename", 1, "admin"},
        {"var rolename=admin;", "rolename", 0, "admin"},   {"", "rolename", 0, ""},
    };
    for (const VarCase& c : single)
        EXPECT_EQ(CCgiCmd::GetCgiValue(c.reply, c.name, c.noVar), c.expected) << c.reply;

    const VarCase plain[] = {
        {"var authLevel=15;", "authLevel", 0, "15"}, {"var authLevel = 15 ;", "authLevel", 0, "15 "},
        {"authLevel=15;", "authLevel", 1, "15"},     {"var authLevel=\"15\";", "authLevel", 0, "\"15\""},
        {"var authLevel=15", "authLevel", 0, ""},    {"", "authLevel", 0, ""},
    };
    for (const VarCase& c : plain)
        EXPECT_EQ(CCgiCmd::GetCgiValueInt(c.reply, c.name, c.noVar), c.expected) << c.reply;
}

TEST(CgiCmd, IntegerVariables)
{
    EXPECT_EQ(CCgiCmd::GetCgiValueInt3("var authLevel=\"15\";", "authLevel", -1, 0), 15);
    EXPECT_EQ(CCgiCmd::GetCgiValueInt3("var name=12;", "name"), 12);
    EXPECT_EQ(CCgiCmd::GetCgiValueInt3("var name=\"x\";", "name", 99), 0);
    EXPECT_EQ(CCgiCmd::GetCgiValueInt3("var big=\"99999999999\";", "big"), INT_MAX);
    EXPECT_EQ(CCgiCmd::GetCgiValueInt3("", "name", 99), 0);
    EXPECT_EQ(CCgiCmd::GetCgiValueInt2("var chn=-3;", "chn"), -3);
    EXPECT_EQ(CCgiCmd::GetCgiValueInt2("chn=4;", "chn", 0, 1), 4);
    EXPECT_EQ(CCgiCmd::GetCgiValueInt2("", "chn", 99), 0);
}

TEST(CgiCmd, IniValues)
{
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"[vxver]\r\nvercfg = CAMXA1-N\r\n", "vxver", "vercfg", "CAMXA1-N"},
        {"[vxver]\nvercfg=CAMXA1-N\n", "vxver", "vercfg", "CAMXA1-N"},
        {"[vxver]\nvercfg\t= \"quoted\" \n", "vxver", "vercfg", "quoted"},
        {"[vxver]\nvercfgx=no\nvercfg=yes\n", "vxver", "vercfg", "yes"},
        {"[vxver]\nvercfg\nvercfg=yes\n", "vxver", "vercfg", "yes"},
        {"vercfg=before\n[vxver]\nother=1\n[more]\nvercfg=later\n", "vxver", "vercfg", "later"},
        {"[vxver] comment\nvercfg=a=b\n", "vxver", "vercfg", "a=b"},
        {"[other]\nvercfg=x\n", "vxver", "vercfg", ""},
        {"[vxver]\rvercfg=x\r", "vxver", "vercfg", ""},  // a lone CR does not end a line
        {"[VXVER]\nvercfg=x\n", "vxver", "vercfg", ""},
        {"[vxver]\nvercfg=\"\n", "vxver", "vercfg", "\""},
        {"", "vxver", "vercfg", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCgiCmd::GetInivalue(c.text, c.section, c.key), c.expected) << c.text;

    std::string longLine = "[vxver]\nvercfg=" + std::string(5000, 'v') + "\n";
    EXPECT_EQ(CCgiCmd::GetInivalue(longLine.c_str(), "vxver", "vercfg").GetLength(), 5000);
}

TEST(CgiCmd, JsonValues)
{
    struct Case {
        const char* json;
        const char* key;
        const char* expected;
    } cases[] = {
        {"{\"code\":0,\"msg\":\"ok\"}", "code", "0"},
        {"{\"code\" : 200, \"msg\" : \"done\"}", "msg", "done"},
        {"{\n  \"code\": 200,\n  \"msg\": \"done\"\n}", "msg", "done"},
        {"{\"a\":{\"b\":1,\"c\":2}}", "a", "{\"b\":1"},  // nested objects are not parsed
        {"{\"msg\":\"x\"", "msg", ""},
        {"{\"code\":0}", "msg", ""},
        {"", "code", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCgiCmd::GetJsonValueStr(c.json, c.key), c.expected) << c.json;
    EXPECT_EQ(CCgiCmd::GetJsonValueInt("{\"code\": 200, \"msg\": \"ok\"}", "code", -1), 200);
    EXPECT_EQ(CCgiCmd::GetJsonValueInt("", "code", -1), 0);
}

TEST(CgiCmd, XmlAttributes)
{
    struct Case {
        const char* xml;
        const char* element;
        const char* attr;
        const char* expected;
    } cases[] = {
        {"<?xml version=\"1.0\"?><result code=\"200\" msg=\"ok\"/>", "result", "code", "200"},
        {"<result msg=\"a > b\" code=\"200\">", "result", "code", "200"},
        {"<result msg=\"ok\">x</result><next code=\"5\"/>", "result", "code", ""},  // not beyond the tag
        {"<resultx code=\"1\"/>", "result", "code", ""},
        {"<result code=\"200", "result", "code", ""},
        {"<result code=200>", "result", "code", ""},
        {"", "result", "code", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCgiCmd::GetXmlAttr(c.xml, c.element, c.attr), c.expected) << c.xml;
    EXPECT_EQ(CCgiCmd::GetXmlAttrInt("<result code=\"200\"/>", "result", "code", -1), 200);
    EXPECT_EQ(CCgiCmd::GetXmlAttrInt("", "result", "code", -1), 0);
}

TEST(CgiCmd, XmlElements)
{
    const char* reply = "<config><OsdTime><int>1700000000</int></OsdTime><Name><string>cam &amp; 1</string></Name>"
                        "<Plain>text</Plain></config>";
    EXPECT_EQ(CCgiCmd::GetXmlValueInt(reply, "OsdTime", -1), 1700000000);
    EXPECT_EQ(CCgiCmd::GetXmlValue(reply, "Name"), "cam &amp; 1");
    EXPECT_EQ(CCgiCmd::GetXmlTypeValue(reply, "Plain", ""), "text");
    EXPECT_EQ(CCgiCmd::GetXmlTypeValue(reply, "OsdTime", "int"), "1700000000");
    EXPECT_EQ(CCgiCmd::GetXmlValue(reply, "OsdTime"), "");  // wrong type
    EXPECT_EQ(CCgiCmd::GetXmlTypeValue("<a>open only", "a", ""), "");
    EXPECT_EQ(CCgiCmd::GetXmlValue("", "Name"), "");
    EXPECT_EQ(CCgiCmd::GetXmlValueInt("", "OsdTime", -1), 0);
}

TEST(CgiCmd, UrlEncode)
{
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"a b&c=d%e", "a%20b%26c%3Dd%25e"},
        {"+/?#", "%2B%2F%3F%23"},
        {"%20", "%2520"},  // encoded once, not twice
        {"AZaz09-._~", "AZaz09-._~"},
        {"pa\"ss;\r\nX-Evil: 1", "pa%22ss%3B%0D%0AX-Evil%3A%201"},
        {"GMT+08:00", "GMT%2B08%3A00"},
        {"\xC3\xA4\x7F", "%C3%A4%7F"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCgiCmd::UrlEncode(c.text), c.expected) << c.text;
    EXPECT_EQ(CCgiCmd::UrlEncode(CString("a\0b", 3)), "a%00b");
}

}  // namespace

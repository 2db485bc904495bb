// The upgrade page's text work: the model key table, the identity split and
// a load reply read whole.
#include "camera/dialogs/forms/UpgradeForm.h"

#include <gtest/gtest.h>

namespace {

TEST(UpgradeForm, ModelKeyTable)
{
    struct Case {
        const char* vendor;
        const char* product;
        const char* model;
        const char* version;
        const char* want;
    };
    const Case cases[] = {
        {"VX", "PRODX", "C9F2Bf00", "V1", "PRODX"},
        {"vx", "lower", "C9F2Bf00", "V1", "lower"},
        {"CAMSIM", "P", "C9F2B", "V6.1.9.2.22", "CAMX"},
        {"CAMSIM", "P", "C9F2Bf00", "V6.1.9.2.21", "CAMX"},
        {"CAMSIM", "P", "C9F2Bf00", "V6.1.9.2.22", "CAMXe"},
        {"CAMSIM", "P", "C9F2Bf00", "V6.2", "CAMXe"},
        {"CAMSIM", "P", "C9F2Bf00", "", "CAMX"},
        {"CAMSIM", "P", "C9F2Bg00", "V10.1.4.7", "CAMXA1-N"},
        {"CAMSIM", "P", "C9F2Bg00", "V10.1.10.2", "CAMXA1-P"},
        {"CAMSIM", "P", "C9F2Bg00", "V10.2.0", "CAMXA1"},
        {"CAMSIM", "P", "C9F2BF00", "V10.1.4", "CAMX"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(upgrade_form::ModelKey(c.vendor, c.product, c.model, c.version), c.want)
            << c.vendor << " " << c.model << " " << c.version;
}

TEST(UpgradeForm, IdentitySplitsOnlyAtSixteenCharacters)
{
    CString id = "keep", pin = "keep";
    EXPECT_FALSE(upgrade_form::SplitIdentity("ABCDEFGHIJKLMNO", id, pin));
    EXPECT_FALSE(upgrade_form::SplitIdentity("ABCDEFGHIJKLMNOPQ", id, pin));
    EXPECT_EQ(id, "keep");
    EXPECT_EQ(pin, "keep");
    EXPECT_TRUE(upgrade_form::SplitIdentity("ABCDEFGHIJKL1234", id, pin));
    EXPECT_EQ(id, "ABCDEFGHIJKL");
    EXPECT_EQ(pin, "1234");
}

TEST(UpgradeForm, ParseTakesTheIdentityByVendor)
{
    const char* reply =
        "var product=\"PRODX\";\r\nvar devid=\"ABCDEFGHIJKL1234\";\r\nvar vendor=\"%s\";\r\nvar model=\"C9F2Bg00\";\r\n"
        "var softVersion=\"V10.1.4.1\";\r\nvar webVersion=\"2.0.10\";\r\nvar name=\"cam1\";\r\n";
    CString ours;
    ours.Format(reply, "VX");
    upgrade_form::DeviceInfo d = upgrade_form::Parse(ours);
    EXPECT_EQ(d.modelKey, "PRODX");
    EXPECT_EQ(d.identity, "ABCDEFGHIJKL1234");
    EXPECT_EQ(d.webVersion, "2.0.10");
    CString other;
    other.Format(reply, "CAMSIM");
    d = upgrade_form::Parse(other);
    EXPECT_EQ(d.modelKey, "CAMXA1-N");
    EXPECT_EQ(d.identity, "cam1");
}

}  // namespace

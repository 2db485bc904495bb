// What a person reads when a settings page refuses an Apply, where the focus
// goes, and what reaches the camera: each row types into the page's fields
// and clicks its Apply button as a person does, against camsim holding the
// settings the row gives.
#include "camera/dialogs/DialogTestMain.h"
#include "camera/dialogs/SetupDlgHarness.h"
#include "platform/ui/WindowRegistry_p.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <string>
#include <vector>

using namespace setup_harness;

namespace {

constexpr int kCameraCategory = 0, kCaptureCategory = 3;
constexpr int kTimePage = 0, kWirelessPage = 2;

template <typename T>
T* Qt_(CWnd* page, int id)
{
    QWidget* w = vxw::WidgetOf(::GetDlgItem(page->GetSafeHwnd(), id));
    if (auto* t = qobject_cast<T*>(w))
        return t;
    return w ? w->findChild<T*>() : nullptr;
}

struct Typed {
    int field;
    std::string text;  // replaces what the field holds
};

struct RefusalRow {
    const char* name;
    int category, page;
    const char* camera;  // the camera's settings before the page loads
    std::vector<Typed> typed;
    int apply;
    const char* box;  // what the person reads
    int focus;        // the field the focus lands on; 0: not checked
    const char* sent; // a part of the request sent; nullptr: nothing is set
};

void PrintTo(const RefusalRow& row, std::ostream* os)
{
    *os << row.name;
}

const char* const kWifiOn = "wf_enable=1&wf_auth=3&wf_enc=1&wf_ssid=HomeNet&wf_key=sunflower-42";

const RefusalRow kRows[] = {
    // A switched-off action's interval is greyed out: it blocks nothing and
    // goes back within the range the camera takes.
    {"capture_interval_of_an_action_switched_off", kCaptureCategory, 0, "as_email_enable=0&as_email_interval=0", {},
     IDC_APPLY, "Apply settings successfully.", 0, "-as_enable=0&-as_interval=1&-as_type=email"},
    {"capture_interval_of_an_action_switched_on", kCaptureCategory, 0, "as_email_enable=1&as_email_interval=0", {},
     IDC_APPLY, "Please enter an integer between 1 and 65535.", IDC_CAPTURE_EMAIL_INTERVAL, nullptr},
    {"camera_name_with_a_reserved_character", kCameraCategory, kTimePage, nullptr, {{IDC_TIME_NAME, "Gate&1"}},
     IDC_TIME_APPLY, "Camera name contains invalid character (&, =, `, \\, \").", IDC_TIME_NAME, nullptr},
    {"ssid_of_33_bytes", kCameraCategory, kWirelessPage, kWifiOn, {{IDC_WIFI_SSID, std::string(33, 'n')}},
     IDC_WIFI_APPLY, "Invalid SSID.", IDC_WIFI_SSID, nullptr},
    {"wpa_passphrase_of_7_characters", kCameraCategory, kWirelessPage, kWifiOn, {{IDC_WIFI_KEY, "flower7"}},
     IDC_WIFI_APPLY, "Invalid password.", IDC_WIFI_KEY, nullptr},
    {"wpa_key_of_64_characters_not_all_hexadecimal", kCameraCategory, kWirelessPage, kWifiOn,
     {{IDC_WIFI_KEY, std::string(63, 'a') + "g"}}, IDC_WIFI_APPLY, "Invalid password.", IDC_WIFI_KEY, nullptr},
    {"ssid_of_32_bytes_and_a_wpa_key_of_64_hexadecimal_digits", kCameraCategory, kWirelessPage, kWifiOn,
     {{IDC_WIFI_SSID, std::string(32, 'n')}, {IDC_WIFI_KEY, std::string(64, 'b')}}, IDC_WIFI_APPLY,
     "Apply settings successfully.", 0, "-wf_key=bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb&"},
};

class PageRefusal : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(PageRefusal, ReadsFocusesAndSends)
{
    const RefusalRow& row = GetParam();
    Fixture f({});
    ASSERT_TRUE(f.cam.ok() && f.connected) << f.cam.error();
    if (row.camera) {
        ASSERT_FALSE(f.cam.set(row.camera).empty());
    }
    auto* page = PageAt<CSettingsPage>(f.dlg, row.category, row.page);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(Loaded(page));

    for (const Typed& t : row.typed) {
        auto* edit = Qt_<QLineEdit>(page, t.field);
        ASSERT_NE(edit, nullptr) << t.field;
        ASSERT_TRUE(edit->isEnabled()) << t.field;
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromStdString(t.text));
        ASSERT_EQ(ItemText(page, t.field), t.text);
    }
    auto* apply = Qt_<QAbstractButton>(page, row.apply);
    ASSERT_NE(apply, nullptr);
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);

    EXPECT_EQ(f.boxes.Next().text, row.box);
    ASSERT_TRUE(Idle(page));
    if (row.focus) {
        EXPECT_EQ(::GetFocus(), page->GetDlgItem(row.focus)->GetSafeHwnd());
    }
    std::string requests = f.Log();
    if (row.sent) {
        EXPECT_NE(requests.find(row.sent), std::string::npos) << requests;
    } else {
        EXPECT_EQ(requests.find("cmd=set"), std::string::npos) << requests;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, PageRefusal, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<RefusalRow>& info) { return std::string(info.param.name); });

}  // namespace

int main(int argc, char** argv)
{
    return dialog_tests::Main(argc, argv);
}

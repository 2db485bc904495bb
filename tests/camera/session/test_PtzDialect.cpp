// Each family's PTZ request for a command: the path, the method, or none.
#include "camera/session/PtzDialect.h"

#include <gtest/gtest.h>

namespace {

TEST(PtzDialect, RequestsByFamilyCodeSpeedAndPreset)
{
    struct Row {
        int chip;
        const char* model;
        int code, speed, preset;
        const char* path;  // null: nothing is sent
        BOOL post;
    };
    const char* const none = nullptr;
    const Row rows[] = {
        {71, "CAMXA1-N", 1, 50, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=up&-speed=31", FALSE},
        {71, "CAMXC4-HX", 1, 50, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=up&-speed=4", FALSE},
        {71, "CAMXC4-HX-2", 7, 100, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=right&-speed=8", FALSE},
        {71, "CAMXA1-N", 3, 150, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=down&-speed=1", FALSE},
        {71, "CAMXA1-N", 5, -3, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=left&-speed=1", FALSE},
        {71, "CAMXA1-N", 44, 50, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=stop&-speed=31", FALSE},
        {71, "CAMXA1-N", 18, 50, 1, "/cgi-bin/hi3510/param.cgi?cmd=preset&-act=goto&-status=1&-number=0", FALSE},
        {71, "CAMXA1-N", 17, 50, 255, "/cgi-bin/hi3510/param.cgi?cmd=preset&-act=set&-status=1&-number=254", FALSE},
        {71, "CAMXA1-N", 18, 50, 0, none, FALSE},
        {71, "CAMXA1-N", 17, 50, 256, none, FALSE},
        {71, "CAMXA1-N", 19, 50, 3, none, FALSE},
        {71, "CAMXA1-N", 28, 50, 0, none, FALSE},
        {71, "CAMXA1-N", 30, 50, 0, none, FALSE},
        {71, "CAMXA1-N", 39, 50, 0, none, FALSE},
        {71, "CAMXC4-HX", 43, 50, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=vscan&-speed=4", FALSE},
        {71, "CAMXA1-N", 45, 50, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=home&-speed=31", FALSE},
        {71, "CAMXA1-N", 99, 50, 0, none, FALSE},
        {72, "", 20, 50, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=zoomin&-speed=31", FALSE},
        {73, "", 26, 50, 0, "/cgi-bin/hi3510/ptzctrl.cgi?-step=0&-act=focusout&-speed=31", FALSE},
        {76, "", 1, 50, 0, "/cgi-bin/ptz_ctrl?move_x=0&move_y=1&speed=1&username=ad%20m&password=p%26w", FALSE},
        {76, "", 5, 5, 0, "/cgi-bin/ptz_ctrl?move_x=-1&move_y=0&speed=1&username=ad%20m&password=p%26w", FALSE},
        {76, "", 2, 50, 0, "/cgi-bin/ptz_ctrl?stop=1&username=ad%20m&password=p%26w", FALSE},
        {76, "", 17, 50, 5, "/cgi-bin/ptz_ctrl?add_preset=5&username=ad%20m&password=p%26w", FALSE},
        {76, "", 19, 50, 0, "/cgi-bin/ptz_ctrl?delete_preset=0&username=ad%20m&password=p%26w", FALSE},
        {76, "", 30, 50, 0, "/cgi-bin/ptz_ctrl?iris=-1&username=ad%20m&password=p%26w", FALSE},
        {76, "", 45, 50, 0, none, FALSE},
        {76, "", 39, 50, 0, none, FALSE},
        {77, "", 20, 50, 0, "/cgi-bin/web.cgi?{\"mod\":\"ptz\",\"cmd\":\"set\",\"param\":{\"command\":7}}", TRUE},
        {77, "", 17, 50, 5,
         "/cgi-bin/web.cgi?{\"mod\":\"ptz\",\"cmd\":\"set\",\"param\":{\"command\":11,\"speed\":1,\"preset_id\":[5]}}",
         TRUE},
        {77, "", 45, 50, 0, "/cgi-bin/web.cgi?{\"mod\":\"ptz\",\"cmd\":\"set\",\"param\":{\"command\":9}}", TRUE},
        {77, "", 28, 50, 0, none, FALSE},
        {77, "", 43, 50, 0, none, FALSE},
    };
    for (const Row& r : rows) {
        auto req = BuildPtzRequest(r.chip, r.model, r.code, r.speed, r.preset, "ad%20m", "p%26w");
        SCOPED_TRACE(testing::Message() << r.chip << " " << r.model << " code " << r.code << " speed " << r.speed
                                        << " preset " << r.preset);
        if (!r.path) {
            EXPECT_FALSE(req.has_value());
            continue;
        }
        ASSERT_TRUE(req.has_value());
        EXPECT_STREQ(static_cast<const char*>(req->strPath), r.path);
        EXPECT_EQ(req->bPost, r.post);
    }
}

}  // namespace

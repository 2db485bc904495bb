// Every module of the system loaded at once, as in the recorder's process:
// each (type, id) must be defined once in its module and found in one
// module only, so a look-up along the chain can never return another
// module's resource by accident. The few ids that the camera library and
// the recorder's resource library both define are read by module handle.
#include "platform/platform.h"
#include "platform/ui/ResourceModule.h"
#include "resources/vxcam/VxcamResources.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Key = std::pair<std::string, UINT>;

std::string Describe(const Key& key)
{
    return key.first + "/" + std::to_string(key.second);
}

TEST(ResourceChain, EachResourceIsDefinedOnceAndFoundInOneModule)
{
    ASSERT_NE(VxcamResourceHandle(), nullptr);
    HMODULE res = LoadLibrary("VXKSTRes");
    ASSERT_NE(res, nullptr);
    HINSTANCE vxkst = vxw::ResourceModuleOfLibrary(res);
    ASSERT_NE(vxkst, nullptr);

    // Read by their own module's handle in the camera library (the video
    // surface's status texts and context menu), shown by the recorder from
    // its own library; each side keeps its own wording.
    const std::set<Key> sharedByDesign = {
        {"#6", 21},
        {"#6", 339},
        {"#6", 340},
        {"#4", 5175},
    };

    std::map<Key, std::vector<std::string>> owners;
    std::set<std::string> names;
    for (HINSTANCE h : vxw::RegisteredResourceModules()) {
        const vxw::ResourceModule* m = vxw::FindResourceModule(h);
        ASSERT_NE(m, nullptr);
        names.insert(m->name());
        for (const Key& key : m->Replaced())
            ADD_FAILURE() << m->name() << " defines " << Describe(key) << " more than once";
        for (const Key& key : m->Entries())
            owners[key].push_back(m->name());
    }
    EXPECT_TRUE(names.count("vxcam"));
    EXPECT_TRUE(names.count("VXKSTRes"));
    EXPECT_GE(names.size(), 3u);  // and the program's own table

    size_t entries = 0;
    for (auto& [key, modules] : owners) {
        ++entries;
        if (modules.size() > 1 && !sharedByDesign.count(key)) {
            std::string list;
            for (auto& n : modules)
                list += " " + n;
            ADD_FAILURE() << Describe(key) << " is defined in several modules:" << list;
        }
    }
    EXPECT_GT(entries, 100u);
    // The list above stays honest: each of its ids is in fact in two modules.
    for (const Key& key : sharedByDesign)
        EXPECT_GE(owners[key].size(), 2u) << Describe(key) << " is no longer shared";
    FreeLibrary(res);
}

}  // namespace

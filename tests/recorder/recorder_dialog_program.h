#pragma once
// A program folder for the recorder's dialogs in process: the shipped skin,
// a configuration, an SQLite database with cameras, the resource library,
// and XDG_CONFIG_HOME inside the folder so the registry and the autostart
// entries stay there.

#include "recorder_test_env.h"

#include "recorder/CGlobalInfo.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace rectest {

class DialogProgram {
public:
    explicit DialogProgram(const std::string& sysParam = "")
    {
        mkdir(dir.file("config").c_str(), 0700);
        mkdir(dir.file("xdg").c_str(), 0700);
        setenv("XDG_CONFIG_HOME", dir.file("xdg").c_str(), 1);
        WriteFile(dir.file("config/vxkstskin.ini"),
                  ReadFile(std::string(VX_SOURCE_DIR) + "/recorder/config/vxkstskin.ini"));
        WriteFile(config(), "[Config]\nDataType=1\n[SysParam]\n" + sysParam);
        CGlobalInfo& g = GlobalInfo();
        AfxSetResourceHandle(ResourceLibrary());
        g.m_hSkinModule = ResourceLibrary();
        g.LoadConfig((dir.path() + "/").c_str());
    }
    ~DialogProgram() { GlobalInfo().FreeAll(); }

    std::string config() const { return dir.file("config/vxkstcfg.ini"); }
    std::string database() const { return GlobalInfo().m_strSqlitePath.GetString(); }

    // Cameras by name, saved as the add dialog saves them.
    void AddCameras(const std::vector<std::string>& names)
    {
        CGlobalInfo& g = GlobalInfo();
        for (const std::string& name : names) {
            STIPCfgKst c;
            c.CAMERAID = -1;
            CopyTextField(c.NAME, name.c_str());
            CopyTextField(c.IP, "10.1.1.1");
            c.TYPE = 2;
            c.PORT = 80;
            c.RTSP = 554;
            g.m_db.SaveCamera(c);
        }
        g.m_arrCameras.RemoveAll();
        g.m_db.LoadCameras(g.m_arrCameras);
    }

    vxtest::TempDir dir{"vx-recdlg"};
};

}  // namespace rectest

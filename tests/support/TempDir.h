#pragma once
// A fresh folder of its own under the system's temporary folder, removed with
// everything in it when the object goes, write-protected entries included.
//
//   vxtest::TempDir dir("vx-profile");
//   ASSERT_TRUE(dir.ok());
//   std::string ini = dir.file("settings.ini");

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace vxtest {

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "vxtest")
    {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        if (ec)
            base = "/tmp";
        std::string tmpl = (base / (prefix + "-XXXXXX")).string();
        if (mkdtemp(tmpl.data()))
            m_path = tmpl;
    }
    ~TempDir() { remove(); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    bool ok() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    void remove()
    {
        if (m_path.empty())
            return;
        namespace fs = std::filesystem;
        std::error_code ec;
        // A test may leave folders it made read-only; they must open up
        // again before their entries can go.
        for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        }
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_path, ec);
        m_path.clear();
    }

    std::string m_path;
};

}  // namespace vxtest

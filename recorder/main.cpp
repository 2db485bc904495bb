// VXKST-HD: the one application object and the program's entry.
#include "recorder/AppPath.h"
#include "recorder/CVSClientApp.h"

#include <sys/stat.h>

namespace {

CVSClientApp theApp;

}  // namespace

int main(int argc, char** argv)
{
    // The database holds the cameras' passwords and the recordings show
    // what the cameras see: what the program creates is its user's alone.
    // Files that exist keep the mode they have.
    umask(077);
    TakeProgramDirOption(argc, argv);
    return AfxWinMain(argc, argv);
}

// VXKST-HD: the one application object and the program's entry.
#include "recorder/AppPath.h"
#include "recorder/CVSClientApp.h"

namespace {

CVSClientApp theApp;

}  // namespace

int main(int argc, char** argv)
{
    TakeProgramDirOption(argc, argv);
    return AfxWinMain(argc, argv);
}

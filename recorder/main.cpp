// VXKST-HD: the one application object and the program's entry.
#include "recorder/CVSClientApp.h"

namespace {

CVSClientApp theApp;

}  // namespace

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}

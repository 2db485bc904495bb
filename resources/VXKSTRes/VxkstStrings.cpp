#include "resources/VXKSTRes/VxkstResources_p.h"

namespace vxkst_res {

void FillStrings(vxw::ResourceModule& m)
{
    const struct {
        UINT id;
        const char* text;
    } strings[] = {
        {1, "Error"},
        {3, "Please enter the user name for the camera."},
        {5, "Please enter a name for the camera."},
        {14, "Channel "},
        {15, "Name"},
        {16, "Type"},
        {19, "Stream"},
        {20, "Legacy camera"},
        {21, "Network camera"},
        {27, "Network video recorder"},
        {28, "Main stream"},
        {29, "Sub stream"},
        {30, "Third stream"},
        {32, "No."},
        {89,
         "The record folder is not a folder and cannot be made. Enter a full path, such as /home/user/recordings/."},
        {90, "Please enter a record folder."},
        {131, "On one day the start time must lie before the end time."},
        {133, "No."},
        {134, "File"},
        {135, "Size"},
        {136, "The dates must lie between 1970 and 2038, and the end date not before the start date."},
        {139, "Delete the selected recording?"},
        {140, "The recording cannot be deleted."},
        {151, "Start time"},
        {152, "Path"},
        {155, "Free space"},
        {200, "Please enter the camera's host: a name that can be found or an address such as 192.168.1.20."},
        {215, "Add a camera"},
        {221, "Recording schedule"},
        {231, "Clear the whole week"},
        {233, "Choose a folder"},
        {235, "Delete all cameras"},
        {236, "Stop all cameras"},
        {237, "Start all cameras"},
        {245, "Search recordings"},
        {246, "System settings"},
        {311, "Minimise"},
        {312, "Close"},
        {326, "VXKST-HD Recorder"},
        {327, "Do you want to exit the recorder?"},
        {328, "Choose the record folder"},
        {329, "Do you want to delete all cameras?"},
        {330, "Playback failed"},
        {331, "Connection failed"},
        {332, "No camera"},
        {333, "Idle"},
        {334, "Stopped"},
        {335, "Recording"},
        {336, "Outside the schedule"},
        {337, "Recording off"},
        {338, "Disk space low"},
        {339, "Host"},
        {340, "Status"},
        {341, "Cameras are recording. Do you want to stop them and exit?"},
        {342, "Cameras are recording. Do you want to stop them and delete all cameras?"},
        {343, "Do you want to start all cameras?"},
        {344, "Do you want to stop all cameras?"},
        {345, "Do you want to delete this camera?"},
        {346, "Waiting for motion"},
        {360, "The recording cannot be opened:"},
        {361, "No program on this computer is set to open this kind of file."},
        {362, "The file is not there any more."},
        {363, "The file is not a recording."},
        {364, "No schedule"},
        {365, "Login refused"},
    };
    for (const auto& s : strings)
        m.AddString(s.id, s.text);
}

}  // namespace vxkst_res

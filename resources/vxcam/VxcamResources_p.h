#pragma once
// Each group of the camera library's resources fills the module from a
// file of its own (declared here); FillAll in VxcamResources.cpp calls them.

#include "platform/ui/ResourceModule.h"

namespace vxcam_res {

void FillAll(vxw::ResourceModule& m);
void FillSurface(vxw::ResourceModule& m);
void FillSettings(vxw::ResourceModule& m);
void FillMail(vxw::ResourceModule& m);
void FillZones(vxw::ResourceModule& m);
void FillProgress(vxw::ResourceModule& m);
void FillSdCard(vxw::ResourceModule& m);
void FillRecord(vxw::ResourceModule& m);
void FillDevicePages(vxw::ResourceModule& m);
void FillUpgrade(vxw::ResourceModule& m);
void FillMotion(vxw::ResourceModule& m);
void FillSdPlay(vxw::ResourceModule& m);
void FillWireless(vxw::ResourceModule& m);

}  // namespace vxcam_res

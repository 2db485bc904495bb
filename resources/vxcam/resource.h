#pragma once
// Resource ids of the camera library's own table (module "vxcam").
// The camera library keeps its ids from 500 up (menus, icons), 600-999
// (dialogs and their controls) and 20000-29999 (strings, dialogs, controls);
// the recorder's VXKSTRes uses ids below 500 and 5000-5999, so an id the
// two share is looked up by the module handle, never along the chain.

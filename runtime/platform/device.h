// The handheld's hardware as the game probes it. On a PC the environment
// stands in for the device: ORVALE_DEVICE names the device (see
// DeviceName in system.h), ORVALE_TOUCHSCREEN a file that stands for the
// touchscreen's device node.
#pragma once

#include <string>

namespace platform {

// Device node of the F200's touchscreen: ORVALE_TOUCHSCREEN when set and not
// empty, else "/dev/touchscreen/wm97xx".
std::string TouchscreenPath();

// True when anything (file, device node, folder) exists at path.
bool PathPresent(const char* path);

}  // namespace platform

// The platform information query of the command layer.
#pragma once

#include "core/basic_string.h"

// Answers the key, which is turned to upper case in place: "" gives "WIN32",
// "GLEXT:<function>" "1" or "0", "ID" an eight-digit machine identifier,
// "DEVICE" the device name, "TIME" the local time "Y-M-D hh:mm:ss" (hour,
// minute and second two characters wide); anything else "NO_DATA".
BasicString PlatformInfo(BasicString& key);

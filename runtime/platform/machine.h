// Facts about the machine the runtime runs on.
#pragma once

#include <cstdint>

namespace platform {

// True when the OpenGL function of that name is exported by the loaded GL
// library (false while none is loaded).
bool GlFunctionExists(const char* name);

// A 32-bit identifier of the root file system; false when none is known.
bool VolumeSerial(uint32_t* serial);

}  // namespace platform

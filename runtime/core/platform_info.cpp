#include "core/platform_info.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/string_builtins.h"
#include "core/string_ops.h"
#include "platform/machine.h"
#include "platform/system.h"

static BasicString MachineId() {
  uint32_t serial = 0;
  if (!platform::VolumeSerial(&serial)) serial = 0x00FA17EDu;
  serial ^= 0x6C2E91A4u;
  uint8_t bytes[4] = {uint8_t(serial), uint8_t(serial >> 8), uint8_t(serial >> 16),
                      uint8_t(serial >> 24)};
  return HexBytes(bytes, 4);
}

static BasicString LocalTime() {
  std::time_t now = std::time(nullptr);
  std::tm t = {};
  if (std::tm* lt = std::localtime(&now)) t = *lt;
  BasicString r;
  StrAssignInt(r, t.tm_year + 1900);
  StrAppendCStr(r, "-");
  StrAppendInt(r, t.tm_mon + 1);
  StrAppendCStr(r, "-");
  StrAppendInt(r, t.tm_mday);
  StrAppendCStr(r, " ");
  StrAppend(r, FormatNumber(2, 0, t.tm_hour));
  StrAppendCStr(r, ":");
  StrAppend(r, FormatNumber(2, 0, t.tm_min));
  StrAppendCStr(r, ":");
  StrAppend(r, FormatNumber(2, 0, t.tm_sec));
  return r;
}

BasicString PlatformInfo(BasicString& key) {
  BasicString given(key);
  for (uint32_t i = 0; i < key.length; ++i)
    if (key.buffer[i] >= 'a' && key.buffer[i] <= 'z') key.buffer[i] = char(key.buffer[i] - 32);
  const char* k = StrCStr(key);
  if (key.length == 0) return BasicString("WIN32");
  if (std::strncmp(k, "GLEXT:", 6) == 0)
    return BasicString(platform::GlFunctionExists(StrCStr(given) + 6) ? "1" : "0");
  if (std::strcmp(k, "ID") == 0) return MachineId();
  if (std::strcmp(k, "DEVICE") == 0) return BasicString(platform::DeviceName().c_str());
  if (std::strcmp(k, "TIME") == 0) return LocalTime();
  return BasicString("NO_DATA");
}

// libFuzzer target: the binary .ddd reader on arbitrary bytes, as they come
// and behind a valid magic and version so that the body is reached.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model_checks.h"
#include "models/ddd_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TrimErrorLog();
  MeshObjectX mesh;
  CheckAndDerive(mesh, ReadDddBytes(&mesh, data, size, "fuzz.ddd", size > 0 && (data[0] & 1)));

  static const uint8_t kHead[12] = {0x17, 0xB3, 0xC6, 0x00, 0x52, 0xB8, 0x1E, 0x85, 0xEB, 0x51, 0xF0, 0x3F};
  std::vector<uint8_t> file(kHead, kHead + sizeof kHead);
  file.insert(file.end(), data, data + size);
  MeshObjectX second;
  CheckAndDerive(second, ReadDddBytes(&second, file.data(), file.size(), "fuzz.ddd", true));
  return 0;
}

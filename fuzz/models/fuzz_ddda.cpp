// libFuzzer target: the DDDA text reader on arbitrary bytes, as they come
// and behind a valid header.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model_checks.h"
#include "models/ddd_file.h"
#include "models/ddd_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TrimErrorLog();
  MeshObjectX mesh;
  CheckAndDerive(mesh, ReadDddTextBytes(&mesh, data, size, "fuzz.ddd"));

  const char* head = size > 0 && (data[0] & 1) ? "DDDA 1.1\n" : "DDDA 1.0 ";
  std::vector<uint8_t> file(head, head + std::strlen(head));
  file.insert(file.end(), data, data + size);
  MeshObjectX second;
  CheckAndDerive(second, ReadDddBytes(&second, file.data(), file.size(), "fuzz.ddd", false));
  return 0;
}

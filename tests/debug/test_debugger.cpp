#include "test_debugger.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/debug_link.h"

namespace fs = std::filesystem;

static constexpr int kTimeoutMs = 20000;

uint32_t TargetLine(const std::string& tag) {
  std::ifstream in(std::string(ORVALE_SOURCE_DIR) + "/tests/debug/debug_target.cpp");
  std::string line;
  std::string want = "// @" + tag;
  for (uint32_t n = 1; std::getline(in, line); ++n) {
    size_t at = line.rfind(want);
    if (at != std::string::npos && at + want.size() == line.size()) return n;
  }
  return 0;
}

TestDebugger::TestDebugger() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  char name[64];
  std::snprintf(name, sizeof name, "orvdbg-%08x-%d", unsigned(rd()), counter++);
  folder_ = (fs::temp_directory_path() / name).string();
  fs::create_directories(folder_);
  socketPath_ = folder_ + "/link";
  listener_ = platform::DebuggerListen(socketPath_);
}

TestDebugger::~TestDebugger() {
  platform::DebuggerClose(connection_);
  platform::DebuggerClose(listener_);
  if (pid_ > 0) platform::WaitProcess(pid_, kTimeoutMs, nullptr);
  std::error_code ec;
  fs::remove_all(folder_, ec);
}

bool TestDebugger::Start(const std::vector<std::string>& args, bool link) {
  if (listener_ < 0) return false;
  std::vector<std::string> env = {"TMPDIR=" + folder_, "ORVALE_DEVICE=DESKTOP",
                                  std::string(platform::kDebugLinkVariable) + "=" +
                                      (link ? socketPath_ : "")};
  pid_ = platform::StartProcess(DEBUG_TARGET_PATH, args, env);
  if (pid_ <= 0) return false;
  if (!link) return true;
  int peer = -1;
  connection_ = platform::DebuggerAccept(listener_, kTimeoutMs, &peer);
  return connection_ >= 0 && peer == pid_;
}

bool TestDebugger::NextBreak(TargetBreak* out) {
  if (connection_ < 0) return false;
  std::string text;
  for (;;) {
    int got = platform::DebuggerReceive(connection_, text, kTimeoutMs);
    if (got <= 0) return false;
    if (text.rfind("TX", 0) == 0) {
      texts_.push_back(text.substr(2));
      continue;
    }
    if (text.rfind("BP", 0) != 0 || text.size() < 3) return false;
    current_ = {};
    current_.blockAddress = std::strtoull(text.c_str() + 2, nullptr, 16);
    if (!platform::ReadProcessMemory(pid_, current_.blockAddress, &current_.block,
                                     sizeof current_.block))
      return false;
    if (out) *out = current_;
    return true;
  }
}

bool TestDebugger::Answer() { return platform::DebuggerAnswer(connection_); }

int TestDebugger::Finish() {
  int code = -1;
  if (pid_ > 0 && platform::WaitProcess(pid_, kTimeoutMs, &code) != 1) code = -1;
  pid_ = -1;
  return code;
}

bool TestDebugger::SetWord(size_t offset, uint32_t value) {
  return platform::WriteProcessMemory(pid_, current_.blockAddress + offset, &value, sizeof value);
}

bool TestDebugger::SetBreakpoint(uint32_t index, uint32_t file, uint32_t line) {
  uint64_t files = reinterpret_cast<uintptr_t>(current_.block.breakpointFiles);
  uint64_t lines = reinterpret_cast<uintptr_t>(current_.block.breakpointLines);
  return platform::WriteProcessMemory(pid_, files + 4ull * index, &file, 4) &&
         platform::WriteProcessMemory(pid_, lines + 4ull * index, &line, 4);
}

std::string TestDebugger::ReadCString(uint64_t address) {
  std::string s;
  char c;
  while (s.size() < 256 && platform::ReadProcessMemory(pid_, address + s.size(), &c, 1) && c)
    s.push_back(c);
  return s;
}

std::vector<std::string> TestDebugger::Names(bool locals) {
  std::vector<std::string> names;
  uint64_t base = reinterpret_cast<uintptr_t>(locals ? current_.block.localRecords
                                                     : current_.block.globalRecords);
  uint32_t count = locals ? current_.block.localCount : current_.block.globalCount;
  for (uint32_t i = 0; i < count; ++i) {
    DebugVarRecord r;
    if (!platform::ReadProcessMemory(pid_, base + i * sizeof r, &r, sizeof r)) break;
    names.push_back(ReadCString(reinterpret_cast<uintptr_t>(r.name)));
  }
  return names;
}

bool TestDebugger::Find(bool locals, const std::string& name, DebugVarRecord* record) {
  uint64_t base = reinterpret_cast<uintptr_t>(locals ? current_.block.localRecords
                                                     : current_.block.globalRecords);
  uint32_t count = locals ? current_.block.localCount : current_.block.globalCount;
  for (uint32_t i = 0; i < count; ++i) {
    if (!platform::ReadProcessMemory(pid_, base + i * sizeof *record, record, sizeof *record))
      return false;
    if (ReadCString(reinterpret_cast<uintptr_t>(record->name)) == name) return true;
  }
  return false;
}

bool TestDebugger::Has(bool locals, const std::string& name) {
  DebugVarRecord r;
  return Find(locals, name, &r);
}

double TestDebugger::Number(bool locals, const std::string& name) {
  DebugVarRecord r;
  double v = -12345;
  if (Find(locals, name, &r) && r.kind == DEBUG_VAR_NUMBER)
    platform::ReadProcessMemory(pid_, reinterpret_cast<uintptr_t>(r.address), &v, sizeof v);
  return v;
}

bool TestDebugger::SetNumber(bool locals, const std::string& name, double value) {
  DebugVarRecord r;
  return Find(locals, name, &r) && r.kind == DEBUG_VAR_NUMBER &&
         platform::WriteProcessMemory(pid_, reinterpret_cast<uintptr_t>(r.address), &value,
                                      sizeof value);
}

std::string TestDebugger::String(bool locals, const std::string& name) {
  DebugVarRecord r;
  if (!Find(locals, name, &r) || r.kind != DEBUG_VAR_STRING) return "<none>";
  uint64_t at = reinterpret_cast<uintptr_t>(r.address);
  uint64_t buffer = 0;
  uint32_t length = 0;
  if (!platform::ReadProcessMemory(pid_, at + DEBUG_STRING_BUFFER_OFFSET, &buffer, 8) ||
      !platform::ReadProcessMemory(pid_, at + DEBUG_STRING_LENGTH_OFFSET, &length, 4))
    return "<unreadable>";
  std::string text(length, '\0');
  if (length && !platform::ReadProcessMemory(pid_, buffer, text.data(), length))
    return "<unreadable>";
  return text;
}

bool TestDebugger::ArrayShape(bool locals, const std::string& name, uint32_t* size0,
                              uint32_t* dimensions) {
  DebugVarRecord r;
  if (!Find(locals, name, &r) || r.kind != DEBUG_VAR_ARRAY) return false;
  uint64_t at = reinterpret_cast<uintptr_t>(r.address);
  return platform::ReadProcessMemory(pid_, at + DEBUG_ARRAY_SIZE0_OFFSET, size0, 4) &&
         platform::ReadProcessMemory(pid_, at + DEBUG_ARRAY_DIMENSIONS_OFFSET, dimensions, 4);
}

double TestDebugger::ArrayAt(bool locals, const std::string& name, uint32_t i) {
  DebugVarRecord r;
  double v = -12345;
  uint64_t data = 0;
  if (Find(locals, name, &r) && r.kind == DEBUG_VAR_ARRAY &&
      platform::ReadProcessMemory(pid_, reinterpret_cast<uintptr_t>(r.address), &data, 8) && data)
    platform::ReadProcessMemory(pid_, data + 8ull * i, &v, sizeof v);
  return v;
}

std::string TestDebugger::ReadFile(const std::string& name) const {
  std::ifstream in(folder_ + "/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

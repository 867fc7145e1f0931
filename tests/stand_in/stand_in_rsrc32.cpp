// The stand-in Resource Meter library; its behaviour is described in
// stand_in_rsrc32.h. Everything is re-read on every call because the program
// keeps the library loaded for its whole run while the test changes answers.
#include "tests/stand_in/stand_in_rsrc32.h"

#include <windows.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// The live process environment, not the C runtime's start-up copy, so a
// SetEnvironmentVariableA in the calling process is seen at once.
std::string environmentValue(const char* name) {
  std::array<char, 32768> buffer{};
  DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return {};
  return std::string(buffer.data(), length);
}

bool parseAnswer(const std::string& line, std::int32_t& value) {
  const char* begin = line.c_str();
  char* end = nullptr;
  long parsed = std::strtol(begin, &end, 10);
  if (end == begin) return false;
  value = static_cast<std::int32_t>(parsed);
  return true;
}

std::array<std::int32_t, 3> readAnswers() {
  std::array<std::int32_t, 3> answers{stand_in::kDefaultSystem, stand_in::kDefaultGdi,
                                      stand_in::kDefaultUser};
  std::string path = environmentValue(stand_in::kControlVariable);
  if (path.empty()) return answers;
  std::ifstream control(path, std::ios::binary);
  std::string line;
  for (std::int32_t& answer : answers) {
    if (!std::getline(control, line)) break;
    std::int32_t value = 0;
    if (parseAnswer(line, value)) answer = value;
  }
  return answers;
}

void logCall(std::int32_t which) {
  std::string path = environmentValue(stand_in::kLogVariable);
  if (path.empty()) return;
  std::ofstream log(path, std::ios::binary | std::ios::app);
  log << which << "\r\n";
}

}  // namespace

// Exported as "_MyGetFreeSystemResources32@4" through rsrc32.def.
extern "C" std::int32_t WINAPI standInFreeSystemResources(std::int32_t which) {
  logCall(which);
  if (which < 0 || which > 2) return stand_in::kStandInOtherAnswer;
  return readAnswers()[static_cast<std::size_t>(which)];
}

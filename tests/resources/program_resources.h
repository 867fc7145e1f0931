// The built Quimbel.exe, loaded as a data file so its resources can be read
// without running it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "framework/handles.h"

namespace resources {

// Path of the executable under test, from --quimbel= (main.cpp).
const std::string& programPath();

// The two languages of the texts; the layouts checked in detail are the
// Japanese ones.
constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

struct ResourceBytes {
  const void* data = nullptr;
  std::size_t size = 0;
  explicit operator bool() const { return data != nullptr; }
};

// One (type, name, language) the image holds; integer types and names as
// their numbers, string ones as text.
struct ResourceKey {
  bool typeIsNumber = false;
  WORD typeNumber = 0;
  std::string typeName;
  bool nameIsNumber = false;
  WORD nameNumber = 0;
  std::string nameText;
  WORD language = 0;

  std::string describe() const;
};

class ProgramResources {
 public:
  explicit ProgramResources(const std::string& path);

  bool loaded() const { return static_cast<bool>(module_); }
  DWORD loadError() const { return loadError_; }

  // The resource in that language only (Japanese unless said); empty when
  // there is none in it.
  ResourceBytes find(LPCSTR type, WORD id, WORD language = kJapanese) const;

  // Every resource of every type in every language.
  std::vector<ResourceKey> list() const;

 private:
  fw::Module module_;
  DWORD loadError_ = 0;
};

}  // namespace resources

#include "framework/resources.h"

#include "framework/platform_text.h"

namespace fw {
namespace {

LANGID chosenLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

HMODULE program() { return GetModuleHandleA(nullptr); }

const void* bytesOf(HRSRC info) {
  if (!info) return nullptr;
  HGLOBAL loaded = LoadResource(program(), info);
  return loaded ? LockResource(loaded) : nullptr;
}

}  // namespace

void setResourceLanguage(LANGID language) { chosenLanguage = language; }

LANGID resourceLanguage() { return chosenLanguage; }

const void* findResource(LPCSTR type, int id) {
  // The narrow call serves both families: the names are numbers.
  const LPCSTR name = MAKEINTRESOURCEA(id);
  if (const void* bytes = bytesOf(FindResourceExA(program(), type, name, chosenLanguage))) return bytes;
  return bytesOf(FindResourceA(program(), name, type));
}

std::wstring loadString(int id) {
  // Strings are kept sixteen to a block, each as its length and its UTF-16
  // characters; the block's name is the id's sixteenth plus one.
  const auto* entry = static_cast<const WORD*>(findResource(RT_STRING, id / 16 + 1));
  if (!entry) return {};
  for (int skip = id % 16; skip > 0; --skip) entry += 1 + *entry;
  return std::wstring(reinterpret_cast<const wchar_t*>(entry + 1), *entry);
}

HMENU loadMenu(int id) {
  const void* menu = findResource(RT_MENU, id);
  if (!menu) return nullptr;
  // Menu templates are UTF-16 for either call; the narrow one is what the
  // 9x family carries, and it shows the texts in the system's code page.
  return usesWideText() ? LoadMenuIndirectW(menu) : LoadMenuIndirectA(menu);
}

std::wstring fillIn(const std::wstring& pattern, std::initializer_list<std::wstring> arguments) {
  std::wstring result;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
    if (pattern[i] == L'%' && next >= L'1' && next <= L'9') {
      const auto index = static_cast<std::size_t>(next - L'1');
      if (index < arguments.size()) result += arguments.begin()[index];
      ++i;
    } else {
      result += pattern[i];
    }
  }
  return result;
}

}  // namespace fw

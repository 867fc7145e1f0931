#include "tests/resources/program_resources.h"

#include <cstdio>

namespace resources {

namespace {

struct Listing {
  std::vector<ResourceKey>* keys;
  ResourceKey current;
};

BOOL CALLBACK onLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR context) {
  auto* listing = reinterpret_cast<Listing*>(context);
  ResourceKey key = listing->current;
  key.language = language;
  listing->keys->push_back(key);
  return TRUE;
}

BOOL CALLBACK onName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR context) {
  auto* listing = reinterpret_cast<Listing*>(context);
  listing->current.nameIsNumber = IS_INTRESOURCE(name);
  if (listing->current.nameIsNumber) {
    listing->current.nameNumber = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    listing->current.nameText.clear();
  } else {
    listing->current.nameText = name;
  }
  EnumResourceLanguagesA(module, type, name, onLanguage, context);
  return TRUE;
}

BOOL CALLBACK onType(HMODULE module, LPSTR type, LONG_PTR context) {
  auto* listing = reinterpret_cast<Listing*>(context);
  listing->current = ResourceKey{};
  listing->current.typeIsNumber = IS_INTRESOURCE(type);
  if (listing->current.typeIsNumber) {
    listing->current.typeNumber = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(type));
  } else {
    listing->current.typeName = type;
  }
  EnumResourceNamesA(module, type, onName, context);
  return TRUE;
}

}  // namespace

std::string ResourceKey::describe() const {
  char languageText[16];
  std::snprintf(languageText, sizeof languageText, "0x%04X", language);
  std::string type = typeIsNumber ? "type " + std::to_string(typeNumber) : "type \"" + typeName + "\"";
  std::string name = nameIsNumber ? "id " + std::to_string(nameNumber) : "name \"" + nameText + "\"";
  return type + ", " + name + ", language " + languageText;
}

ProgramResources::ProgramResources(const std::string& path) {
  module_.reset(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module_) loadError_ = GetLastError();
}

ResourceBytes ProgramResources::find(LPCSTR type, WORD id, WORD language) const {
  HRSRC info = FindResourceExA(module_.get(), type, MAKEINTRESOURCEA(id), language);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module_.get(), info);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {data, SizeofResource(module_.get(), info)};
}

std::vector<ResourceKey> ProgramResources::list() const {
  std::vector<ResourceKey> keys;
  Listing listing{&keys, {}};
  EnumResourceTypesA(module_.get(), onType, reinterpret_cast<LONG_PTR>(&listing));
  return keys;
}

}  // namespace resources

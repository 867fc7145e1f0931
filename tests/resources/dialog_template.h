// The extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX
// items) read field by field from a compiled RT_DIALOG resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/resources/resource_bytes.h"

namespace resources {

struct DialogItem {
  std::uint32_t helpId = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
  std::uint16_t extraCount = 0;
};

struct DialogTemplate {
  std::uint32_t helpId = 0;
  std::uint32_t exStyle = 0;
  std::uint32_t style = 0;
  std::uint16_t itemCount = 0;
  std::int16_t x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::wstring title;
  bool hasFont = false;
  std::uint16_t pointSize = 0;
  std::uint16_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t charset = 0;
  std::wstring typeface;
  std::vector<DialogItem> items;
};

// Nothing when the data is not an extended template (version 1, signature
// 0xFFFF) or ends before its last item.
std::optional<DialogTemplate> parseDialogTemplateEx(const void* data, std::size_t size);

// The class of a control as a lower-case name: the predefined atoms become
// "button", "edit", "static", ...; other ordinals read "#<number>".
std::wstring controlClassName(const NameOrOrdinal& windowClass);

}  // namespace resources

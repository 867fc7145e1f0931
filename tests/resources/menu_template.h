// A standard menu template (MENUITEMTEMPLATEHEADER followed by items, pop-ups
// nesting their own items, each level closed by MF_END) read back from a
// compiled RT_MENU resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

struct MenuEntry {
  std::uint16_t flags = 0;  // MF_POPUP, MF_END, MF_GRAYED, ... as stored
  std::uint16_t id = 0;     // 0 for pop-ups, which carry no command id
  std::wstring text;
  std::vector<MenuEntry> children;
};

// Nothing when the header is not the standard one or a level is not closed
// by an MF_END item before the data ends.
std::optional<std::vector<MenuEntry>> parseMenuTemplate(const void* data, std::size_t size);

}  // namespace resources

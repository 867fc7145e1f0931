#include "tests/resources/menu_template.h"

#include <windows.h>

#include <utility>

#include "tests/resources/resource_bytes.h"

namespace resources {

namespace {

// Deeper than any real menu; stops runaway recursion on corrupt data.
constexpr int kMaxDepth = 8;

bool readLevel(ByteReader& reader, int depth, std::vector<MenuEntry>& entries) {
  if (depth > kMaxDepth) return false;
  while (reader.ok()) {
    MenuEntry entry;
    entry.flags = reader.u16();
    if ((entry.flags & MF_POPUP) == 0) entry.id = reader.u16();
    entry.text = reader.wideString();
    if (!reader.ok()) return false;
    if ((entry.flags & MF_POPUP) != 0 && !readLevel(reader, depth + 1, entry.children)) return false;
    bool last = (entry.flags & MF_END) != 0;
    entries.push_back(std::move(entry));
    if (last) return true;
  }
  return false;
}

}  // namespace

std::optional<std::vector<MenuEntry>> parseMenuTemplate(const void* data, std::size_t size) {
  ByteReader reader(data, size);
  std::uint16_t version = reader.u16();
  std::uint16_t headerSize = reader.u16();
  if (!reader.ok() || version != 0) return std::nullopt;
  reader.skip(headerSize);
  std::vector<MenuEntry> entries;
  if (!readLevel(reader, 0, entries)) return std::nullopt;
  return entries;
}

}  // namespace resources

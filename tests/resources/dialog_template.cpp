#include "tests/resources/dialog_template.h"

#include <windows.h>

#include <cwctype>

namespace resources {

namespace {

constexpr std::uint16_t kExtendedVersion = 1;
constexpr std::uint16_t kExtendedSignature = 0xFFFF;

DialogItem readItem(ByteReader& reader) {
  DialogItem item;
  reader.alignTo(4);
  item.helpId = reader.u32();
  item.exStyle = reader.u32();
  item.style = reader.u32();
  item.x = reader.i16();
  item.y = reader.i16();
  item.cx = reader.i16();
  item.cy = reader.i16();
  item.id = reader.u32();
  item.windowClass = reader.nameOrOrdinal();
  item.title = reader.nameOrOrdinal();
  item.extraCount = reader.u16();
  // Creation data starts on a WORD boundary, which the reader is already on.
  reader.skip(item.extraCount);
  return item;
}

}  // namespace

std::optional<DialogTemplate> parseDialogTemplateEx(const void* data, std::size_t size) {
  ByteReader reader(data, size);
  if (reader.u16() != kExtendedVersion || reader.u16() != kExtendedSignature) return std::nullopt;
  DialogTemplate dialog;
  dialog.helpId = reader.u32();
  dialog.exStyle = reader.u32();
  dialog.style = reader.u32();
  dialog.itemCount = reader.u16();
  dialog.x = reader.i16();
  dialog.y = reader.i16();
  dialog.cx = reader.i16();
  dialog.cy = reader.i16();
  dialog.menu = reader.nameOrOrdinal();
  dialog.windowClass = reader.nameOrOrdinal();
  dialog.title = reader.wideString();
  dialog.hasFont = (dialog.style & (DS_SETFONT | DS_SHELLFONT)) != 0;
  if (dialog.hasFont) {
    dialog.pointSize = reader.u16();
    dialog.weight = reader.u16();
    dialog.italic = reader.u8();
    dialog.charset = reader.u8();
    dialog.typeface = reader.wideString();
  }
  for (std::uint16_t i = 0; i < dialog.itemCount && reader.ok(); ++i) dialog.items.push_back(readItem(reader));
  if (!reader.ok()) return std::nullopt;
  return dialog;
}

std::wstring controlClassName(const NameOrOrdinal& windowClass) {
  if (!windowClass.isOrdinal) {
    std::wstring lower = windowClass.name;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower;
  }
  switch (windowClass.ordinal) {
    case 0x80: return L"button";
    case 0x81: return L"edit";
    case 0x82: return L"static";
    case 0x83: return L"listbox";
    case 0x84: return L"scrollbar";
    case 0x85: return L"combobox";
    default: return L"#" + std::to_wstring(windowClass.ordinal);
  }
}

}  // namespace resources

// Bounds-checked reading of compiled resource data: little-endian integers,
// UTF-16 strings and the "name or ordinal" fields of templates. A read past
// the end marks the reader failed and yields zeros, so a truncated resource
// shows up as a parse failure rather than a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace resources {

// A template field that is either a 16-bit ordinal (0xFFFF prefix) or a
// string; an empty string also stands for "none" (a lone 0x0000).
struct NameOrOrdinal {
  bool isOrdinal = false;
  std::uint16_t ordinal = 0;
  std::wstring name;
};

class ByteReader {
 public:
  ByteReader(const void* data, std::size_t size)
      : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}

  bool ok() const { return ok_; }
  std::size_t position() const { return position_; }
  bool atEnd() const { return position_ >= size_; }

  std::uint8_t u8() { return static_cast<std::uint8_t>(little(1)); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(little(2)); }
  std::uint32_t u32() { return little(4); }
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }

  void skip(std::size_t count) {
    if (count > size_ - position_) {
      ok_ = false;
      position_ = size_;
      return;
    }
    position_ += count;
  }

  // Offsets are from the start of the resource, which the loader keeps
  // DWORD-aligned, so alignment inside it is alignment in memory.
  void alignTo(std::size_t boundary) {
    std::size_t rest = position_ % boundary;
    if (rest != 0 && position_ < size_) skip(boundary - rest);
  }

  // A NUL-terminated UTF-16 string.
  std::wstring wideString() {
    std::wstring text;
    while (ok_) {
      std::uint16_t unit = u16();
      if (!ok_ || unit == 0) break;
      text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
  }

  // A UTF-16 string preceded by its length in units, as in string tables.
  std::wstring countedWideString() {
    std::uint16_t length = u16();
    std::wstring text;
    for (std::uint16_t i = 0; i < length && ok_; ++i) text.push_back(static_cast<wchar_t>(u16()));
    return text;
  }

  NameOrOrdinal nameOrOrdinal() {
    NameOrOrdinal field;
    std::size_t start = position_;
    if (u16() == 0xFFFF) {
      field.isOrdinal = true;
      field.ordinal = u16();
      return field;
    }
    position_ = start;
    field.name = wideString();
    return field;
  }

 private:
  std::uint32_t little(std::size_t count) {
    if (!ok_ || count > size_ - position_) {
      ok_ = false;
      position_ = size_;
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= std::uint32_t{data_[position_ + i]} << (8 * i);
    position_ += count;
    return value;
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace resources

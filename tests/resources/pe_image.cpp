#include "tests/resources/pe_image.h"

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>

namespace resources {

namespace {

using Bytes = std::vector<char>;

template <typename T>
bool readAt(const Bytes& file, std::size_t offset, T& out) {
  if (offset > file.size() || sizeof(T) > file.size() - offset) return false;
  std::memcpy(&out, file.data() + offset, sizeof(T));
  return true;
}

// File offset of a relative virtual address, through the section table.
std::optional<std::size_t> fileOffset(const std::vector<IMAGE_SECTION_HEADER>& sections, DWORD rva) {
  for (const IMAGE_SECTION_HEADER& section : sections) {
    DWORD extent = section.Misc.VirtualSize > section.SizeOfRawData ? section.Misc.VirtualSize
                                                                      : section.SizeOfRawData;
    if (rva >= section.VirtualAddress && rva - section.VirtualAddress < extent) {
      return std::size_t{section.PointerToRawData} + (rva - section.VirtualAddress);
    }
  }
  return std::nullopt;
}

std::optional<std::string> stringAt(const Bytes& file, std::size_t offset) {
  if (offset >= file.size()) return std::nullopt;
  const char* begin = file.data() + offset;
  const void* end = std::memchr(begin, 0, file.size() - offset);
  if (!end) return std::nullopt;
  return std::string(begin, static_cast<const char*>(end));
}

// The import thunks of one DLL: 32 bits in a PE32 image, 64 in a PE32+,
// the top bit marking an import by number.
template <typename Thunk>
bool readThunks(const Bytes& file, const std::vector<IMAGE_SECTION_HEADER>& sections, DWORD rva,
                const std::string& dll, std::vector<PeImport>& imports) {
  std::optional<std::size_t> offset = fileOffset(sections, rva);
  if (!offset) return false;
  constexpr Thunk kByNumber = Thunk{1} << (sizeof(Thunk) * 8 - 1);
  for (;; *offset += sizeof(Thunk)) {
    Thunk thunk = 0;
    if (!readAt(file, *offset, thunk)) return false;
    if (thunk == 0) return true;
    if (thunk & kByNumber) {
      imports.push_back({dll, "#" + std::to_string(thunk & 0xFFFF)});
      continue;
    }
    // A hint word, then the name.
    std::optional<std::size_t> hint = fileOffset(sections, static_cast<DWORD>(thunk));
    std::optional<std::string> name = hint ? stringAt(file, *hint + 2) : std::nullopt;
    if (!name) return false;
    imports.push_back({dll, *name});
  }
}

}  // namespace

std::optional<PeFacts> readPeFacts(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return std::nullopt;
  Bytes file{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};

  IMAGE_DOS_HEADER dos{};
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  if (!readAt(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
  const std::size_t ntOffset = static_cast<std::size_t>(dos.e_lfanew);
  const std::size_t optionalOffset = ntOffset + sizeof signature + sizeof header;
  if (!readAt(file, ntOffset, signature) || signature != IMAGE_NT_SIGNATURE) return std::nullopt;
  if (!readAt(file, ntOffset + sizeof signature, header)) return std::nullopt;

  PeFacts facts;
  facts.machine = header.Machine;
  facts.characteristics = header.Characteristics;
  if (!readAt(file, optionalOffset, facts.optionalHeaderMagic)) return std::nullopt;
  IMAGE_DATA_DIRECTORY imports{};
  const bool plus = facts.optionalHeaderMagic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
  if (plus) {
    IMAGE_OPTIONAL_HEADER64 optional{};
    if (!readAt(file, optionalOffset, optional)) return std::nullopt;
    facts.subsystem = optional.Subsystem;
    imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  } else if (facts.optionalHeaderMagic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    IMAGE_OPTIONAL_HEADER32 optional{};
    if (!readAt(file, optionalOffset, optional)) return std::nullopt;
    facts.subsystem = optional.Subsystem;
    imports = optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  } else {
    return facts;
  }

  const std::size_t sectionOffset = optionalOffset + header.SizeOfOptionalHeader;
  std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!readAt(file, sectionOffset + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) return std::nullopt;
  }

  if (imports.VirtualAddress == 0) return facts;
  std::optional<std::size_t> descriptorOffset = fileOffset(sections, imports.VirtualAddress);
  if (!descriptorOffset) return std::nullopt;
  for (std::size_t offset = *descriptorOffset;; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    IMAGE_IMPORT_DESCRIPTOR descriptor{};
    if (!readAt(file, offset, descriptor)) return std::nullopt;
    if (descriptor.Name == 0 && descriptor.FirstThunk == 0) break;
    std::optional<std::size_t> nameOffset = fileOffset(sections, descriptor.Name);
    std::optional<std::string> name = nameOffset ? stringAt(file, *nameOffset) : std::nullopt;
    if (!name) return std::nullopt;
    // The name table where there is one; the address table holds the same
    // before the loader binds it.
    const DWORD thunks = descriptor.OriginalFirstThunk ? descriptor.OriginalFirstThunk : descriptor.FirstThunk;
    const bool read = plus ? readThunks<ULONGLONG>(file, sections, thunks, *name, facts.imports)
                           : readThunks<DWORD>(file, sections, thunks, *name, facts.imports);
    if (!read) return std::nullopt;
  }
  return facts;
}

}  // namespace resources

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

}  // namespace

std::optional<PeFacts> readPeFacts(const std::string& path) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return std::nullopt;
  Bytes file{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};

  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS32 nt{};
  if (!readAt(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
  std::size_t ntOffset = static_cast<std::size_t>(dos.e_lfanew);
  if (!readAt(file, ntOffset, nt) || nt.Signature != IMAGE_NT_SIGNATURE) return std::nullopt;

  PeFacts facts;
  facts.machine = nt.FileHeader.Machine;
  facts.characteristics = nt.FileHeader.Characteristics;
  facts.optionalHeaderMagic = nt.OptionalHeader.Magic;
  facts.subsystem = nt.OptionalHeader.Subsystem;
  if (facts.optionalHeaderMagic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) return facts;

  std::size_t sectionOffset =
      ntOffset + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader;
  std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    if (!readAt(file, sectionOffset + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) return std::nullopt;
  }

  const IMAGE_DATA_DIRECTORY& imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
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
    facts.importedDlls.push_back(*name);
  }
  return facts;
}

}  // namespace resources

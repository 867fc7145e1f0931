// Decides from a bitmap file's headers, before the platform ever reads it,
// whether it is a whole, plausible face picture: a truncated, corrupt or
// huge file must not reach the platform's bitmap loader.
#pragma once

#include <cstddef>
#include <cstdint>

// Enough of the file for its file header and the largest info header.
constexpr std::size_t kFaceFileHeadBytes = 14 + 124;
constexpr std::uint64_t kFaceFileMaxBytes = 16u * 1024 * 1024;
constexpr std::int32_t kFaceMaxSide = 1024;

// `head` holds the first `headSize` bytes of a file of `fileSize` bytes.
// True when the headers describe a bitmap of at most kFaceMaxSide pixels a
// side in a layout the platform reads, and the file holds all its pixels.
bool isLoadableFaceFile(const std::uint8_t* head, std::size_t headSize, std::uint64_t fileSize);

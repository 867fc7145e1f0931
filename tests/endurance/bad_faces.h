// Broken face files: truncated, wrong sizes, wrong bit depths, not bitmaps,
// zero bytes, huge declared dimensions. The same category and index always
// give the same bytes.
#pragma once

#include <string>

namespace endurance {

constexpr int kFaceCategories = 6;
const char* faceCategoryName(int category);
std::string badFaceFile(int category, int index);

}  // namespace endurance

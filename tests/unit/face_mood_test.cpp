#include <gtest/gtest.h>

#include "display/face_mood.h"
#include "probes/platform_kind.h"
#include "res/resource.h"

namespace {

const char* name(FaceMood mood) {
  switch (mood) {
    case FaceMood::Fine:
      return "fine";
    case FaceMood::Calm:
      return "calm";
    case FaceMood::Down:
      return "down";
    case FaceMood::Busy:
      return "busy";
  }
  return "?";
}

struct MoodCase {
  const char* what;
  FaceReadings readings;
  FaceMood expected;
};

constexpr std::uint64_t kPlenty = 1000;  // total with little used
const MoodCase kMoodCases[] = {
    {"load 51 is busy", {51, false, kPlatformNt, 0, kPlenty, kPlenty}, FaceMood::Busy},
    {"load 50 is not", {50, false, kPlatformNt, 0, kPlenty, kPlenty}, FaceMood::Fine},
    {"load 100 with the meter", {100, true, kPlatform9x, 100, 0, 0}, FaceMood::Busy},
    {"9x resources 61", {10, true, kPlatform9x, 61, 0, 0}, FaceMood::Fine},
    {"9x resources 60", {10, true, kPlatform9x, 60, 0, 0}, FaceMood::Calm},
    {"9x resources 31", {10, true, kPlatform9x, 31, 0, 0}, FaceMood::Calm},
    {"9x resources 30", {10, true, kPlatform9x, 30, 0, 0}, FaceMood::Down},
    {"unidentified system with the meter", {10, true, kPlatformUnidentified, 30, kPlenty, kPlenty},
     FaceMood::Down},
    // Without the meter, or on NT, the used share of physical memory
    // decides; T and F are in the unit shown, the "+ 1" one unit of it.
    {"9x without the meter, memory", {10, false, kPlatform9x, 0, 256, 26}, FaceMood::Down},
    {"NT ignores resources", {10, true, kPlatformNt, 0, 256, 104}, FaceMood::Fine},
    {"MB 100 free of 256 is 61", {10, false, kPlatformNt, 0, 256, 100}, FaceMood::Calm},
    {"MB 60", {10, false, kPlatformNt, 0, 256, 103}, FaceMood::Calm},
    {"MB 59", {10, false, kPlatformNt, 0, 256, 104}, FaceMood::Fine},
    {"MB 90", {10, false, kPlatformNt, 0, 256, 26}, FaceMood::Down},
    {"MB 89", {10, false, kPlatformNt, 0, 256, 27}, FaceMood::Calm},
    {"MB nothing free", {10, false, kPlatformNt, 0, 256, 0}, FaceMood::Down},
    {"KB 60", {10, false, kPlatformNt, 0, 262144, 104858}, FaceMood::Calm},
    {"KB 59", {10, false, kPlatformNt, 0, 262144, 104859}, FaceMood::Fine},
    {"KB 90", {10, false, kPlatformNt, 0, 262144, 26215}, FaceMood::Down},
    {"KB 89", {10, false, kPlatformNt, 0, 262144, 26216}, FaceMood::Calm},
    {"Byte 60", {10, false, kPlatformNt, 0, 268435456, 107374183}, FaceMood::Calm},
    {"Byte 59", {10, false, kPlatformNt, 0, 268435456, 107374184}, FaceMood::Fine},
    {"Byte 90", {10, false, kPlatformNt, 0, 268435456, 26843546}, FaceMood::Down},
    {"Byte 89", {10, false, kPlatformNt, 0, 268435456, 26843547}, FaceMood::Calm},
    // 4 GB shown in bytes with nothing free must not wrap round to 0 %.
    {"Byte 4 GB, nothing free", {10, false, kPlatformNt, 0, 0xFFFFFFFFu, 0}, FaceMood::Down},
    {"Byte 25 GB, 2 GB free", {10, false, kPlatformNt, 0, 25276178432ull, 2147483647}, FaceMood::Down},
    {"no unit yet: total 0", {10, false, kPlatformNt, 0, 0, 0}, FaceMood::Fine},
};

TEST(SelectFace, MoodAtEveryThreshold) {
  for (const MoodCase& c : kMoodCases) {
    EXPECT_STREQ(name(c.expected), name(selectFace(c.readings))) << c.what;
  }
}

TEST(SelectFace, EachMoodHasItsPictureAndFile) {
  EXPECT_EQ(129, faceResourceId(FaceMood::Fine));
  EXPECT_EQ(138, faceResourceId(FaceMood::Calm));
  EXPECT_EQ(137, faceResourceId(FaceMood::Down));
  EXPECT_EQ(136, faceResourceId(FaceMood::Busy));
  EXPECT_STREQ(L"fine.bmp", faceFileName(FaceMood::Fine));
  EXPECT_STREQ(L"calm.bmp", faceFileName(FaceMood::Calm));
  EXPECT_STREQ(L"down.bmp", faceFileName(FaceMood::Down));
  EXPECT_STREQ(L"busy.bmp", faceFileName(FaceMood::Busy));
}

}  // namespace

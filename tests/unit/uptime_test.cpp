#include <gtest/gtest.h>

#include "probes/uptime.h"

namespace {

TEST(FormatUptime, MinutesFormBelowAnHourHourFormFromThenOn) {
  const struct {
    std::uint64_t milliseconds;
    const wchar_t* text;
  } rows[] = {
      {0, L" 0分  0秒"},
      {999, L" 0分  0秒"},  // whole seconds, truncated
      {59999, L" 0分 59秒"},
      {60000, L" 1分  0秒"},
      {307000, L" 5分  7秒"},  // each number right-aligned in two places
      {3599999, L"59分 59秒"},
      {3600000, L"1時間  0分  0秒"},
      {3725000, L"1時間  2分  5秒"},
      {108000000, L"30時間  0分  0秒"},  // no days
      {4294967295u, L"1193時間  2分 47秒"},  // where a 32-bit count would wrap
      {4294968000ull, L"1193時間  2分 48秒"},  // and the hours go on
      {400ull * 24 * 3600000, L"9600時間  0分  0秒"},
  };
  // The Japanese interface's patterns, as its string table holds them.
  const UptimePatterns japanese{L"%1時間 %2分 %3秒", L"%1分 %2秒"};
  for (const auto& row : rows) {
    EXPECT_EQ(row.text, formatUptime(row.milliseconds, japanese)) << row.milliseconds << " ms";
  }
}

}  // namespace

// A stand-in for the 9x Resource Meter library, for the tests only.
//
// The real RSRC32.dll exists only on the Windows 9x family; the program binds
// it at run time and calls its one export with 0 (system), 1 (GDI) or 2
// (user) for the free percentage of that resource. This stand-in is built as
// <build>/tests/stand_in/RSRC32.dll (CMake target RSRC32, so
// $<TARGET_FILE:RSRC32>) and is never placed beside Quimbel.exe. A test that
// wants the program to find it copies it into the prefix's system directory
// (GetSystemDirectoryA) before starting Quimbel.exe and deletes it afterwards.
//
// It exports exactly one function, "_MyGetFreeSystemResources32@4":
// stdcall, one 32-bit int in, one 32-bit int out.
//
// Its answers are set, and its calls observed, through two environment
// variables, read afresh on every call (Quimbel.exe inherits them from the
// test process that starts it; SetEnvironmentVariableA in the calling process
// works too):
//
//   QUIMBEL_RSRC32_CONTROL  path of the control file: three lines holding the
//                           decimal values answered for 0 (system), 1 (GDI)
//                           and 2 (user), in that order; each may be signed.
//                           The file is re-read on every call, so a test may
//                           rewrite it while the program runs. When the
//                           variable is unset, the file is missing, or a line
//                           is missing or not a number, that answer takes its
//                           default below.
//   QUIMBEL_RSRC32_LOG      path of the call log: when set, every call appends
//                           one line holding its argument in decimal, ending
//                           in "\r\n" (so one refresh of the program adds
//                           "0", "1", "2"). The file is opened, appended to and
//                           closed within each call, so it can be read at any
//                           moment. Unset: nothing is logged.
//
// Any argument other than 0, 1 or 2 is logged and answered with
// kStandInOtherAnswer.
#pragma once

#include <cstdint>

namespace stand_in {

constexpr const char kControlVariable[] = "QUIMBEL_RSRC32_CONTROL";
constexpr const char kLogVariable[] = "QUIMBEL_RSRC32_LOG";
constexpr const char kLibraryName[] = "RSRC32.dll";
constexpr const char kExportName[] = "_MyGetFreeSystemResources32@4";

// Answers without a control file; distinct, so a test can tell which
// resource ended up in which control.
constexpr std::int32_t kDefaultSystem = 71;
constexpr std::int32_t kDefaultGdi = 82;
constexpr std::int32_t kDefaultUser = 93;
constexpr std::int32_t kStandInOtherAnswer = -1;

}  // namespace stand_in

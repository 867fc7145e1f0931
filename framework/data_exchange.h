// Moves values between a dialog's members and its controls, one binding per
// call. Loading writes every bound member to its control; saving reads back
// only what the user can change (radio groups and check boxes): the fields
// the program fills are its output and are never parsed back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/control_list.h"

namespace fw {

class DataExchange {
 public:
  DataExchange(ControlList& controls, bool saving) : controls_(controls), saving_(saving) {}
  DataExchange(const DataExchange&) = delete;

  // Shown only: written when loading, left alone when saving.
  void text(int id, const std::wstring& value) {
    if (!saving_) controls_.show(id, value);
  }
  template <typename Number>
  void number(int id, Number value) {
    text(id, decimalText(value));
  }
  // A group of auto radio buttons starting at firstId and ending before the
  // next control with WS_GROUP: the index of the checked one among the radio
  // buttons of the group, -1 for none.
  void radio(int firstId, std::int32_t& value);
  void check(int id, bool& value);

 private:
  ControlList& controls_;
  bool saving_;
};

}  // namespace fw

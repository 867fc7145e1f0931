// Moves values between a dialog's members and its controls, one binding per
// call, in both directions. A failed validation shows a message, focuses the
// offending control and turns every later binding of the same exchange
// into a no-op, so the exchange stops there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/control_list.h"
#include "framework/platform_text.h"

namespace fw {

class ProgressBar;

class DataExchange {
 public:
  // Lists the dialog's controls for this one exchange.
  DataExchange(HWND dialog, bool saveAndValidate);
  // Finds the controls in the dialog's own list of them.
  DataExchange(const ControlList& controls, bool saveAndValidate);
  DataExchange(const DataExchange&) = delete;
  DataExchange& operator=(const DataExchange&) = delete;

  bool failed() const { return failed_; }

  void control(int id, ProgressBar& bar);
  void text(int id, std::int32_t& value);
  void text(int id, std::uint32_t& value);
  void text(int id, std::uint64_t& value);
  void text(int id, std::string& value);
  // A group of auto radio buttons starting at firstId and ending before the
  // next control with WS_GROUP: the index of the checked one among the radio
  // buttons of the group, -1 for none.
  void radio(int firstId, std::int32_t& value);
  void check(int id, std::int32_t& value);
  // Validates the value last exchanged by text(); only when saving.
  void minMaxUInt(std::uint32_t value, std::uint32_t minValue, std::uint32_t maxValue);

 private:
  HWND prepareEdit(int id);
  void fail(const std::string& message);
  // A number as decimal text; a read-back `parse` refuses fails with
  // `complaint`'s message.
  template <typename Number>
  void number(int id, Number& value, bool (*parse)(const std::string&, Number&), std::string (*complaint)());

  ControlList ownList_;
  const ControlList& controls_;
  bool saving_;
  bool failed_ = false;
  HWND lastControl_ = nullptr;
};

// Texts of the exchange's own validation messages.
std::string integerExpectedMessage();
std::string unsignedExpectedMessage();
std::string rangeMessage(std::uint32_t minValue, std::uint32_t maxValue);

// Parses a whole signed or unsigned decimal the way the edits are read back:
// blanks around the number are allowed, anything else (or overflow) fails.
bool parseInt32(const std::string& text, std::int32_t& value);
bool parseUInt32(const std::string& text, std::uint32_t& value);
bool parseUInt64(const std::string& text, std::uint64_t& value);

// Sets the text only when it differs, so a refresh does not flicker.
void setWindowTextIfChanged(HWND window, const std::string& text);

}  // namespace fw

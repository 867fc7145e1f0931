#include "framework/data_exchange.h"

#include <cstdio>
#include <limits>

#include "framework/application.h"
#include "framework/progress_bar.h"

namespace fw {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Digits with optional surrounding blanks; magnitude limited to `limit`.
bool parseMagnitude(const std::string& text, std::size_t pos, std::uint64_t limit,
                    std::uint64_t& magnitude) {
  std::size_t digits = 0;
  magnitude = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    const auto digit = static_cast<std::uint64_t>(text[pos] - '0');
    if (magnitude > (limit - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
    ++pos;
    ++digits;
  }
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  return digits > 0 && pos == text.size();
}

std::size_t skipBlanks(const std::string& text) {
  std::size_t pos = 0;
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  return pos;
}

}  // namespace

bool parseInt32(const std::string& text, std::int32_t& value) {
  std::size_t pos = skipBlanks(text);
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
  std::uint64_t magnitude = 0;
  if (!parseMagnitude(text, pos, limit, magnitude)) return false;
  value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                   : static_cast<std::int32_t>(magnitude);
  return true;
}

bool parseUInt32(const std::string& text, std::uint32_t& value) {
  std::size_t pos = skipBlanks(text);
  if (pos < text.size() && text[pos] == '+') ++pos;
  std::uint64_t magnitude = 0;
  if (!parseMagnitude(text, pos, std::numeric_limits<std::uint32_t>::max(), magnitude)) return false;
  value = static_cast<std::uint32_t>(magnitude);
  return true;
}

bool parseUInt64(const std::string& text, std::uint64_t& value) {
  std::size_t pos = skipBlanks(text);
  if (pos < text.size() && text[pos] == '+') ++pos;
  std::uint64_t magnitude = 0;
  if (!parseMagnitude(text, pos, std::numeric_limits<std::uint64_t>::max(), magnitude)) return false;
  value = magnitude;
  return true;
}

std::string integerExpectedMessage() { return "整数を入力してください。"; }

std::string unsignedExpectedMessage() { return "0 以上の整数を入力してください。"; }

std::string rangeMessage(std::uint32_t minValue, std::uint32_t maxValue) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%u から %u までの整数を入力してください。", minValue, maxValue);
  return buffer;
}

void setWindowTextIfChanged(HWND window, const std::string& text) {
  if (windowText(window) != text) setWindowText(window, text);
}

DataExchange::DataExchange(HWND dialog, bool saveAndValidate) : controls_(ownList_), saving_(saveAndValidate) {
  ownList_.fill(dialog);
}

DataExchange::DataExchange(const ControlList& controls, bool saveAndValidate)
    : controls_(controls), saving_(saveAndValidate) {}

HWND DataExchange::prepareEdit(int id) {
  lastControl_ = controls_.find(id);
  return lastControl_;
}

void DataExchange::fail(const std::string& message) {
  failed_ = true;
  appMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
  if (lastControl_) {
    SetFocus(lastControl_);
    SendMessageA(lastControl_, EM_SETSEL, 0, -1);
  }
}

void DataExchange::control(int id, ProgressBar& bar) {
  if (failed_) return;
  bar.attach(controls_.find(id));
}

template <typename Number>
void DataExchange::number(int id, Number& value, bool (*parse)(const std::string&, Number&),
                          std::string (*complaint)()) {
  if (failed_) return;
  HWND edit = prepareEdit(id);
  if (saving_) {
    Number parsed = 0;
    if (!parse(windowText(edit), parsed)) {
      fail(complaint());
      return;
    }
    value = parsed;
  } else {
    setWindowTextIfChanged(edit, std::to_string(value));
  }
}

void DataExchange::text(int id, std::int32_t& value) { number(id, value, parseInt32, integerExpectedMessage); }

void DataExchange::text(int id, std::uint32_t& value) { number(id, value, parseUInt32, unsignedExpectedMessage); }

void DataExchange::text(int id, std::uint64_t& value) { number(id, value, parseUInt64, unsignedExpectedMessage); }

void DataExchange::text(int id, std::string& value) {
  if (failed_) return;
  HWND edit = prepareEdit(id);
  if (saving_) {
    value = windowText(edit);
  } else {
    setWindowTextIfChanged(edit, value);
  }
}

void DataExchange::radio(int firstId, std::int32_t& value) {
  if (failed_) return;
  HWND button = controls_.find(firstId);
  lastControl_ = button;
  if (saving_) value = -1;
  std::int32_t index = 0;
  while (button) {
    // Only radio buttons count: a group left open runs on over push
    // buttons and check boxes, which must neither be set nor read as units.
    if (SendMessageA(button, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
      if (saving_) {
        if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
      } else {
        SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      ++index;
    }
    button = controls_.next(button);
    if (!button || (GetWindowLongA(button, GWL_STYLE) & WS_GROUP)) break;
  }
}

void DataExchange::check(int id, std::int32_t& value) {
  if (failed_) return;
  HWND box = controls_.find(id);
  lastControl_ = box;
  if (saving_) {
    value = static_cast<std::int32_t>(SendMessageA(box, BM_GETCHECK, 0, 0));
  } else {
    SendMessageA(box, BM_SETCHECK, static_cast<WPARAM>(value), 0);
  }
}

void DataExchange::minMaxUInt(std::uint32_t value, std::uint32_t minValue, std::uint32_t maxValue) {
  if (failed_ || !saving_) return;
  if (value < minValue || value > maxValue) fail(rangeMessage(minValue, maxValue));
}

}  // namespace fw

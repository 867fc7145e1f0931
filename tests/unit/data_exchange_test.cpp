#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/handles.h"

namespace {

// --- parsing what the edits hold ------------------------------------------

TEST(ParseInt32, WholeSignedDecimalsWithBlanksAround) {
  const struct {
    const char* text;
    bool ok;
    std::int32_t value;
  } rows[] = {
      {"0", true, 0},
      {"42", true, 42},
      {"  42", true, 42},
      {"42 \t", true, 42},
      {"\t-7 ", true, -7},
      {"+5", true, 5},
      {"-0", true, 0},
      {"2147483647", true, INT32_MAX},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},  // 2^31
      {"-2147483649", false, 0},
      {"99999999999999999999999", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"-", false, 0},
      {"12x", false, 0},
      {"x12", false, 0},
      {"1 2", false, 0},
      {"--1", false, 0},
  };
  for (const auto& row : rows) {
    std::int32_t value = 31337;
    EXPECT_EQ(row.ok, fw::parseInt32(row.text, value)) << "\"" << row.text << "\"";
    EXPECT_EQ(row.ok ? row.value : 31337, value) << "\"" << row.text << "\"";
  }
}

TEST(ParseUnsigned, WholeUnsignedDecimalsWithBlanksAround) {
  const struct {
    const char* text;
    bool ok32;
    bool ok64;
    std::uint64_t value;
  } rows[] = {
      {"0", true, true, 0},
      {" 100 ", true, true, 100},
      {"2147483648", true, true, 2147483648u},  // above the signed range
      {"4294443007", true, true, 4294443007u},
      {"4294967295", true, true, 4294967295u},
      {"4294967296", false, true, 4294967296ull},  // 2^32
      {"18446744073709551615", false, true, 18446744073709551615ull},
      {"18446744073709551616", false, false, 0},  // 2^64
      {"-1", false, false, 0},
      {"-0", false, false, 0},
      {"", false, false, 0},
      {"12x", false, false, 0},
  };
  for (const auto& row : rows) {
    std::uint32_t value = 31337;
    EXPECT_EQ(row.ok32, fw::parseUInt32(row.text, value)) << "\"" << row.text << "\"";
    EXPECT_EQ(row.ok32 ? row.value : 31337u, value) << "\"" << row.text << "\"";
    std::uint64_t wide = 31337;
    EXPECT_EQ(row.ok64, fw::parseUInt64(row.text, wide)) << "\"" << row.text << "\"";
    EXPECT_EQ(row.ok64 ? row.value : 31337u, wide) << "\"" << row.text << "\"";
  }
}

// --- a real dialog built from an in-memory template -----------------------

constexpr int kNumberEdit = 100;
constexpr int kCountEdit = 101;
constexpr int kTextEdit = 102;
constexpr int kPercentEdit = 103;
constexpr int kFirstRadio = 110;
constexpr int kGroupEnd = 113;
constexpr int kCheckBox = 120;

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

class TemplateBuilder {
 public:
  TemplateBuilder(DWORD style, const wchar_t* title) {
    dword(style);
    dword(0);
    countIndex_ = words_.size();
    words_.push_back(0);
    rect(10, 10, 200, 120);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // default class
    text(title);
  }

  void item(DWORD style, WORD windowClass, int id, short x, short y, short cx, short cy,
            const wchar_t* title) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(0);
    rect(x, y, cx, cy);
    words_.push_back(static_cast<WORD>(id));
    words_.push_back(0xFFFF);
    words_.push_back(windowClass);
    text(title);
    words_.push_back(0);  // no creation data
    ++words_[countIndex_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void dword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void rect(short x, short y, short cx, short cy) {
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
  }
  void text(const wchar_t* s) {
    while (*s) words_.push_back(static_cast<WORD>(*s++));
    words_.push_back(0);
  }

  std::vector<WORD> words_;
  std::size_t countIndex_ = 0;
};

INT_PTR CALLBACK plainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The modeless test dialog: four edits, a three-button radio group closed
// by a WS_GROUP static, and a check box right after it.
class TestDialog {
 public:
  TestDialog() {
    TemplateBuilder t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"exchange");
    const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    t.item(edit, kEditClass, kNumberEdit, 5, 5, 80, 12, L"");
    t.item(edit, kEditClass, kCountEdit, 5, 20, 80, 12, L"");
    t.item(edit, kEditClass, kTextEdit, 5, 35, 80, 12, L"");
    t.item(edit, kEditClass, kPercentEdit, 5, 50, 80, 12, L"");
    t.item(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, kButtonClass, kFirstRadio, 100, 5, 40, 10, L"&Byte");
    t.item(BS_AUTORADIOBUTTON, kButtonClass, kFirstRadio + 1, 100, 17, 40, 10, L"&KB");
    t.item(BS_AUTORADIOBUTTON, kButtonClass, kFirstRadio + 2, 100, 29, 40, 10, L"&MB");
    t.item(SS_LEFT | WS_GROUP, kStaticClass, kGroupEnd, 100, 41, 40, 10, L"end");
    t.item(BS_AUTOCHECKBOX | WS_TABSTOP, kButtonClass, kCheckBox, 100, 53, 60, 10, L"check");
    hwnd_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), t.get(), nullptr, plainDialogProc, 0);
  }
  ~TestDialog() {
    if (hwnd_) DestroyWindow(hwnd_);
  }
  TestDialog(const TestDialog&) = delete;
  TestDialog& operator=(const TestDialog&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND item(int id) const { return GetDlgItem(hwnd_, id); }
  std::string text(int id) const { return fw::windowText(item(id)); }
  void setText(int id, const std::string& s) const { SetDlgItemTextA(hwnd_, id, s.c_str()); }
  bool checked(int id) const { return SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void setChecked(int id, bool on) const {
    SendMessageA(item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }

 private:
  HWND hwnd_ = nullptr;
};

struct Members {
  std::int32_t number = 0;
  std::uint32_t count = 0;
  std::string text;
  std::uint32_t percent = 0;
  std::int32_t unit = -1;
  std::int32_t flag = 0;
};

void exchangeAll(fw::DataExchange& dx, Members& m) {
  dx.text(kNumberEdit, m.number);
  dx.text(kCountEdit, m.count);
  dx.text(kTextEdit, m.text);
  dx.text(kPercentEdit, m.percent);
  dx.minMaxUInt(m.percent, 0, 100);
  dx.radio(kFirstRadio, m.unit);
  dx.check(kCheckBox, m.flag);
}

struct KernelTraits {
  using Handle = HANDLE;
  static Handle none() { return nullptr; }
  static void close(Handle h) { CloseHandle(h); }
};
using KernelHandle = fw::UniqueHandle<KernelTraits>;

// What a message box raised during an exchange said.
struct MessageBoxSeen {
  int count = 0;  // boxes raised
  std::string caption;  // of the first
  std::string text;
};

// Watches, from its own thread, for message boxes of this process other
// than the test dialog itself: records them and dismisses each with OK, so
// the modal loop on the test thread returns. Runs until finished.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(HWND ownDialog)
      : ownDialog_(ownDialog),
        stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        thread_(CreateThread(nullptr, 0, &MessageBoxWatcher::run, this, 0, nullptr)) {}
  ~MessageBoxWatcher() { finish(); }
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Stops watching and waits for the thread, so the record is complete.
  const MessageBoxSeen& finish() {
    if (thread_) {
      SetEvent(stop_.get());
      WaitForSingleObject(thread_.get(), INFINITE);
      thread_.reset();
    }
    return seen_;
  }

 private:
  static constexpr DWORD kPollMs = 20;

  struct Search {
    HWND exclude;
    HWND found;
  };

  static BOOL CALLBACK findBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == GetCurrentProcessId() && window != search->exclude && IsWindowVisible(window) &&
        std::string(className) == "#32770") {
      search->found = window;
      return FALSE;
    }
    return TRUE;
  }

  static DWORD WINAPI run(void* param) {
    auto* self = static_cast<MessageBoxWatcher*>(param);
    HWND last = nullptr;
    while (WaitForSingleObject(self->stop_.get(), kPollMs) == WAIT_TIMEOUT) {
      Search search{self->ownDialog_, nullptr};
      EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
      if (!search.found) continue;
      if (search.found != last) {
        last = search.found;
        if (self->seen_.count++ == 0) {
          self->seen_.caption = fw::windowText(search.found);
          self->seen_.text = fw::windowText(GetDlgItem(search.found, 0xFFFF));
        }
      }
      // Repeated while the box stays up, in case one press is lost.
      PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDOK)));
    }
    return 0;
  }

  HWND ownDialog_;
  MessageBoxSeen seen_;
  KernelHandle stop_;
  KernelHandle thread_;
};

using Binding = std::function<void(fw::DataExchange&, Members&)>;

class DialogExchange : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(nullptr, dialog.hwnd()) << "error " << GetLastError(); }

  // One exchange in the given direction; any message box it raises is
  // recorded and dismissed, so a wrong validation fails instead of hanging.
  MessageBoxSeen exchange(bool saving, Members& m, const Binding& bind = exchangeAll) {
    MessageBoxWatcher watcher(dialog.hwnd());
    fw::DataExchange dx(dialog.hwnd(), saving);
    bind(dx, m);
    failed = dx.failed();
    return watcher.finish();
  }

  TestDialog dialog;
  bool failed = false;  // of the last exchange
};

TEST_F(DialogExchange, LoadWritesMembersIntoTheControlsAndSaveReadsThemBack) {
  Members m;
  m.number = -5;
  m.count = 4294443007u;
  m.text = "日本語のテキスト ①";
  m.percent = 100;
  m.unit = 2;
  m.flag = 1;
  EXPECT_EQ(0, exchange(false, m).count);
  EXPECT_EQ("-5", dialog.text(kNumberEdit));
  EXPECT_EQ("4294443007", dialog.text(kCountEdit));
  EXPECT_EQ("日本語のテキスト ①", dialog.text(kTextEdit));
  EXPECT_EQ("100", dialog.text(kPercentEdit));
  EXPECT_TRUE(dialog.checked(kCheckBox));

  Members back;
  const MessageBoxSeen boxes = exchange(true, back);
  EXPECT_EQ(0, boxes.count) << boxes.text;
  EXPECT_FALSE(failed);
  EXPECT_EQ(-5, back.number);
  EXPECT_EQ(4294443007u, back.count);
  EXPECT_EQ(m.text, back.text);
  EXPECT_EQ(100u, back.percent);
  EXPECT_EQ(2, back.unit);
  EXPECT_EQ(1, back.flag);
}

TEST_F(DialogExchange, SaveAcceptsBlanksAroundNumbersAndBothRangeBounds) {
  const struct {
    const char* number;
    const char* count;
    const char* percent;
    std::int32_t numberValue;
    std::uint32_t countValue;
    std::uint32_t percentValue;
  } rows[] = {
      {"  -12 ", " 7", "0", -12, 7, 0},
      {"2147483647", "4294967295 ", " 100", INT32_MAX, 4294967295u, 100},
  };
  for (const auto& row : rows) {
    dialog.setText(kNumberEdit, row.number);
    dialog.setText(kCountEdit, row.count);
    dialog.setText(kPercentEdit, row.percent);
    Members m;
    const MessageBoxSeen boxes = exchange(true, m);
    EXPECT_EQ(0, boxes.count) << row.percent << ": " << boxes.text;
    EXPECT_FALSE(failed) << row.percent;
    EXPECT_EQ(row.numberValue, m.number);
    EXPECT_EQ(row.countValue, m.count);
    EXPECT_EQ(row.percentValue, m.percent);
  }
}

TEST_F(DialogExchange, RadioIndexChecksOneButtonOfTheGroupAndReadsBack) {
  const struct {
    std::int32_t value;
    bool checks[3];
    std::int32_t readBack;
  } rows[] = {
      {2, {false, false, true}, 2},
      {0, {true, false, false}, 0},
      {1, {false, true, false}, 1},
      {-1, {false, false, false}, -1},  // unchecks all
      {4, {false, false, false}, -1},   // beyond the group: the check box is not button 4
  };
  for (const auto& row : rows) {
    dialog.setChecked(kCheckBox, false);
    for (int i = 0; i < 3; ++i) dialog.setChecked(kFirstRadio + i, i == 1);
    std::int32_t unit = row.value;
    fw::DataExchange(dialog.hwnd(), false).radio(kFirstRadio, unit);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(row.checks[i], dialog.checked(kFirstRadio + i)) << "value " << row.value << ", button " << i;
    }
    EXPECT_FALSE(dialog.checked(kCheckBox)) << "value " << row.value;
    unit = 99;
    fw::DataExchange(dialog.hwnd(), true).radio(kFirstRadio, unit);
    EXPECT_EQ(row.readBack, unit) << "value " << row.value;
  }
}

TEST_F(DialogExchange, CheckedBoxAfterTheGroupIsNotARadioButton) {
  for (int i = 0; i < 3; ++i) dialog.setChecked(kFirstRadio + i, false);
  dialog.setChecked(kCheckBox, true);
  std::int32_t unit = 99;
  fw::DataExchange(dialog.hwnd(), true).radio(kFirstRadio, unit);
  EXPECT_EQ(-1, unit);
}

TEST_F(DialogExchange, LoadingNeverValidates) {
  Members m;
  m.percent = 150;
  m.text = "after";
  const MessageBoxSeen boxes = exchange(false, m);
  EXPECT_EQ(0, boxes.count) << "message: " << boxes.text;
  EXPECT_FALSE(failed);
  EXPECT_EQ("150", dialog.text(kPercentEdit));
  EXPECT_EQ("after", dialog.text(kTextEdit)) << "bindings after the range check still run";
}

// Each failing binding: the message it shows, the edit it focuses, and that
// the binding after it is not read.
struct FailureRow {
  const char* note;
  int edit;
  const char* content;
  Binding bind;
  std::string message;
};

class FailedSave : public DialogExchange {
 protected:
  void runRow(const FailureRow& row, const std::string& caption) {
    dialog.setText(row.edit, row.content);
    dialog.setText(kTextEdit, "not to be read");
    SetFocus(dialog.item(kCheckBox));
    Members m;
    m.text = "untouched";
    const MessageBoxSeen boxes = exchange(true, m, [&row](fw::DataExchange& dx, Members& members) {
      row.bind(dx, members);
      dx.text(kTextEdit, members.text);
    });
    EXPECT_TRUE(failed) << row.note;
    EXPECT_EQ(1, boxes.count) << row.note << ": message boxes shown";
    EXPECT_EQ(row.message, boxes.text) << row.note;
    EXPECT_EQ(caption, boxes.caption) << row.note;
    EXPECT_EQ(dialog.item(row.edit), GetFocus()) << row.note << ": focus";
    EXPECT_EQ("untouched", m.text) << row.note << ": the exchange went on";
  }

  static std::vector<FailureRow> rows() {
    const Binding percentInRange = [](fw::DataExchange& dx, Members& m) {
      dx.text(kPercentEdit, m.percent);
      dx.minMaxUInt(m.percent, 0, 100);
    };
    return {
        {"147 above 0..100", kPercentEdit, "147", percentInRange, fw::rangeMessage(0, 100)},
        {"101 just above 0..100", kPercentEdit, "101", percentInRange, fw::rangeMessage(0, 100)},
        {"12x is no integer", kNumberEdit, "12x",
         [](fw::DataExchange& dx, Members& m) { dx.text(kNumberEdit, m.number); },
         fw::integerExpectedMessage()},
        {"-1 is no unsigned integer", kCountEdit, "-1",
         [](fw::DataExchange& dx, Members& m) { dx.text(kCountEdit, m.count); },
         fw::unsignedExpectedMessage()},
    };
  }
};

TEST_F(FailedSave, WithoutAnApplicationTheBoxHasAnEmptyCaption) {
  ASSERT_EQ(nullptr, fw::Application::current());
  for (const FailureRow& row : rows()) runRow(row, "");
}

class NamedApplication final : public fw::Application {
 protected:
  bool initInstance() override { return false; }
};

TEST_F(FailedSave, TheBoxIsCaptionedWithTheApplicationName) {
  NamedApplication app;
  app.run(GetModuleHandleA(nullptr));
  ASSERT_EQ(L"quimbel_unit_tests", app.name());
  runRow(rows().front(), "quimbel_unit_tests");
}

}  // namespace

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "framework/control_list.h"
#include "framework/data_exchange.h"

namespace {

// --- a real dialog built from an in-memory template -----------------------

constexpr int kNumberEdit = 100;
constexpr int kCountEdit = 101;
constexpr int kTextEdit = 102;
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

// Counts the texts a control is sent, passing each on.
WNDPROC editProcedure = nullptr;
int textsSent = 0;
LRESULT CALLBACK countingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) ++textsSent;
  return CallWindowProcW(editProcedure, window, message, wParam, lParam);
}

// The modeless test dialog: three edits, a three-button radio group closed
// by a WS_GROUP static, and a check box right after it.
class DialogExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    TemplateBuilder t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"exchange");
    const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    t.item(edit, kEditClass, kNumberEdit, 5, 5, 80, 12, L"");
    t.item(edit, kEditClass, kCountEdit, 5, 20, 80, 12, L"");
    t.item(edit, kEditClass, kTextEdit, 5, 35, 80, 12, L"");
    t.item(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, kButtonClass, kFirstRadio, 100, 5, 40, 10, L"&Byte");
    t.item(BS_AUTORADIOBUTTON, kButtonClass, kFirstRadio + 1, 100, 17, 40, 10, L"&KB");
    t.item(BS_AUTORADIOBUTTON, kButtonClass, kFirstRadio + 2, 100, 29, 40, 10, L"&MB");
    t.item(SS_LEFT | WS_GROUP, kStaticClass, kGroupEnd, 100, 41, 40, 10, L"end");
    t.item(BS_AUTOCHECKBOX | WS_TABSTOP, kButtonClass, kCheckBox, 100, 53, 60, 10, L"check");
    window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), t.get(), nullptr, plainDialogProc, 0);
    ASSERT_NE(nullptr, window) << "error " << GetLastError();
    controls.fill(window);
  }
  void TearDown() override {
    if (window) DestroyWindow(window);
  }

  HWND item(int id) const { return GetDlgItem(window, id); }
  std::wstring text(int id) const {
    wchar_t buffer[128] = {};
    GetWindowTextW(item(id), buffer, 128);
    return buffer;
  }
  bool checked(int id) const { return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void setChecked(int id, bool on) const {
    SendMessageW(item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  HWND window = nullptr;
  fw::ControlList controls;
};

struct Members {
  std::int32_t number = 0;
  std::uint64_t count = 0;
  std::wstring text;
  std::int32_t unit = -1;
  bool flag = false;
};

void exchangeAll(fw::DataExchange& dx, Members& m) {
  dx.number(kNumberEdit, m.number);
  dx.number(kCountEdit, m.count);
  dx.text(kTextEdit, m.text);
  dx.radio(kFirstRadio, m.unit);
  dx.check(kCheckBox, m.flag);
}

TEST_F(DialogExchange, LoadShowsEveryMemberAndSaveReadsBackOnlyWhatTheUserCanChange) {
  Members m{INT32_MIN, 25276178432ull, L"日本語のテキスト ①", 2, true};
  fw::DataExchange load(controls, false);
  exchangeAll(load, m);
  EXPECT_EQ(L"-2147483648", text(kNumberEdit));
  EXPECT_EQ(L"25276178432", text(kCountEdit));
  EXPECT_EQ(m.text, text(kTextEdit));
  EXPECT_TRUE(checked(kFirstRadio + 2));
  EXPECT_TRUE(checked(kCheckBox));

  // The shown fields are the program's output: what they hold is never
  // taken for a member, whatever it is.
  SetWindowTextW(item(kNumberEdit), L"12x");
  SetWindowTextW(item(kTextEdit), L"typed");
  setChecked(kFirstRadio + 2, false);
  setChecked(kFirstRadio, true);
  setChecked(kCheckBox, false);
  Members back = m;
  fw::DataExchange save(controls, true);
  exchangeAll(save, back);
  EXPECT_EQ(INT32_MIN, back.number);
  EXPECT_EQ(m.text, back.text);
  EXPECT_EQ(0, back.unit);
  EXPECT_FALSE(back.flag);
}

TEST_F(DialogExchange, AShownTextIsSentOnlyWhenTheFieldShowsSomethingElse) {
  editProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(item(kTextEdit), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countingEditProc)));
  const struct {
    const wchar_t* outside;  // set on the field before the load, or null
    const wchar_t* member;
    int sent;
    const char* why;
  } rows[] = {
      {nullptr, L"①", 1, "a new text"},
      {nullptr, L"①", 0, "the same text again"},
      {L"", L"①", 1, "cleared from outside: put back"},
      {L"①②", L"①", 1, "a longer text outside: put back"},
      {nullptr, L"", 1, "emptied"},
  };
  for (const auto& row : rows) {
    if (row.outside) SetWindowTextW(item(kTextEdit), row.outside);
    textsSent = 0;
    fw::DataExchange(controls, false).text(kTextEdit, row.member);
    EXPECT_EQ(row.sent, textsSent) << row.why;
    EXPECT_EQ(row.member, text(kTextEdit)) << row.why;
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
    setChecked(kCheckBox, false);
    for (int i = 0; i < 3; ++i) setChecked(kFirstRadio + i, i == 1);
    std::int32_t unit = row.value;
    fw::DataExchange(controls, false).radio(kFirstRadio, unit);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(row.checks[i], checked(kFirstRadio + i)) << "value " << row.value << ", button " << i;
    }
    EXPECT_FALSE(checked(kCheckBox)) << "value " << row.value;
    unit = 99;
    fw::DataExchange(controls, true).radio(kFirstRadio, unit);
    EXPECT_EQ(row.readBack, unit) << "value " << row.value;
  }
}

TEST_F(DialogExchange, CheckedBoxAfterTheGroupIsNotARadioButton) {
  for (int i = 0; i < 3; ++i) setChecked(kFirstRadio + i, false);
  setChecked(kCheckBox, true);
  std::int32_t unit = 99;
  fw::DataExchange(controls, true).radio(kFirstRadio, unit);
  EXPECT_EQ(-1, unit);
}

}  // namespace

// The settings dialog opened from the menu: what it lists and previews,
// what a colour choice writes at once, and what OK and Cancel hand back to
// the running status window and to the settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Program;
using e2e::WorkingDirectory;

constexpr const char* kSettingsCaption = "設定ダイアログ";
// A name neither the Japanese nor the Western code page can hold (the
// settings file's, in the two locales the tests run the program in).
constexpr const wchar_t* kUnstorable = L"\u0142\u00f3d\u017a";
constexpr COLORREF kFaceColour = RGB(0x40, 0x80, 0xC0);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kUnitButtons[] = {IDC_SETTINGS_UNIT_BYTE, IDC_SETTINGS_UNIT_KB, IDC_SETTINGS_UNIT_MB};

COLORREF faceColour(int, int) { return kFaceColour; }

// A face set whose four faces are one colour, 10 x 10 pixels.
void makeFaceSet(const WorkingDirectory& directory, const std::string& name) {
  const std::string path = directory.path() + "\\" + name;
  ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
  for (const char* face : {"fine", "calm", "down", "busy"}) {
    e2e::writeBitmap(path + "\\" + face + ".bmp", 10, faceColour);
  }
}

HWND openSettings(const Program& program) {
  program.menuCommand(ID_SETTINGS);
  return program.waitForWindowCaptioned(kSettingsCaption);
}

// Entries as UTF-16: names may hold characters no code page of the test has.
std::vector<std::wstring> listEntries(HWND list) {
  std::vector<std::wstring> entries;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    entries.emplace_back(text);
  }
  return entries;
}

std::wstring selectedEntry(HWND list) {
  const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return L"<none>";
  return listEntries(list).at(static_cast<std::size_t>(index));
}

int entryIndex(HWND list, const std::wstring& entry) {
  return static_cast<int>(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(entry.c_str())));
}

// The list as a user changes it: the selection, then its notification.
void selectEntry(HWND dialog, int index) {
  HWND list = GetDlgItem(dialog, IDC_FACE_LIST);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_FACE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// The chooser's edits for red, green and blue.
constexpr int kChooserRedEdit = 706;

// Opens the chooser from `button`, types the colour and accepts it.
void chooseColour(const Program& program, HWND dialog, int button, COLORREF colour) {
  PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
  HWND chooser = program.waitForWindowWith(kChooserRedEdit);
  ASSERT_TRUE(chooser) << "no colour chooser";
  EXPECT_FALSE(IsWindowEnabled(dialog)) << "the settings dialog must be disabled under its chooser";
  const int parts[] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  for (int i = 0; i < 3; ++i) {
    const std::string text = std::to_string(parts[i]);
    SendMessageA(GetDlgItem(chooser, kChooserRedEdit + i), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  Program::clickIn(chooser, IDOK);
  ASSERT_TRUE(e2e::waitFor([&] { return !IsWindow(chooser) || !IsWindowVisible(chooser); }));
}

COLORREF centreOf(HWND control) {
  const RECT area = e2e::clientScreenRect(control);
  return e2e::screenPixel((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}

// The status graph's background: a point above the highest the load line
// can reach.
COLORREF graphBackground(const Program& program) {
  const RECT area = program.controlScreenRect(IDC_GRAPH);
  return e2e::screenPixel((area.left + area.right) / 2, area.top + 2);
}

bool closed(HWND dialog) {
  return e2e::waitFor([&] { return !IsWindow(dialog); });
}

std::string setting(const WorkingDirectory& directory, const char* key) {
  const e2e::SettingValue value = e2e::readSetting(directory.settingsPath(), "GENERAL", key);
  return value.present ? "'" + value.text + "'" : "<absent>";
}

TEST(SettingsDialog, ListsSubDirectoriesPreviewsTheSetAndCancelKeepsOnlyTheColour) {
  WorkingDirectory directory;
  makeFaceSet(directory, "faces1");
  ASSERT_TRUE(CreateDirectoryA((directory.path() + "\\空の箱").c_str(), nullptr));
  const std::wstring unstorable = std::wstring(directory.path().begin(), directory.path().end()) + L"\\" + kUnstorable;
  ASSERT_TRUE(CreateDirectoryW(unstorable.c_str(), nullptr));
  e2e::writeBitmap(directory.path() + "\\plain.bmp", 4, faceColour);
  directory.writeSettings("[GENERAL]\r\nFaceDir=faces1\r\n");
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());

  HWND dialog = openSettings(program);
  ASSERT_TRUE(dialog) << "no settings dialog";
  EXPECT_FALSE(IsWindowEnabled(program.statusWindow())) << "status window not disabled under the dialog";
  HWND list = GetDlgItem(dialog, IDC_FACE_LIST);
  std::vector<std::wstring> entries = listEntries(list);
  std::sort(entries.begin(), entries.end());
  std::vector<std::wstring> expected = {L"＜デフォルト＞", L"faces1", L"空の箱", kUnstorable};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(expected, entries) << "every sub-directory, whatever its name holds; no files, no dots";
  EXPECT_EQ(L"faces1", selectedEntry(list));

  // The set's "fine" face at its own 10 x 10 pixels, once the dialog shows.
  const RECT preview = e2e::clientScreenRect(GetDlgItem(dialog, IDC_FACE_PREVIEW));
  auto previewShown = [&] {
    return e2e::screenPixel(preview.left, preview.top) == kFaceColour &&
           e2e::screenPixel(preview.left + 9, preview.top + 9) == kFaceColour &&
           e2e::screenPixel(preview.left + 11, preview.top + 11) != kFaceColour;
  };
  EXPECT_TRUE(e2e::waitFor(previewShown, 3000)) << "corner pixel " << e2e::screenPixel(preview.left, preview.top);
  selectEntry(dialog, -1);  // no selection: the preview stays
  EXPECT_TRUE(previewShown());

  chooseColour(program, dialog, IDC_BACKGROUND_COLOR, kGreen);
  EXPECT_TRUE(e2e::waitFor([&] { return setting(directory, "MoniterColor") == "'32768'"; }))
      << "not written the moment it is accepted: " << setting(directory, "MoniterColor");
  EXPECT_TRUE(e2e::waitFor([&] { return centreOf(GetDlgItem(dialog, IDC_BACKGROUND_SWATCH)) == kGreen; }));
  // The chooser's closing repaints the dialog; the preview comes back.
  EXPECT_TRUE(e2e::waitFor(previewShown, 3000)) << "preview lost after the chooser closed";

  Program::clickIn(dialog, IDCANCEL);
  ASSERT_TRUE(closed(dialog));
  program.tick();
  EXPECT_EQ(kWhite, graphBackground(program)) << "Cancel must not hand the colour to the running graph";
  EXPECT_EQ("'32768'", setting(directory, "MoniterColor"));
  EXPECT_EQ("'faces1'", setting(directory, "FaceDir"));
  EXPECT_EQ("<absent>", setting(directory, "UnitButton"));
  RemoveDirectoryW(unstorable.c_str());
}

TEST(SettingsDialog, OkHandsTheChoicesBackAndWritesThem) {
  WorkingDirectory directory;
  makeFaceSet(directory, "faces1");
  makeFaceSet(directory, "unstorable");
  const std::wstring folder(directory.path().begin(), directory.path().end());
  ASSERT_TRUE(MoveFileW((folder + L"\\unstorable").c_str(), (folder + L"\\" + kUnstorable).c_str()));
  directory.writeSettings("[GENERAL]\r\nFaceDir=faces1\r\nUnitEnd=1\r\nUnitButton=0\r\n");
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  auto faceFromSet = [&] {
    const RECT face = program.controlScreenRect(IDC_FACE);
    return e2e::screenPixel(face.left, face.top) == kFaceColour;
  };
  ASSERT_TRUE(e2e::waitFor(faceFromSet)) << "the status window does not show the stored face set";

  HWND dialog = openSettings(program);
  ASSERT_TRUE(dialog);
  auto unitsEnabled = [&](bool enabled) {
    return std::all_of(std::begin(kUnitButtons), std::end(kUnitButtons),
                       [&](int id) { return (IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE) == enabled; });
  };
  EXPECT_TRUE(unitsEnabled(false)) << "unit-at-exit on: the default unit is not in use";
  Program::clickIn(dialog, IDC_UNIT_AT_EXIT);
  EXPECT_TRUE(unitsEnabled(true));
  Program::clickIn(dialog, IDC_SETTINGS_UNIT_KB);
  Program::clickIn(dialog, IDC_UNIT_AT_EXIT);
  EXPECT_TRUE(unitsEnabled(false));
  selectEntry(dialog, entryIndex(GetDlgItem(dialog, IDC_FACE_LIST), L"＜デフォルト＞"));
  chooseColour(program, dialog, IDC_BACKGROUND_COLOR, kGreen);

  Program::clickIn(dialog, IDOK);
  ASSERT_TRUE(closed(dialog));
  program.tick();  // handled once the Settings command has finished
  // A disabled unit button still counts; the check box is not a unit.
  EXPECT_EQ("'1'", setting(directory, "UnitButton"));
  EXPECT_EQ("'1'", setting(directory, "UnitEnd"));
  EXPECT_EQ("''", setting(directory, "FaceDir")) << "the default entry is stored as no face set";
  EXPECT_EQ("'32768'", setting(directory, "MoniterColor"));
  EXPECT_EQ(kGreen, graphBackground(program)) << "OK hands the colour to the running graph";
  EXPECT_FALSE(faceFromSet()) << "OK hands the built-in faces to the running window";

  dialog = openSettings(program);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(dialog, IDC_SETTINGS_UNIT_KB), BM_GETCHECK, 0, 0))
      << "the next opening shows the default just chosen";
  EXPECT_TRUE(unitsEnabled(false));

  // A set whose name the file cannot hold: chosen, used, not stored, and said.
  selectEntry(dialog, entryIndex(GetDlgItem(dialog, IDC_FACE_LIST), kUnstorable));
  PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(program.waitForMessageBox());
  wchar_t said[256] = {};
  SendMessageW(GetDlgItem(program.messageBox(), 0xFFFF), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(said));
  EXPECT_EQ(L"表情「" + std::wstring(kUnstorable) + L"」の名前は設定ファイルに保存できないため、次回の起動では使われません。",
            std::wstring(said));
  Program::clickIn(program.messageBox(), IDOK);
  ASSERT_TRUE(closed(dialog));
  program.tick();
  EXPECT_EQ("''", setting(directory, "FaceDir"));
  EXPECT_TRUE(faceFromSet()) << "the set is in use for this run";
}

// A folder the program cannot write: the picked colour and OK each say so
// once, from the window the user is in, and the choices still hold for
// this run; the file stays as it was.
TEST(SettingsDialog, UnwritableFolderSaysSoAtEachWriteAndKeepsTheChoicesForTheRun) {
  WorkingDirectory directory;
  const std::string original = "[GENERAL]\r\nUnitButton=2\r\n";
  directory.writeSettings(original);
  const e2e::ReadOnlyFolder readOnly(directory.path());
  if (!readOnly.made()) GTEST_SKIP() << readOnly.why();
  Program program(directory);
  ASSERT_TRUE(program.waitForStatusWindow());
  HWND dialog = openSettings(program);
  ASSERT_TRUE(dialog);

  chooseColour(program, dialog, IDC_BACKGROUND_COLOR, kGreen);
  ASSERT_TRUE(program.waitForMessageBox()) << "no message for the colour that could not be written";
  EXPECT_EQ(dialog, GetWindow(program.messageBox(), GW_OWNER)) << "the box must hold the settings dialog";
  const std::string colourMessage = program.answerMessageBox();
  EXPECT_NE(std::string::npos, colourMessage.find(directory.settingsPath())) << colourMessage;
  EXPECT_TRUE(e2e::waitFor([&] { return centreOf(GetDlgItem(dialog, IDC_BACKGROUND_SWATCH)) == kGreen; }));

  Program::clickIn(dialog, IDC_SETTINGS_UNIT_KB);
  Program::clickIn(dialog, IDOK);
  ASSERT_TRUE(closed(dialog));
  const std::string okMessage = program.answerMessageBox();
  EXPECT_NE(std::string::npos, okMessage.find(directory.settingsPath())) << "after OK: '" << okMessage << "'";
  program.tick();
  EXPECT_EQ(nullptr, program.messageBox()) << "one message for the keys OK writes";
  EXPECT_EQ(kGreen, graphBackground(program)) << "OK hands the colour to the running graph all the same";

  program.menuCommand(ID_APP_EXIT);
  const std::string exitMessage = program.answerMessageBox();
  EXPECT_NE(std::string::npos, exitMessage.find(directory.settingsPath())) << "at exit: '" << exitMessage << "'";
  EXPECT_TRUE(program.waitForExit());
  EXPECT_EQ(original, directory.readSettings());
}

}  // namespace

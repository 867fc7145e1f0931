#include "tools/settings_dialog.h"

#include "display/control_fill.h"
#include "display/face_drawing.h"
#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/handles.h"
#include "framework/platform_text.h"
#include "framework/resources.h"
#include "res/resource.h"
#include "tools/face_set_list.h"

namespace {
constexpr int kUnitButtons[] = {IDC_SETTINGS_UNIT_BYTE, IDC_SETTINGS_UNIT_KB, IDC_SETTINGS_UNIT_MB};

// A list box message whose lParam is a name.
LRESULT sendName(HWND list, UINT message, WPARAM wParam, const std::wstring& name) {
  if (fw::usesWideText()) return SendMessageW(list, message, wParam, reinterpret_cast<LPARAM>(name.c_str()));
  return SendMessageA(list, message, wParam, reinterpret_cast<LPARAM>(fw::systemText(name).c_str()));
}

}  // namespace

SettingsDialog::SettingsDialog(const SettingsChoices& choices, CustomColours& customColours, SettingsStore& store)
    : fw::Dialog(IDD_SETTINGS), choices_(choices), customColours_(customColours), store_(store) {}

void SettingsDialog::doDataExchange(fw::DataExchange& dx) {
  dx.radio(IDC_SETTINGS_UNIT_BYTE, choices_.defaultUnit);
  dx.check(IDC_UNIT_AT_EXIT, choices_.unitAtExit);
}

bool SettingsDialog::onInitDialog() {
  fw::Dialog::onInitDialog();
  fillFaceList();
  if (choices_.unitAtExit) enableUnitButtons(false);
  // The first entry that begins with the name, whatever its letter case.
  sendName(item(IDC_FACE_LIST), LB_SELECTSTRING, static_cast<WPARAM>(-1), choices_.faceSetName);
  drawPreview(choices_.faceSetName);
  lineSwatchRepaint_.attach(item(IDC_LINE_SWATCH),
                            [this] { fillControlRect(item(IDC_LINE_SWATCH), choices_.lineColor); });
  backgroundSwatchRepaint_.attach(item(IDC_BACKGROUND_SWATCH),
                                  [this] { fillControlRect(item(IDC_BACKGROUND_SWATCH), choices_.backgroundColor); });
  previewRepaint_.attach(item(IDC_FACE_PREVIEW), [this] { redrawPreview(); });
  updateData(false);
  return true;
}

void SettingsDialog::fillFaceList() {
  HWND list = item(IDC_FACE_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  faceEntries_ = {defaultEntry_};
  for (const std::wstring& name : listFaceSetDirectories()) faceEntries_.push_back(name);
  // The list sorts what it is given; each entry keeps its place in
  // faceEntries_ as its item data.
  for (std::size_t i = 0; i < faceEntries_.size(); ++i) {
    const LRESULT index = sendName(list, LB_ADDSTRING, 0, faceEntries_[i]);
    if (index >= 0) SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(i));
  }
}

void SettingsDialog::enableUnitButtons(bool enabled) {
  for (int id : kUnitButtons) EnableWindow(item(id), enabled ? TRUE : FALSE);
}

bool SettingsDialog::onCommand(int id, int notifyCode) {
  switch (id) {
    case IDC_LINE_COLOR:
      if (notifyCode == BN_CLICKED) onColour(choices_.lineColor, IDC_LINE_SWATCH, &SettingsStore::saveLineColor);
      return true;
    case IDC_BACKGROUND_COLOR:
      if (notifyCode == BN_CLICKED) {
        onColour(choices_.backgroundColor, IDC_BACKGROUND_SWATCH, &SettingsStore::saveBackgroundColor);
      }
      return true;
    case IDC_UNIT_AT_EXIT:
      if (notifyCode == BN_CLICKED) onUnitAtExit();
      return true;
    case IDC_FACE_LIST:
      if (notifyCode == LBN_SELCHANGE) onFaceSelChange();
      return true;
    default:
      return false;
  }
}

// An accepted colour is shown and kept at once, whatever becomes of the
// dialog; one that cannot be kept is still shown, and the user hears of it
// at once.
void SettingsDialog::onColour(COLORREF& colour, int swatchId, bool (SettingsStore::*save)(COLORREF)) {
  if (!chooseColour(hwnd(), colour, customColours_)) return;
  fillControlRect(item(swatchId), colour);
  if (!(store_.*save)(colour)) store_.reportUnsaved();
}

void SettingsDialog::onUnitAtExit() {
  // The box is the truth: it is what OK reads back.
  choices_.unitAtExit = IsDlgButtonChecked(hwnd(), IDC_UNIT_AT_EXIT) == BST_CHECKED;
  enableUnitButtons(!choices_.unitAtExit);
}

void SettingsDialog::onFaceSelChange() {
  HWND list = item(IDC_FACE_LIST);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;  // nothing chosen: keep the name and the preview
  const LRESULT entry = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (entry < 0 || static_cast<std::size_t>(entry) >= faceEntries_.size()) return;
  choices_.faceSetName = faceEntries_[static_cast<std::size_t>(entry)];
  drawPreview(choices_.faceSetName);
}

void SettingsDialog::drawPreview(const std::wstring& name) {
  if (name.empty() || isDefaultEntry(name)) {
    drawBuiltinFacePreview(item(IDC_FACE_PREVIEW));
    previewFaceSet_ = std::wstring();
  } else if (drawFileFacePreview(item(IDC_FACE_PREVIEW), name)) {
    previewFaceSet_ = name;
  }
}

void SettingsDialog::redrawPreview() {
  if (previewFaceSet_) drawPreview(*previewFaceSet_);
}

// The preview is larger than its control and lies partly on the dialog's
// own surface, so it is drawn again after the dialog paints as well.
bool SettingsDialog::onPaint() {
  { fw::PaintDc dc(hwnd()); }
  fillControlRect(item(IDC_LINE_SWATCH), choices_.lineColor);
  fillControlRect(item(IDC_BACKGROUND_SWATCH), choices_.backgroundColor);
  redrawPreview();
  return true;
}

// Every choice is tried whatever became of the one before, and the user
// hears once of any that could not be kept.
void SettingsDialog::saveSettings() {
  std::wstring& faceSetName = choices_.faceSetName;
  if (isDefaultEntry(faceSetName)) faceSetName.clear();
  const bool unitKept = store_.saveDefaultUnit(choices_.defaultUnit);
  const bool unitAtExitKept = store_.saveUnitAtExit(choices_.unitAtExit);
  const bool storable = faceSetName.empty() || faceSetNameFor(faceSetName);
  const bool faceSetKept = !storable || store_.saveFaceSet(faceSetName);
  if (!(unitKept && unitAtExitKept && faceSetKept)) store_.reportUnsaved();
  if (!storable) {
    fw::appMessageBox(fw::fillIn(fw::loadString(IDS_FACE_SET_NOT_KEPT), {faceSetName}), MB_OK | MB_ICONEXCLAMATION);
  }
}

#include "tools/settings_dialog.h"

#include "display/control_fill.h"
#include "display/face_drawing.h"
#include "framework/application.h"
#include "framework/data_exchange.h"
#include "framework/handles.h"
#include "framework/platform_text.h"
#include "res/resource.h"
#include "tools/face_set_list.h"

namespace {
constexpr int kUnitButtons[] = {IDC_SETTINGS_UNIT_BYTE, IDC_SETTINGS_UNIT_KB, IDC_SETTINGS_UNIT_MB};

constexpr const char* kFaceSetNotStorable = "表情「%s」の名前は設定ファイルに保存できないため、次回の起動では使われません。";

bool isDefaultEntry(const std::wstring& name) { return name == fw::widen(kDefaultFaceSetEntry); }

// The message naming a face set the settings file cannot hold.
std::wstring faceSetNotStorableMessage(const std::wstring& name) {
  std::wstring message = fw::widen(kFaceSetNotStorable);
  message.replace(message.find(L"%s"), 2, name);
  return message;
}
}  // namespace

SettingsDialog::SettingsDialog(CustomColours& colours, SettingsStore& settingsStore, HWND parent)
    : fw::Dialog(IDD_SETTINGS, parent), customColours(colours), store(settingsStore) {}

void SettingsDialog::doDataExchange(fw::DataExchange& dx) {
  dx.radio(IDC_SETTINGS_UNIT_BYTE, defaultUnit);
  dx.check(IDC_UNIT_AT_EXIT, unitAtExit);
}

bool SettingsDialog::onInitDialog() {
  fw::Dialog::onInitDialog();
  fillFaceList();
  if (unitAtExit != 0) enableUnitButtons(false);
  fw::selectListString(item(IDC_FACE_LIST), faceSetName);
  drawPreview(faceSetName);
  lineSwatchRepaint.attach(item(IDC_LINE_SWATCH), [this] { fillControlRect(item(IDC_LINE_SWATCH), lineColor); });
  backgroundSwatchRepaint.attach(item(IDC_BACKGROUND_SWATCH),
                                 [this] { fillControlRect(item(IDC_BACKGROUND_SWATCH), backgroundColor); });
  previewRepaint.attach(item(IDC_FACE_PREVIEW), [this] { redrawPreview(); });
  updateData(false);
  return true;
}

void SettingsDialog::fillFaceList() {
  HWND list = item(IDC_FACE_LIST);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  fw::addListString(list, fw::widen(kDefaultFaceSetEntry));
  for (const std::wstring& name : listFaceSetDirectories()) fw::addListString(list, name);
}

void SettingsDialog::enableUnitButtons(bool enabled) {
  for (int id : kUnitButtons) EnableWindow(item(id), enabled ? TRUE : FALSE);
}

bool SettingsDialog::onCommand(int id, int notifyCode) {
  switch (id) {
    case IDC_LINE_COLOR:
      if (notifyCode == BN_CLICKED) onLineColor();
      return true;
    case IDC_BACKGROUND_COLOR:
      if (notifyCode == BN_CLICKED) onBackgroundColor();
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

// An accepted colour is kept at once, whatever becomes of the dialog; one
// that cannot be kept is still shown, and the user hears of it at once.
void SettingsDialog::onLineColor() {
  if (chooseColour(lineColor, IDC_LINE_SWATCH) && !store.saveLineColor(lineColor)) store.reportUnsaved();
}

void SettingsDialog::onBackgroundColor() {
  if (chooseColour(backgroundColor, IDC_BACKGROUND_SWATCH) && !store.saveBackgroundColor(backgroundColor)) {
    store.reportUnsaved();
  }
}

bool SettingsDialog::chooseColour(COLORREF& colour, int swatchId) {
  if (!::chooseColour(hwnd(), colour, customColours)) return false;
  fillControlRect(item(swatchId), colour);
  return true;
}

void SettingsDialog::onUnitAtExit() {
  // The box is the truth: it is what OK reads back.
  unitAtExit = IsDlgButtonChecked(hwnd(), IDC_UNIT_AT_EXIT) == BST_CHECKED ? 1 : 0;
  enableUnitButtons(unitAtExit == 0);
}

void SettingsDialog::onFaceSelChange() {
  HWND list = item(IDC_FACE_LIST);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;  // nothing chosen: keep the name and the preview
  const std::optional<std::wstring> name = fw::listString(list, static_cast<int>(index));
  if (!name) return;
  faceSetName = *name;
  drawPreview(faceSetName);
}

void SettingsDialog::drawPreview(const std::wstring& name) {
  if (name.empty() || isDefaultEntry(name)) {
    drawBuiltinFacePreview(item(IDC_FACE_PREVIEW));
    previewFaceSet = std::wstring();
  } else if (drawFileFacePreview(item(IDC_FACE_PREVIEW), name)) {
    previewFaceSet = name;
  }
}

void SettingsDialog::redrawPreview() {
  if (previewFaceSet) drawPreview(*previewFaceSet);
}

// The preview is larger than its control and lies partly on the dialog's
// own surface, so it is drawn again after the dialog paints as well.
bool SettingsDialog::onPaint() {
  { fw::PaintDc dc(hwnd()); }
  fillControlRect(item(IDC_LINE_SWATCH), lineColor);
  fillControlRect(item(IDC_BACKGROUND_SWATCH), backgroundColor);
  redrawPreview();
  return true;
}

// Every choice is tried whatever became of the one before, and the user
// hears once of any that could not be kept.
void SettingsDialog::saveSettings() {
  if (isDefaultEntry(faceSetName)) faceSetName.clear();
  const bool unitKept = store.saveDefaultUnit(defaultUnit);
  const bool unitAtExitKept = store.saveUnitAtExit(unitAtExit);
  const bool storable = faceSetName.empty() || faceSetNameFor(faceSetName);
  const bool faceSetKept = !storable || store.saveFaceSet(faceSetName);
  if (!(unitKept && unitAtExitKept && faceSetKept)) store.reportUnsaved();
  if (!storable) fw::appMessageBox(faceSetNotStorableMessage(faceSetName), MB_OK | MB_ICONEXCLAMATION);
}

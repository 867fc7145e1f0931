// The settings dialog: default memory unit, whether the unit in use at exit
// is remembered instead, the graph's two colours and the face set. A colour
// is written the moment it is chosen; the rest only when OK closes it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "display/after_paint_hook.h"
#include "framework/dialog.h"
#include "tools/colour_choice.h"
#include "tools/settings_store.h"

// The list's entry for the built-in faces; it never reaches the file.
constexpr const char* kDefaultFaceSetEntry = "＜デフォルト＞";

class SettingsDialog : public fw::Dialog {
 public:
  // The colour chooser's custom colours live with the caller, so they last
  // beyond one opening of the dialog; the store keeps what is chosen.
  SettingsDialog(CustomColours& customColours, SettingsStore& store, HWND parent = nullptr);

  // Filled by the caller before the run and read back after OK. An empty
  // face-set name means the built-in faces.
  std::wstring faceSetName;
  COLORREF backgroundColor = 0;
  COLORREF lineColor = 0;
  std::int32_t defaultUnit = -1;
  std::int32_t unitAtExit = 0;

  // Writes the unit, the unit-at-exit flag and the face set; after OK. The
  // choices stand for this run even where they could not be written; a face
  // set whose name the file cannot hold is not written, and the user is told
  // so.
  void saveSettings();

 protected:
  void doDataExchange(fw::DataExchange& dx) override;
  bool onInitDialog() override;
  bool onCommand(int id, int notifyCode) override;
  bool onPaint() override;

 private:
  void fillFaceList();
  void enableUnitButtons(bool enabled);
  void onLineColor();
  void onBackgroundColor();
  // True when a colour was chosen, shown and is to be kept.
  bool chooseColour(COLORREF& colour, int swatchId);
  void onUnitAtExit();
  void onFaceSelChange();
  // Draws the face set's "fine" face (the built-in one for an empty name or
  // the default entry) and remembers it when it could be drawn.
  void drawPreview(const std::wstring& name);
  void redrawPreview();

  CustomColours& customColours;
  SettingsStore& store;
  // What the preview shows, drawn again whenever the dialog has painted:
  // empty for the built-in face, nothing before anything could be drawn.
  std::optional<std::wstring> previewFaceSet;
  // The swatches and the preview are drawn over controls that paint
  // themselves after the dialog: each is drawn again once its control has.
  display::AfterPaintHook lineSwatchRepaint;
  display::AfterPaintHook backgroundSwatchRepaint;
  display::AfterPaintHook previewRepaint;
};

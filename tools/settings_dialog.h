// The settings dialog: default memory unit, whether the unit in use at exit
// is remembered instead, the graph's two colours and the face set. A colour
// is written the moment it is chosen; the rest only when OK closes it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "display/after_paint_hook.h"
#include "framework/dialog.h"
#include "framework/resources.h"
#include "res/resource.h"
#include "tools/colour_choice.h"
#include "tools/settings_store.h"

class SettingsDialog : public fw::Dialog {
 public:
  // The colour chooser's custom colours live with the caller, so they last
  // beyond one opening of the dialog; the store keeps what is chosen.
  SettingsDialog(const SettingsChoices& choices, CustomColours& customColours, SettingsStore& store);

  // What the user has chosen so far; after OK, what to take back.
  const SettingsChoices& choices() const { return choices_; }

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
  void onColour(COLORREF& colour, int swatchId, bool (SettingsStore::*save)(COLORREF));
  void onUnitAtExit();
  void onFaceSelChange();
  // Draws the face set's "fine" face (the built-in one for an empty name or
  // the default entry) and remembers it when it could be drawn.
  void drawPreview(const std::wstring& name);
  void redrawPreview();
  bool isDefaultEntry(const std::wstring& name) const { return name == defaultEntry_; }

  SettingsChoices choices_;
  CustomColours& customColours_;
  SettingsStore& store_;
  // The list's entry for the built-in faces; it never reaches the file.
  const std::wstring defaultEntry_ = fw::loadString(IDS_DEFAULT_FACE_SET);
  // The list's entries as added; each entry's item data is its place here,
  // so a selection is read without reading the list's text back.
  std::vector<std::wstring> faceEntries_;
  // What the preview shows, drawn again whenever the dialog has painted:
  // empty for the built-in face, nothing before anything could be drawn.
  std::optional<std::wstring> previewFaceSet_;
  // The swatches and the preview are drawn over controls that paint
  // themselves after the dialog: each is drawn again once its control has.
  display::AfterPaintHook lineSwatchRepaint_;
  display::AfterPaintHook backgroundSwatchRepaint_;
  display::AfterPaintHook previewRepaint_;
};

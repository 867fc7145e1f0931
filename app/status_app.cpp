#include "app/status_app.h"

#include "app/status_dialog.h"

bool StatusApp::initInstance() {
  fw::initCommonControls();
  StatusDialog dialog;
  setMainWindow(&dialog);
  dialog.doModal();
  setMainWindow(nullptr);
  // No message loop of our own: the process ends with the status window.
  return false;
}

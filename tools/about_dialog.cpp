#include "tools/about_dialog.h"

#include "res/resource.h"

AboutDialog::AboutDialog() : fw::Dialog(IDD_ABOUT) {}

// The application object: runs the status window modally and ends the
// process when it closes.
#pragma once

#include "framework/application.h"

class StatusApp : public fw::Application {
 protected:
  void initInstance() override;
};

#include <windows.h>

#include "app/status_app.h"

namespace {
StatusApp theApp;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return theApp.run(instance); }

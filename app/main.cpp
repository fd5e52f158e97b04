// The toolbox's entry point.
#include <windows.h>

#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return app::RunToolbox(); }

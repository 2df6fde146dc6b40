// The agent uninstaller's program entry: no window, no arguments; the whole
// sequence runs here once (uninstall.h) and the program ends with 0.
#include <windows.h>

#include <exception>

#include "uninstall.h"
#include "win32_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Win32UninstallSystem system;
  try {
    run_uninstall(system);
  } catch (const std::exception& e) {
    system.log(std::string("stopped: ") + e.what());
  }
  return 0;
}

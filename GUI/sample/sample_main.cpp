// The sample program: shows the main window; with --add-host it opens the
// "Add host" dialog once the window is up (the view a screenshot checks).
#include <cstring>

#include "sample_app.h"

int main(int argc, char** argv) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!sample::RegisterClasses(instance)) return 1;
  HWND main = sample::CreateMainWindow(instance);
  if (!main) return 1;
  ShowWindow(main, SW_SHOW);
  UpdateWindow(main);
  SetFocus(sample::TreeOf(main));

  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--add-host") == 0) sample::RunAddHostDialog(main);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

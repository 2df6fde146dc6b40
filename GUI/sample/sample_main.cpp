// The sample program: shows the main window and runs the layer's message
// pump; with --add-host it opens the "Add host" dialog once the window is up
// (the view a screenshot checks).
#include <cstring>

#include "afxwin.h"
#include "sample_app.h"

namespace {

class CSampleApp : public CWinApp {
 public:
  CSampleApp() : CWinApp("Tarvane sample") {}
  bool m_addHost = false;

  BOOL InitInstance() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!sample::RegisterClasses(instance)) return FALSE;
    HWND main = sample::CreateMainWindow(instance);
    if (!main) return FALSE;
    m_pMainWnd = CWnd::FromHandlePermanent(main);
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);
    SetFocus(sample::TreeOf(main));
    if (m_addHost) sample::RunAddHostDialog(main);
    return TRUE;
  }
};

CSampleApp theApp;

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--add-host") == 0) theApp.m_addHost = true;
  if (!theApp.InitInstance()) return 1;
  return theApp.Run();
}

// The sample program: the framed document/view fixture (sample_frame.h) started from
// its document template. For a screenshot: --float floats the "Legend" bar,
// --sheet opens the "Options" sheet and --wizard the "New host" wizard (both
// modeless, so that the frame stays usable beside them).
#include <cstring>

#include "afxwin.h"
#include "sample_frame.h"

namespace {

class CSampleApp : public CWinApp {
 public:
  CSampleApp() : CWinApp("Tarvane sample") {}
  bool m_float = false;
  bool m_sheet = false;
  bool m_wizard = false;
  sample::COptionsSheet* m_options = nullptr;
  sample::CNewHostWizard* m_newHost = nullptr;

  BOOL InitInstance() override {
    AddDocTemplate(sample::MakeDocTemplate());
    CCommandLineInfo info;
    if (!ProcessShellCommand(info)) return FALSE;
    auto* frame = static_cast<sample::CSampleFrame*>(m_pMainWnd);
    if (m_float) frame->FloatControlBar(&frame->m_legend, CPoint(60, 580));
    if (m_sheet) {
      m_options = new sample::COptionsSheet(frame);
      m_options->Create(frame);
      m_options->SetWindowPos(nullptr, 820, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    if (m_wizard) {
      m_newHost = new sample::CNewHostWizard(frame);
      m_newHost->Create(frame);
      m_newHost->SetWindowPos(nullptr, 440, 560, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      m_newHost->SetActivePage(1);
    }
    return TRUE;
  }

  int ExitInstance() override {
    delete m_options;
    delete m_newHost;
    return CWinApp::ExitInstance();
  }
};

CSampleApp theApp;

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--float") == 0) theApp.m_float = true;
    if (std::strcmp(argv[i], "--sheet") == 0) theApp.m_sheet = true;
    if (std::strcmp(argv[i], "--wizard") == 0) theApp.m_wizard = true;
  }
  if (!theApp.InitInstance()) return 1;
  return theApp.Run();
}

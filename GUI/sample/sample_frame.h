// The sample program's framed document/view fixture: a frame with a status bar and
// two plain docked control bars ("Subnets" on the left, "Legend" on top), and a
// static splitter holding a form view (host name, Add) and the chart view; an
// "Options" property sheet and a Wizard97 "New host" wizard. The document keeps the
// host names the form adds. A test fixture for the class layer, not the console.
// GUI thread only.
#pragma once

#include "afxdlgs.h"
#include "afxext.h"

#include <string>
#include <vector>

namespace sample {

class CSampleDoc : public CDocument {
  DECLARE_DYNCREATE(CSampleDoc)
 public:
  std::vector<std::string> hosts;
  BOOL OnNewDocument() override;
  void AddHost(const std::string& name);
};

// A plain bar: a fixed size, a caption painted on the face; its title names it
// when it floats.
class CSampleBar : public CControlBar {
 public:
  BOOL CreateBar(CWnd* parent, UINT id, DWORD align, LPCSTR title, LPCSTR caption, CSize size);
  CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
  void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
  void DoPaint(CDC* dc) override;

 private:
  CString m_caption;
  CSize m_size;
};

class CHostForm : public CFormView {
  DECLARE_DYNCREATE(CHostForm)
 public:
  CHostForm();
  CSampleDoc* GetDocument() const { return static_cast<CSampleDoc*>(m_pDocument); }
  void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

 protected:
  afx_msg void OnAdd();
  DECLARE_MESSAGE_MAP()
};

class CChartView : public CView {
  DECLARE_DYNCREATE(CChartView)
 public:
  void OnDraw(CDC* dc) override;
  int updates = 0;
  void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
};

class CSampleFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CSampleFrame)
 public:
  CStatusBar m_status;
  CSampleBar m_subnets;
  CSampleBar m_legend;
  CSplitterWnd m_splitter;

  BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;

 protected:
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  afx_msg int OnCreate(LPCREATESTRUCTA cs);
  afx_msg void OnOptions();
  afx_msg void OnNewHost();
  DECLARE_MESSAGE_MAP()
};

// A wizard page that sets the wizard's buttons when it shows.
class CWizardStep : public CPropertyPage {
 public:
  CWizardStep(UINT templateId, DWORD buttons) : CPropertyPage(templateId), m_buttons(buttons) {}
  BOOL OnSetActive() override;

 private:
  DWORD m_buttons;
};

// The "Options" sheet: two pages.
class COptionsSheet : public CPropertySheet {
 public:
  explicit COptionsSheet(CWnd* parent);
  CPropertyPage m_general;
  CPropertyPage m_display;
};

// The "New host" wizard: a welcome page without a header, a name page, a finish page.
class CNewHostWizard : public CPropertySheet {
 public:
  explicit CNewHostWizard(CWnd* parent);
  CWizardStep m_welcome;
  CWizardStep m_name;
  CWizardStep m_done;
};

// The fixture's document template (string and menu 128).
CSingleDocTemplate* MakeDocTemplate();

}  // namespace sample

#include "sample_frame.h"

#include "sample_app.h"
#include "sample_resource.h"

namespace sample {

IMPLEMENT_DYNCREATE(CSampleDoc, CDocument)
IMPLEMENT_DYNCREATE(CHostForm, CFormView)
IMPLEMENT_DYNCREATE(CChartView, CView)
IMPLEMENT_DYNCREATE(CSampleFrame, CFrameWnd)

// ---- document

BOOL CSampleDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return FALSE;
  hosts.clear();
  return TRUE;
}

void CSampleDoc::AddHost(const std::string& name) {
  // Nothing is saved: the document stays unmodified, so closing never asks.
  hosts.push_back(name);
  UpdateAllViews(nullptr);
}

// ---- plain bar

BOOL CSampleBar::CreateBar(CWnd* parent, UINT id, DWORD align, LPCSTR title, LPCSTR caption, CSize size) {
  m_caption = caption;
  m_size = size;
  m_dwStyle = align | CBRS_BORDER_ANY | CBRS_GRIPPER;
  if (!CWnd::Create(nullptr, title, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent, id)) return FALSE;
  EnableDocking(CBRS_ALIGN_ANY);
  return TRUE;
}

CSize CSampleBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
  if (horz) return CSize(stretch ? 32767 : m_size.cx, m_size.cy);
  return CSize(m_size.cy * 4, stretch ? 32767 : m_size.cx);
}

void CSampleBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

void CSampleBar::DoPaint(CDC* dc) {
  CControlBar::DoPaint(dc);
  CRect r;
  GetClientRect(&r);
  CalcInsideRect(r, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  dc->SetBkMode(TRANSPARENT);
  CGdiObject* old = dc->SelectStockObject(DEFAULT_GUI_FONT);
  dc->DrawText(m_caption, -1, &r, DT_LEFT | DT_WORDBREAK);
  dc->SelectObject(old);
}

// ---- form view

BEGIN_MESSAGE_MAP(CHostForm, CFormView)
  ON_BN_CLICKED(IDC_SAMPLE_FORM_ADD, OnAdd)
END_MESSAGE_MAP()

CHostForm::CHostForm() : CFormView(IDD_SAMPLE_FORM) {}

void CHostForm::OnAdd() {
  CString name;
  GetDlgItemText(IDC_SAMPLE_FORM_NAME, name);
  name.Trim();
  if (name.IsEmpty() || !GetDocument()) return;
  GetDocument()->AddHost((LPCSTR)name);
  SetDlgItemText(IDC_SAMPLE_FORM_NAME, "");
}

void CHostForm::OnUpdate(CView*, LPARAM, CObject*) {
  CSampleDoc* doc = GetDocument();
  CString text = "No hosts";
  if (doc && !doc->hosts.empty())
    text.Format("%d host(s), last %s", (int)doc->hosts.size(), doc->hosts.back().c_str());
  SetDlgItemText(IDC_SAMPLE_FORM_COUNT, text);
}

// ---- chart view

void CChartView::OnDraw(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  DrawChart(*dc, client);
}

void CChartView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) {
  ++updates;
  CView::OnUpdate(sender, hint, hintObject);
}

// ---- frame

BEGIN_MESSAGE_MAP(CSampleFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(ID_SAMPLE_OPTIONS, OnOptions)
  ON_COMMAND(ID_SAMPLE_NEW_HOST, OnNewHost)
END_MESSAGE_MAP()

int CSampleFrame::OnCreate(LPCREATESTRUCTA cs) {
  if (CFrameWnd::OnCreate(cs) == -1) return -1;
  static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
  if (!m_status.Create(this) || !m_status.SetIndicators(indicators, 3)) return -1;
  if (!m_subnets.CreateBar(this, IDW_SAMPLE_SUBNETS, CBRS_ALIGN_LEFT, "Subnets", "Subnets: 10.0.1 10.0.2 10.0.3 10.0.4",
                           CSize(110, 28)) ||
      !m_legend.CreateBar(this, IDW_SAMPLE_LEGEND, CBRS_ALIGN_TOP, "Legend", "Legend: bars count the hosts of a subnet",
                          CSize(300, 26)))
    return -1;
  EnableDocking(CBRS_ALIGN_ANY);
  DockControlBar(&m_legend, AFX_IDW_DOCKBAR_TOP);
  DockControlBar(&m_subnets, AFX_IDW_DOCKBAR_LEFT);
  return 0;
}

BOOL CSampleFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  // A fixed place and size, so that tests and screenshots see the same layout.
  cs.x = 30;
  cs.y = 30;
  cs.cx = 760;
  cs.cy = 500;
  return TRUE;
}

BOOL CSampleFrame::OnCreateClient(LPCREATESTRUCTA, CCreateContext* context) {
  return m_splitter.CreateStatic(this, 1, 2) &&
         m_splitter.CreateView(0, 0, RUNTIME_CLASS(CHostForm), CSize(240, 100), context) &&
         m_splitter.CreateView(0, 1, RUNTIME_CLASS(CChartView), CSize(100, 100), context);
}

void CSampleFrame::OnOptions() {
  COptionsSheet sheet(this);
  sheet.DoModal();
}

void CSampleFrame::OnNewHost() {
  CNewHostWizard wizard(this);
  wizard.DoModal();
}

// ---- sheets

COptionsSheet::COptionsSheet(CWnd* parent)
    : CPropertySheet("Options", parent), m_general(IDD_SAMPLE_PAGE_GENERAL), m_display(IDD_SAMPLE_PAGE_DISPLAY) {
  AddPage(&m_general);
  AddPage(&m_display);
}

BOOL CWizardStep::OnSetActive() {
  if (m_pSheet) m_pSheet->SetWizardButtons(m_buttons);
  return CPropertyPage::OnSetActive();
}

CNewHostWizard::CNewHostWizard(CWnd* parent)
    : CPropertySheet("New host", parent),
      m_welcome(IDD_SAMPLE_WIZ_WELCOME, PSWIZB_NEXT),
      m_name(IDD_SAMPLE_WIZ_NAME, PSWIZB_BACK | PSWIZB_NEXT),
      m_done(IDD_SAMPLE_WIZ_DONE, PSWIZB_BACK | PSWIZB_FINISH) {
  m_psh.dwFlags |= PSH_WIZARD97;
  m_welcome.m_psp.dwFlags |= PSP_HIDEHEADER;
  m_done.m_psp.dwFlags |= PSP_HIDEHEADER;
  m_name.m_psp.dwFlags |= PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
  m_name.m_psp.pszHeaderTitle = "Host name";
  m_name.m_psp.pszHeaderSubTitle = "Type the name of the host to add.";
  AddPage(&m_welcome);
  AddPage(&m_name);
  AddPage(&m_done);
}

CSingleDocTemplate* MakeDocTemplate() {
  return new CSingleDocTemplate(IDR_SAMPLE_FRAME, RUNTIME_CLASS(CSampleDoc), RUNTIME_CLASS(CSampleFrame),
                                RUNTIME_CLASS(CHostForm));
}

}  // namespace sample

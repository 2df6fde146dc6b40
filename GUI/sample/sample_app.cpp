#include "sample_app.h"

#include <array>

#include "afxwin.h"

#include "sample_resource.h"

namespace sample {
namespace {

constexpr int kTreeId = 10;
constexpr int kChartId = 11;
constexpr int kTreeWidth = 220;

struct Bar {
  const char* label;
  int hosts;
};
constexpr std::array<Bar, 4> kBars = {{{"10.0.1", 5}, {"10.0.2", 3}, {"10.0.3", 8}, {"10.0.4", 2}}};

HTREEITEM AddItem(HWND tree, HTREEITEM parent, const char* text) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>(text);
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void FillTree(HWND tree) {
  HTREEITEM network = AddItem(tree, TVI_ROOT, "Network");
  HTREEITEM routers = AddItem(tree, network, "Routers");
  AddItem(tree, routers, "core-1");
  AddItem(tree, routers, "edge-2");
  HTREEITEM switches = AddItem(tree, network, "Switches");
  AddItem(tree, switches, "sw-101");
  AddItem(tree, switches, "sw-102");
  AddItem(tree, network, "Printers");
  for (HTREEITEM item : {network, routers, switches}) TreeView_Expand(tree, item, TVE_EXPAND);
}

// The chart: bars of hosts per subnet, drawn through the layer's CDC.
class CHostChart : public CWnd {
 public:
  void Draw(CDC& dc);

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* dc);
  LRESULT OnPrintClient(WPARAM wp, LPARAM lp);
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHostChart, CWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

void CHostChart::Draw(CDC& dc) {
  CRect client;
  GetClientRect(&client);
  DrawChart(dc, client);
}

}  // namespace

void DrawChart(CDC& dc, const RECT& clientRect) {
  CRect client(clientRect);
  dc.FillSolidRect(&client, kChartBackground);

  dc.SetBkMode(TRANSPARENT);
  CGdiObject* old_font = dc.SelectStockObject(DEFAULT_GUI_FONT);
  CRect title(client.left + 10, client.top + 8, client.right - 10, client.top + 28);
  dc.DrawText("Hosts per subnet", -1, &title, DT_LEFT | DT_SINGLELINE | DT_VCENTER);

  for (int i = 0; i < ChartBarCount(); ++i) {
    CRect bar = ChartBarRect(i, client);
    dc.FillSolidRect(&bar, kChartBar);
    CRect label(bar.left - 10, bar.bottom + 4, bar.right + 10, bar.bottom + 20);
    dc.DrawText(kBars[i].label, -1, &label, DT_CENTER | DT_SINGLELINE);
  }

  // A marker on the tallest bar.
  int tallest = 0;
  for (int i = 1; i < ChartBarCount(); ++i)
    if (kBars[i].hosts > kBars[tallest].hosts) tallest = i;
  CRect top = ChartBarRect(tallest, client);
  CBrush marker(kChartMarker);
  CBrush* old_brush = dc.SelectObject(&marker);
  CGdiObject* old_pen = dc.SelectStockObject(NULL_PEN);
  int cx = (top.left + top.right) / 2;
  dc.Ellipse(cx - 9, top.top - 24, cx + 9, top.top - 6);
  dc.SelectObject(old_pen);
  dc.SelectObject(old_brush);

  // The axis.
  CPen axis(PS_SOLID, 1, RGB(0, 0, 0));
  CPen* old_axis_pen = dc.SelectObject(&axis);
  dc.MoveTo(client.left + 20, client.bottom - 30);
  dc.LineTo(client.right - 20, client.bottom - 30);
  dc.SelectObject(old_axis_pen);
  dc.SelectObject(old_font);
}

namespace {

void CHostChart::OnPaint() {
  CPaintDC dc(this);
  Draw(dc);
}

BOOL CHostChart::OnEraseBkgnd(CDC*) {
  return TRUE;  // Draw covers the whole client area
}

LRESULT CHostChart::OnPrintClient(WPARAM wp, LPARAM) {
  Draw(*CDC::FromHandle(reinterpret_cast<HDC>(wp)));
  return 0;
}

// The frame-less main window: the host tree on the left, the chart on the right.
class CSampleMainWnd : public CWnd {
 protected:
  afx_msg int OnCreate(LPCREATESTRUCTA cs);
  afx_msg void OnSize(UINT type, int cx, int cy);
  afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
  afx_msg void OnDestroy();
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()

 private:
  CWnd m_tree;
};

BEGIN_MESSAGE_MAP(CSampleMainWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_KEYDOWN()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

int CSampleMainWnd::OnCreate(LPCREATESTRUCTA cs) {
  if (CWnd::OnCreate(cs) == -1) return -1;
  CRect none(0, 0, 0, 0);
  if (!m_tree.CreateEx(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                           TVS_SHOWSELALWAYS,
                       none, this, kTreeId))
    return -1;
  auto* chart = new CHostChart;
  LPCSTR chart_class = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW));
  if (!chart->CreateEx(WS_EX_CLIENTEDGE, chart_class, "", WS_CHILD | WS_VISIBLE, none, this, kChartId)) {
    delete chart;
    return -1;
  }
  m_tree.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  FillTree(m_tree);
  return 0;
}

void CSampleMainWnd::OnSize(UINT, int cx, int cy) {
  const int margin = 8;
  m_tree.MoveWindow(margin, margin, kTreeWidth, cy - 2 * margin);
  if (CWnd* chart = GetDlgItem(kChartId))
    chart->MoveWindow(kTreeWidth + 2 * margin, margin, cx - kTreeWidth - 3 * margin, cy - 2 * margin);
}

void CSampleMainWnd::OnKeyDown(UINT ch, UINT repeat, UINT flags) {
  if (ch == VK_ESCAPE)
    DestroyWindow();
  else
    CWnd::OnKeyDown(ch, repeat, flags);
}

void CSampleMainWnd::OnDestroy() {
  CWnd::OnDestroy();
  PostQuitMessage(0);
}

// "Add host": a modal dialog from the resource script; DDX carries the name.
class CAddHostDlg : public CDialog {
 public:
  explicit CAddHostDlg(CWnd* owner) : CDialog(IDD_SAMPLE_ADD_HOST, owner) {}
  CString m_name;

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_SAMPLE_HOST_NAME, m_name); }
};

BOOL CAddHostDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // Beside the owner rather than over it, so the tree and the chart stay in
  // view while the dialog is open.
  CRect owner;
  ::GetWindowRect(::GetWindow(m_hWnd, GW_OWNER), &owner);
  SetWindowPos(nullptr, owner.right + 16, owner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  SendDlgItemMessage(IDC_SAMPLE_HOST_NAME, EM_LIMITTEXT, 63, 0);
  return TRUE;
}

}  // namespace

bool RegisterClasses(HINSTANCE) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
  return InitCommonControlsEx(&icc) != FALSE;
}

HWND CreateMainWindow(HINSTANCE) {
  auto* main = new CSampleMainWnd;
  LPCSTR main_class = AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  // Frame-less: no caption, no sizing border. (An app-window style would let
  // a window manager maximise it.)
  if (!main->CreateEx(0, main_class, "Tarvane sample", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, 40, 40, 640, 400,
                      nullptr, nullptr)) {
    delete main;
    return nullptr;
  }
  return main->GetSafeHwnd();
}

HWND TreeOf(HWND main) { return GetDlgItem(main, kTreeId); }
HWND ChartOf(HWND main) { return GetDlgItem(main, kChartId); }

int ChartBarCount() { return static_cast<int>(kBars.size()); }

RECT ChartBarRect(int index, const RECT& client) {
  const int base = client.bottom - 30;
  const int left = client.left + 40 + index * 70;
  return RECT{left, base - kBars[index].hosts * 30, left + 36, base};
}

INT_PTR RunAddHostDialog(HWND main) {
  CAddHostDlg dialog(CWnd::FromHandle(main));
  INT_PTR result = dialog.DoModal();
  if (result == IDOK && !dialog.m_name.IsEmpty()) {
    HWND tree = TreeOf(main);
    HTREEITEM root = TreeView_GetRoot(tree);
    HTREEITEM added = AddItem(tree, root, dialog.m_name);
    if (added) TreeView_SelectItem(tree, added);
  }
  return result;
}

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[128] = {};
  TVITEMA tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = sizeof text;
  if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv))) return "";
  return text;
}

}  // namespace sample

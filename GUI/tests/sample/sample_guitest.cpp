// The sample program's windows on a real (virtual) screen.
#include "afxwin.h"
#include <commctrl.h>

#include <string>
#include <vector>

#include "sample_app.h"
#include "sample_frame.h"
#include "sample_resource.h"
#include "wtest.h"

namespace {

// The sample's main window for one test, destroyed at the end.
struct MainWindow {
  HWND hwnd = nullptr;
  MainWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (sample::RegisterClasses(instance)) hwnd = sample::CreateMainWindow(instance);
    if (hwnd) {
      ShowWindow(hwnd, SW_SHOW);
      UpdateWindow(hwnd);
    }
  }
  ~MainWindow() {
    if (hwnd) DestroyWindow(hwnd);
    // Take the WM_QUIT the main window posts, so later tests' loops run.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }
  }
};

std::vector<std::string> Children(HWND tree, HTREEITEM parent) {
  std::vector<std::string> names;
  for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
    names.push_back(sample::ItemText(tree, item));
  return names;
}

std::string Join(const std::vector<std::string>& names) {
  std::string all;
  for (const auto& n : names) all += (all.empty() ? "" : ",") + n;
  return all;
}

// The chart drawn through WM_PRINTCLIENT into a 32-bit DIB, top-down.
struct Snapshot {
  int width = 0, height = 0;
  std::vector<DWORD> pixels;
  COLORREF At(int x, int y) const {
    DWORD p = pixels[size_t(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
};

Snapshot PrintClient(HWND hwnd) {
  Snapshot shot;
  RECT client;
  GetClientRect(hwnd, &client);
  shot.width = client.right;
  shot.height = client.bottom;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!bitmap || !dc) return shot;
  HGDIOBJ old = SelectObject(dc, bitmap);
  // Grey first, so a window that paints nothing cannot pass as white.
  std::fill_n(static_cast<DWORD*>(bits), size_t(shot.width) * shot.height, 0x808080);
  SendMessageA(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  shot.pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + size_t(shot.width) * shot.height);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return shot;
}

// Fills in the "Add host" dialog from inside its own modal loop.
std::string g_host_to_type;
bool g_dialog_seen = false;
HWND g_owner = nullptr;

void CALLBACK FillDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = FindWindowA("#32770", "Add host");
  // Not shown yet: the timer fires again.
  if (!dialog || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  g_dialog_seen = GetWindow(dialog, GW_OWNER) == g_owner;
  if (!g_host_to_type.empty()) SetDlgItemTextA(dialog, IDC_SAMPLE_HOST_NAME, g_host_to_type.c_str());
  SendMessageA(GetDlgItem(dialog, g_host_to_type.empty() ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
}

INT_PTR RunDialogTyping(HWND main, const std::string& host) {
  g_host_to_type = host;
  g_dialog_seen = false;
  g_owner = main;
  SetTimer(nullptr, 0, 20, FillDialog);
  return sample::RunAddHostDialog(main);
}

}  // namespace

WTEST(main_window_holds_the_tree_expanded) {
  MainWindow main;
  WCHECK(main.hwnd != nullptr);
  if (!main.hwnd) return;
  HWND tree = sample::TreeOf(main.hwnd);
  HTREEITEM root = TreeView_GetRoot(tree);
  WCHECK_EQ(sample::ItemText(tree, root), std::string("Network"));
  WCHECK_EQ(Join(Children(tree, root)), std::string("Routers,Switches,Printers"));
  HTREEITEM routers = TreeView_GetChild(tree, root);
  WCHECK_EQ(Join(Children(tree, routers)), std::string("core-1,edge-2"));
  WCHECK_EQ(int(TreeView_GetItemState(tree, routers, TVIS_EXPANDED) & TVIS_EXPANDED), int(TVIS_EXPANDED));
  // Expanded branches show their children: "core-1" has a visible row.
  RECT row = {};
  WCHECK(TreeView_GetItemRect(tree, TreeView_GetChild(tree, routers), &row, TRUE));
  WCHECK(row.bottom > row.top);
}

WTEST(chart_paints_bars_on_white) {
  MainWindow main;
  WCHECK(main.hwnd != nullptr);
  if (!main.hwnd) return;
  HWND chart = sample::ChartOf(main.hwnd);
  Snapshot shot = PrintClient(chart);
  WCHECK(shot.width > 300 && shot.height > 300);
  if (shot.pixels.empty()) return;
  RECT client = {0, 0, shot.width, shot.height};
  for (int i = 0; i < sample::ChartBarCount(); ++i) {
    RECT bar = sample::ChartBarRect(i, client);
    WCHECK_EQ(shot.At((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2), sample::kChartBar);
    WCHECK_EQ(shot.At((bar.left + bar.right) / 2, bar.top - 2 > 40 ? 40 : 1), sample::kChartBackground);
  }
  int marker = 0;
  for (DWORD p : shot.pixels)
    if (RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF) == sample::kChartMarker) ++marker;
  WCHECK(marker > 100);  // an 18-pixel disc
}

WTEST(add_host_dialog_adds_the_typed_name) {
  MainWindow main;
  WCHECK(main.hwnd != nullptr);
  if (!main.hwnd) return;
  HWND tree = sample::TreeOf(main.hwnd);
  HTREEITEM root = TreeView_GetRoot(tree);

  WCHECK_EQ(RunDialogTyping(main.hwnd, "printer-7"), INT_PTR(IDOK));
  WCHECK(g_dialog_seen);
  WCHECK_EQ(Join(Children(tree, root)), std::string("Routers,Switches,Printers,printer-7"));
  WCHECK_EQ(sample::ItemText(tree, TreeView_GetSelection(tree)), std::string("printer-7"));

  // Cancel adds nothing.
  WCHECK_EQ(RunDialogTyping(main.hwnd, ""), INT_PTR(IDCANCEL));
  WCHECK(g_dialog_seen);
  WCHECK_EQ(Join(Children(tree, root)), std::string("Routers,Switches,Printers,printer-7"));
}

// ---- the framed document/view fixture

namespace {

struct FixtureApp : CWinApp {
  FixtureApp() : CWinApp("Tarvane sample") {}
};

sample::CSampleFrame* StartFixture(FixtureApp& app) {
  app.AddDocTemplate(sample::MakeDocTemplate());
  CCommandLineInfo info;
  if (!app.ProcessShellCommand(info)) return nullptr;
  auto* frame = dynamic_cast<sample::CSampleFrame*>(app.m_pMainWnd);
  if (frame) frame->SetWindowPos(nullptr, 20, 20, 760, 500, SWP_NOZORDER);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  AfxIdle(0);
  return frame;
}

void EndFixture(FixtureApp& app) {
  if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd) app.m_pMainWnd->DestroyWindow();
  app.m_pMainWnd = nullptr;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message != WM_QUIT) DispatchMessageA(&msg);
}

}  // namespace

WTEST(framed_fixture_docks_its_bars_around_a_splitter_of_views) {
  FixtureApp app;
  sample::CSampleFrame* frame = StartFixture(app);
  WCHECK(frame != nullptr);
  if (!frame) return;
  WCHECK_EQ(std::string(frame->m_strTitle), std::string("Tarvane Sample"));
  char title[128] = "";
  frame->GetWindowText(title, sizeof title);
  WCHECK_EQ(std::string(title), std::string("Hosts - Tarvane Sample"));

  // The status bar along the bottom, "Legend" docked on top, "Subnets" on the left,
  // the splitter in the room left between them.
  CRect client, status, legend, subnets, splitter;
  frame->GetClientRect(&client);
  WCHECK(client.Width() > 700 && client.Height() > 400);
  auto rectOf = [&](CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    frame->ScreenToClient(&r);
    return r;
  };
  status = rectOf(frame->m_status);
  legend = rectOf(frame->m_legend);
  subnets = rectOf(frame->m_subnets);
  splitter = rectOf(frame->m_splitter);
  WCHECK(frame->m_status.IsWindowVisible() && status.bottom == client.bottom);
  WCHECK(frame->m_legend.m_pDockBar && frame->m_legend.m_pDockBar->GetDlgCtrlID() == AFX_IDW_DOCKBAR_TOP);
  WCHECK(frame->m_subnets.m_pDockBar && frame->m_subnets.m_pDockBar->GetDlgCtrlID() == AFX_IDW_DOCKBAR_LEFT);
  CControlBar* top = frame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
  CControlBar* left = frame->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
  WCHECK(top && left);
  if (!top || !left) return;
  CRect topRect = rectOf(*top), leftRect = rectOf(*left);
  WCHECK(topRect.top == client.top && topRect.left == client.left && topRect.right == client.right);
  WCHECK(leftRect.left == client.left && leftRect.top == topRect.bottom && leftRect.bottom == status.top);
  WCHECK(splitter == CRect(leftRect.right, topRect.bottom, client.right, status.top));
  WCHECK(topRect.PtInRect(legend.CenterPoint()) && leftRect.PtInRect(subnets.CenterPoint()));

  // The splitter holds the form and the chart, both views of the one document; the
  // form is the active view.
  auto* form = dynamic_cast<sample::CHostForm*>(frame->m_splitter.GetPane(0, 0));
  auto* chart = dynamic_cast<sample::CChartView*>(frame->m_splitter.GetPane(0, 1));
  WCHECK(form != nullptr && chart != nullptr);
  if (!form || !chart) return;
  auto* doc = dynamic_cast<sample::CSampleDoc*>(frame->GetActiveDocument());
  WCHECK(doc != nullptr && form->GetDocument() == doc && chart->GetDocument() == doc);
  WCHECK(frame->GetActiveView() == form);

  // The form's Add button adds the host to the document, which updates the chart
  // and the form.
  int updates = chart->updates;
  form->SetDlgItemText(IDC_SAMPLE_FORM_NAME, "core-9");
  SendMessageA(GetDlgItem(form->m_hWnd, IDC_SAMPLE_FORM_ADD), BM_CLICK, 0, 0);
  WCHECK(doc && doc->hosts.size() == 1 && doc->hosts[0] == "core-9");
  WCHECK_EQ(chart->updates, updates + 1);
  char count[64] = "";
  GetDlgItemTextA(form->m_hWnd, IDC_SAMPLE_FORM_COUNT, count, sizeof count);
  WCHECK_EQ(std::string(count), std::string("1 host(s), last core-9"));

  // The chart view paints the chart.
  Snapshot shot = PrintClient(chart->m_hWnd);
  RECT area = {0, 0, shot.width, shot.height};
  RECT bar = sample::ChartBarRect(0, area);
  WCHECK_EQ(shot.At((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2), sample::kChartBar);

  // "Legend" floats in a mini frame and docks back on top.
  frame->FloatControlBar(&frame->m_legend, CPoint(100, 560));
  WCHECK(frame->m_legend.IsFloating());
  frame->DockControlBar(&frame->m_legend, AFX_IDW_DOCKBAR_TOP);
  WCHECK(!frame->m_legend.IsFloating());
  EndFixture(app);
}

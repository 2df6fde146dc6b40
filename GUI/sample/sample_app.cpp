#include "sample_app.h"

#include <array>

#include "sample_resource.h"

namespace sample {
namespace {

const char kMainClass[] = "TrvSampleMain";
const char kChartClass[] = "TrvSampleChart";
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

void PaintChart(HWND chart, HDC dc) {
  RECT client;
  GetClientRect(chart, &client);
  HBRUSH background = CreateSolidBrush(kChartBackground);
  FillRect(dc, &client, background);
  DeleteObject(background);

  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  RECT title = {client.left + 10, client.top + 8, client.right - 10, client.top + 28};
  DrawTextA(dc, "Hosts per subnet", -1, &title, DT_LEFT | DT_SINGLELINE | DT_VCENTER);

  HBRUSH bar_brush = CreateSolidBrush(kChartBar);
  for (int i = 0; i < ChartBarCount(); ++i) {
    RECT bar = ChartBarRect(i, client);
    FillRect(dc, &bar, bar_brush);
    RECT label = {bar.left - 10, bar.bottom + 4, bar.right + 10, bar.bottom + 20};
    DrawTextA(dc, kBars[i].label, -1, &label, DT_CENTER | DT_SINGLELINE);
  }
  DeleteObject(bar_brush);

  // A marker on the tallest bar.
  int tallest = 0;
  for (int i = 1; i < ChartBarCount(); ++i)
    if (kBars[i].hosts > kBars[tallest].hosts) tallest = i;
  RECT top = ChartBarRect(tallest, client);
  HBRUSH marker = CreateSolidBrush(kChartMarker);
  HGDIOBJ old_brush = SelectObject(dc, marker);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  int cx = (top.left + top.right) / 2;
  Ellipse(dc, cx - 9, top.top - 24, cx + 9, top.top - 6);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(marker);

  // The axis.
  HPEN axis = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  old_pen = SelectObject(dc, axis);
  MoveToEx(dc, client.left + 20, client.bottom - 30, nullptr);
  LineTo(dc, client.right - 20, client.bottom - 30);
  SelectObject(dc, old_pen);
  DeleteObject(axis);
  SelectObject(dc, old_font);
}

LRESULT CALLBACK ChartProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintChart(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintChart(hwnd, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole client area
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

void Layout(HWND main) {
  RECT client;
  GetClientRect(main, &client);
  const int margin = 8;
  MoveWindow(TreeOf(main), margin, margin, kTreeWidth, client.bottom - 2 * margin, TRUE);
  MoveWindow(ChartOf(main), kTreeWidth + 2 * margin, margin, client.right - kTreeWidth - 3 * margin,
             client.bottom - 2 * margin, TRUE);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
      HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                      TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                                  0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(INT_PTR(kTreeId)), cs->hInstance, nullptr);
      HWND chart = CreateWindowExA(WS_EX_CLIENTEDGE, kChartClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                                   reinterpret_cast<HMENU>(INT_PTR(kChartId)), cs->hInstance, nullptr);
      if (!tree || !chart) return -1;
      SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
      FillTree(tree);
      return 0;
    }
    case WM_SIZE:
      Layout(hwnd);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

INT_PTR CALLBACK AddHostProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lp);
      // Beside the owner rather than over it, so the tree and the chart stay
      // in view while the dialog is open.
      RECT owner;
      GetWindowRect(GetWindow(dialog, GW_OWNER), &owner);
      SetWindowPos(dialog, nullptr, owner.right + 16, owner.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      SendDlgItemMessageA(dialog, IDC_SAMPLE_HOST_NAME, EM_LIMITTEXT, 63, 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        auto* name = reinterpret_cast<std::string*>(GetWindowLongPtrA(dialog, DWLP_USER));
        char text[64] = {};
        GetDlgItemTextA(dialog, IDC_SAMPLE_HOST_NAME, text, sizeof text);
        *name = text;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

// The exe's module: resources and classes belong to it.
HINSTANCE ModuleOf(HWND hwnd) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE)); }

}  // namespace

bool RegisterClasses(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
  if (!InitCommonControlsEx(&icc)) return false;

  WNDCLASSA main = {};
  main.lpfnWndProc = MainProc;
  main.hInstance = instance;
  main.hCursor = LoadCursor(nullptr, IDC_ARROW);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  main.lpszClassName = kMainClass;
  WNDCLASSA chart = main;
  chart.lpfnWndProc = ChartProc;
  // The drawing depends on the size: repaint all of it when that changes.
  chart.style = CS_HREDRAW | CS_VREDRAW;
  chart.hbrBackground = nullptr;
  chart.lpszClassName = kChartClass;
  for (const WNDCLASSA* wc : {&main, &chart})
    if (!RegisterClassA(wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  return true;
}

HWND CreateMainWindow(HINSTANCE instance) {
  // Frame-less: no caption, no sizing border. (An app-window style would let
  // a window manager maximise it.)
  return CreateWindowExA(0, kMainClass, "Tarvane sample", WS_POPUP | WS_BORDER | WS_CLIPCHILDREN, 40,
                         40, 640, 400, nullptr, nullptr, instance, nullptr);
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
  std::string name;
  INT_PTR result = DialogBoxParamA(ModuleOf(main), MAKEINTRESOURCEA(IDD_SAMPLE_ADD_HOST), main, AddHostProc,
                                   reinterpret_cast<LPARAM>(&name));
  if (result == IDOK && !name.empty()) {
    HWND tree = TreeOf(main);
    HTREEITEM root = TreeView_GetRoot(tree);
    HTREEITEM added = AddItem(tree, root, name.c_str());
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

// The paint managers with real windows: WM_PRINT snapshots of a window and
// its children, child areas left out of a clip region, waiting paint
// messages, monitor parameters, a bridge's window re-framed on a paint
// manager change, the visual-style binding's one open theme per window and
// class list, and which window of a frame relays notifications.
#include <cstring>

#include "paint_test_util.h"
#include "toolkit/bar_types.h"

using namespace pt;

namespace {

const COLORREF kBack = RGB(1, 2, 3);

// A window of its own class: fills its client area with its colour when
// asked to print it, and counts frame recalculations and paints.
struct Probe {
    COLORREF colour = RGB(0, 0, 0);
    int nccalcsize = 0;
    int paints = 0;
};

LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* probe = reinterpret_cast<Probe*>(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        ::SetWindowLongPtrA(wnd, GWLP_USERDATA,
                            LONG_PTR(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        break;
    case WM_NCCALCSIZE:
        if (probe != nullptr) ++probe->nccalcsize;
        break;
    case WM_PRINTCLIENT: {
        RECT r;
        ::GetClientRect(wnd, &r);
        HBRUSH b = ::CreateSolidBrush(probe->colour);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, b);
        ::DeleteObject(b);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(wnd, &ps);
        ::EndPaint(wnd, &ps);
        if (probe != nullptr) ++probe->paints;
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    }
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

const char* ProbeClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &ProbeProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "PaintProbe";
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        registered = ::RegisterClassA(&wc) != 0;
    }
    return "PaintProbe";
}

HWND MakeProbe(Probe* probe, DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
    return ::CreateWindowExA(0, ProbeClass(), "probe", style, x, y, w, h, parent, nullptr,
                             ::GetModuleHandleA(nullptr), probe);
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return c;
}

}  // namespace

WTEST(print_wnd_snapshots_window_or_client_area) {
    Probe probe;
    probe.colour = RGB(0, 128, 255);
    HWND wnd = MakeProbe(&probe, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 120, 90);
    WCHECK(wnd != nullptr);
    RECT window, client;
    ::GetWindowRect(wnd, &window);
    ::GetClientRect(wnd, &client);
    HBITMAP whole = VEzaPaintManager::stat_PrintWnd(wnd);
    HBITMAP inner = VEzaPaintManager::stat_PrintWnd(wnd, WM_PRINT, PRF_CLIENT);
    WCHECK(whole != nullptr && inner != nullptr);
    BITMAP info = {};
    ::GetObjectA(whole, sizeof info, &info);
    WCHECK_EQ(info.bmWidth, window.right - window.left);
    WCHECK_EQ(info.bmHeight, window.bottom - window.top);
    WCHECK_EQ(int(info.bmBitsPixel), 32);
    ::GetObjectA(inner, sizeof info, &info);
    WCHECK_EQ(info.bmWidth, client.right);
    WCHECK_EQ(info.bmHeight, client.bottom);
    WCHECK_EQ(BitmapPixel(inner, 0, 0), probe.colour);
    WCHECK_EQ(BitmapPixel(inner, client.right - 1, client.bottom - 1), probe.colour);
    // In the whole picture the client area sits inside the frame.
    POINT origin = {0, 0};
    ::ClientToScreen(wnd, &origin);
    WCHECK_EQ(BitmapPixel(whole, origin.x - window.left + 5, origin.y - window.top + 5), probe.colour);
    ::DeleteObject(whole);
    ::DeleteObject(inner);
    ::DestroyWindow(wnd);
    WCHECK(VEzaPaintManager::stat_PrintWnd(wnd) == nullptr);
}

WTEST(print_children_and_exclude_child_areas) {
    Probe parentProbe, shown, hidden, grandchild;
    shown.colour = RGB(255, 0, 0);
    hidden.colour = RGB(0, 0, 255);
    grandchild.colour = RGB(0, 255, 0);
    HWND parent = MakeProbe(&parentProbe, WS_POPUP | WS_VISIBLE, 10, 10, 100, 80);
    HWND child = MakeProbe(&shown, WS_CHILD | WS_VISIBLE, 10, 10, 30, 20, parent);
    HWND inner = MakeProbe(&grandchild, WS_CHILD | WS_VISIBLE, 5, 5, 4, 4, child);
    MakeProbe(&hidden, WS_CHILD, 50, 40, 20, 20, parent);
    WCHECK(inner != nullptr);
    Dib dib(100, 80, kBack);
    VEzaPaintManager::stat_PrintChildren(parent, WM_PRINTCLIENT, dib.dc(), PRF_CLIENT, false);
    WCHECK_EQ(dib.CountOther({10, 10, 40, 30}, shown.colour), 0);
    WCHECK_EQ(dib.CountOther({40, 10, 100, 80}, kBack), 0);
    WCHECK_EQ(dib.CountOther({0, 0, 10, 80}, kBack), 0);
    dib.Fill(kBack);
    VEzaPaintManager::stat_PrintChildren(parent, WM_PRINTCLIENT, dib.dc(), PRF_CLIENT, true);
    WCHECK_EQ(dib.CountOther({15, 15, 19, 19}, grandchild.colour), 0);
    POINT org = {-1, -1};
    ::GetViewportOrgEx(dib.dc(), &org);
    WCHECK(org.x == 0 && org.y == 0);

    // The visible child's area is left out of the clip region; the hidden
    // one's is not, nor is one the filter keeps.
    dib.Fill(kBack);
    VEzaPaintManager::stat_ExcludeChildAreas(dib.dc(), parent);
    HBRUSH white = ::CreateSolidBrush(RGB(255, 255, 255));
    RECT all = {0, 0, 100, 80};
    ::FillRect(dib.dc(), &all, white);
    WCHECK_EQ(dib.CountOther({10, 10, 40, 30}, kBack), 0);
    WCHECK_EQ(dib.CountOther({50, 40, 70, 60}, RGB(255, 255, 255)), 0);
    ::SelectClipRgn(dib.dc(), nullptr);
    dib.Fill(kBack);
    VEzaPaintManager::stat_ExcludeChildAreas(dib.dc(), parent, [](HWND, LPVOID) { return true; }, nullptr);
    ::FillRect(dib.dc(), &all, white);
    WCHECK_EQ(dib.CountOther(all, RGB(255, 255, 255)), 0);
    ::DeleteObject(white);
    ::DestroyWindow(parent);
}

WTEST(pass_paint_messages_paints_what_waits) {
    Probe probe;
    HWND wnd = MakeProbe(&probe, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    ::UpdateWindow(wnd);
    const int before = probe.paints;
    ::InvalidateRect(wnd, nullptr, TRUE);
    WCHECK(VEzaPaintManager::stat_PassPaintMessages());
    WCHECK_EQ(probe.paints, before + 1);
    RECT update = {};
    WCHECK(!::GetUpdateRect(wnd, &update, FALSE));
    ::DestroyWindow(wnd);
}

WTEST(monitor_parameters_of_the_screen) {
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    VEzaPaintManager::monitor_parms_t parms;
    VEzaPaintManager::stat_GetMonitorParms(parms, CPoint(10, 10));
    WCHECK(parms.m_rcMonitor == CRect(0, 0, cx, cy));
    WCHECK(parms.m_bPrimaryMonitor);
    WCHECK(!parms.m_rcWorkArea.IsRectEmpty());
    VEzaPaintManager::monitor_parms_t distant;
    VEzaPaintManager::stat_GetMonitorParms(distant, CRect(cx + 100, 0, cx + 200, 50));
    WCHECK(distant.m_rcMonitor == parms.m_rcMonitor);
    VEzaPaintManager::monitor_parms_t none;
    VEzaPaintManager::stat_GetMonitorParms(none, HWND(nullptr));
    WCHECK(none.m_rcMonitor == CRect(0, 0, cx, cy));
}

WTEST(bridge_window_is_reframed_only_for_its_own_manager) {
    std::vector<std::string> log;
    Probe probe;
    HWND wnd = MakeProbe(&probe, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 100, 100);
    ::UpdateWindow(wnd);
    RecordingBridge bridge(&log, "w", wnd);
    VEzaPaintManager other;
    const int frames = probe.nccalcsize;
    bridge.PmBridge_OnPaintManagerChanged(&other);
    WCHECK_EQ(probe.nccalcsize, frames);
    RECT update = {};
    WCHECK(!::GetUpdateRect(wnd, &update, FALSE));
    bridge.PmBridge_OnPaintManagerChanged(g_PaintManager.GetPM());
    WCHECK(probe.nccalcsize > frames);
    WCHECK(::GetUpdateRect(wnd, &update, FALSE));
    // Installing a manager re-frames every bridge's window.
    const int before = probe.nccalcsize;
    WCHECK(g_PaintManager.InstallPaintManager(RUNTIME_CLASS(VEzaPaintManagerXP)));
    WCHECK(probe.nccalcsize > before);
    ::DestroyWindow(wnd);
}

namespace fake {

int opens = 0, closes = 0;
std::wstring lastList;
HTHEME WINAPI OpenThemeData(HWND, LPCWSTR list) {
    ++opens;
    lastList = list;
    return reinterpret_cast<HTHEME>(INT_PTR(0x1000 + opens));
}
HRESULT WINAPI CloseThemeData(HTHEME) {
    ++closes;
    return S_OK;
}
FARPROC Resolve(void*, const char* name) {
    if (std::strcmp(name, "OpenThemeData") == 0) return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&OpenThemeData));
    if (std::strcmp(name, "CloseThemeData") == 0) return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&CloseThemeData));
    return nullptr;
}

}  // namespace fake

WTEST(one_open_theme_per_window_and_class_list) {
    Probe pa, pb;
    HWND a = MakeProbe(&pa, WS_POPUP, 0, 0, 10, 10);
    HWND b = MakeProbe(&pb, WS_POPUP, 0, 0, 10, 10);
    UxThemeWrapper ux;
    ux.Bind(&fake::Resolve, nullptr);
    HTHEME first = ux.OpenThemeData(a, L"BUTTON");
    WCHECK(ux.OpenThemeData(a, L"button") == first);
    WCHECK_EQ(fake::opens, 1);
    WCHECK(ux.OpenThemeData(b, L"BUTTON") != first);
    WCHECK_EQ(fake::opens, 2);
    WCHECK_EQ(fake::closes, 1);
    // An empty class list stands for the window's class name.
    ux.OpenThemeData(b, L"");
    WCHECK(fake::lastList == L"PaintProbe");
    WCHECK_EQ(fake::closes, 2);
    // A theme of a window that is gone is not closed again.
    ::DestroyWindow(b);
    WCHECK_EQ(ux.CloseThemeData(ux.m_hOpenTheme), HRESULT(1));
    WCHECK_EQ(fake::closes, 2);
    ux.OpenThemeData(a, L"EDIT");
    WCHECK_EQ(fake::closes, 2);
    WCHECK_EQ(fake::opens, 4);
    ::DestroyWindow(a);
}

WTEST(windows_of_plain_frames_are_notification_sources) {
    auto* frame = new CFrameWnd;
    WCHECK(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    CStatusBar status;
    WCHECK(status.Create(frame));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CWnd child;
    WCHECK(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, 1234));
    // Neither a plain status bar nor plain dock bars decide: every window is a
    // source, the relay reaches the bridges.
    WCHECK(g_PaintManager.IsNotificationSourceWnd(&child));
    WCHECK(g_PaintManager.IsNotificationSourceWnd(frame));
    WCHECK(g_PaintManager.IsNotificationSourceWnd(&status));
    std::vector<std::string> log;
    {
        RecordingBridge bridge(&log, "b");
        g_PaintManager.OnSysColorChange(&child);
    }
    WCHECK_EQ(log.size(), size_t(1));
    child.DestroyWindow();
    frame->DestroyWindow();
    // A window with no frame relays for itself.
    Probe probe;
    HWND lone = MakeProbe(&probe, WS_POPUP, 0, 0, 10, 10);
    CWnd* wrapped = CWnd::FromHandle(lone);
    WCHECK(g_PaintManager.IsNotificationSourceWnd(wrapped));
    ::DestroyWindow(lone);
}

WTEST(bar_geometry_answers) {
    VEzaPaintManager& pm = *g_PaintManager.GetPM();
    auto* frame = new CFrameWnd;
    WCHECK(frame->Create(nullptr, "bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    CToolBar left, top;
    WCHECK(left.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_LEFT, 0xE810));
    WCHECK(top.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE811));
    left.EnableDocking(CBRS_ALIGN_ANY);
    top.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&left, AFX_IDW_DOCKBAR_LEFT);
    frame->DockControlBar(&top, AFX_IDW_DOCKBAR_TOP);
    CRect r(0, 0, 20, 20);
    pm.FixedBar_AdjustClientRect(&left, r);
    WCHECK(r == CRect(1, 3, 19, 17));
    r.SetRect(0, 0, 20, 20);
    pm.FixedBar_AdjustClientRect(&top, r);
    WCHECK(r == CRect(3, 1, 17, 19));
    WCHECK_EQ(pm.FixedBar_GetRowDistance(&top), 6);

    CRect caption;
    WCHECK(!pm.Bar_MiniDockFrameCaptionCalcRect(caption, nullptr, nullptr, 0));
    WCHECK(pm.Bar_MiniDockFrameCaptionCalcRect(caption, frame, nullptr, 0));
    CRect window;
    frame->GetWindowRect(&window);
    const int fx = ::GetSystemMetrics(SM_CXFRAME), fy = ::GetSystemMetrics(SM_CYFRAME);
    WCHECK(caption == CRect(fx, fy, window.Width() - fx, fy + ::GetSystemMetrics(SM_CYSMSIZE)));
    frame->DestroyWindow();
}

namespace {

// The library's status bar and MDI tab window, given windows of their own
// (the classes that will paint them are not part of this test).
class StandInStatusBar : public VEzaStatusControlBar {
public:
    BOOL Create(CWnd* frame) {
        return CreateEx(0, AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame,
                        AFX_IDW_STATUS_BAR);
    }
};

class StandInMdiTabs : public VEzaTabMdiWnd {
public:
    explicit StandInMdiTabs(bool mdi = true) : m_bMdi(mdi) {}
    bool _IsMdiTabCtrl() const override { return m_bMdi; }
    BOOL Create(CWnd* frame, UINT id) {
        return CreateEx(0, AfxRegisterWndClass(0), nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, id);
    }

private:
    bool m_bMdi;
};

using StandInOuterBar = VEzaDockOuterBar;

// A floating frame of the library, created as a plain mini frame.
class StandInMiniFrame : public VEzaMiniDockFrameWnd {
public:
    BOOL Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent) {
        return CMiniFrameWnd::Create(className, title, style, rect, parent);
    }
};

int Heard(CWnd* source) {
    std::vector<std::string> log;
    RecordingBridge bridge(&log, "b");
    g_PaintManager.OnSysColorChange(source);
    return int(log.size());
}

}  // namespace

WTEST(a_toolkit_status_bar_is_the_frames_only_source) {
    auto* frame = new CFrameWnd;
    WCHECK(frame->Create(nullptr, "status", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    StandInStatusBar status;
    WCHECK(status.Create(frame));
    CWnd child;
    WCHECK(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, 1234));
    WCHECK(g_PaintManager.IsNotificationSourceWnd(&status));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&child));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(frame));
    WCHECK_EQ(Heard(&child), 0);
    WCHECK_EQ(Heard(&status), 1);

    // A window of a floating frame is judged against the frame's own frame.
    auto* mini = new StandInMiniFrame;
    WCHECK(mini->Create(nullptr, "float", WS_POPUP | WS_CAPTION, CRect(10, 10, 100, 100), frame));
    CWnd floating;
    WCHECK(floating.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), mini, 1235));
    WCHECK(floating.GetParentFrame() == mini);
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&floating));
    // A plain mini frame relays for itself.
    auto* plainMini = new CMiniFrameWnd;
    WCHECK(plainMini->Create(nullptr, "plain", WS_POPUP | WS_CAPTION, CRect(10, 10, 100, 100), frame));
    CWnd inPlain;
    WCHECK(inPlain.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), plainMini, 1236));
    WCHECK(g_PaintManager.IsNotificationSourceWnd(&inPlain));
    inPlain.DestroyWindow();
    floating.DestroyWindow();
    plainMini->DestroyWindow();
    mini->DestroyWindow();
    child.DestroyWindow();
    frame->DestroyWindow();
}

WTEST(the_first_toolkit_outer_dock_bar_is_the_source) {
    auto* frame = new CFrameWnd;
    WCHECK(frame->Create(nullptr, "docks", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    StandInOuterBar bottom, left;
    WCHECK(bottom.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM));
    WCHECK(left.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT));
    CWnd child;
    WCHECK(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, 1234));
    // Top, bottom, left, right: the bottom one decides.
    WCHECK(g_PaintManager.IsNotificationSourceWnd(&bottom));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&left));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&child));
    WCHECK_EQ(Heard(&bottom), 1);
    WCHECK_EQ(Heard(&left), 0);
    child.DestroyWindow();
    frame->DestroyWindow();
}

WTEST(without_bars_the_first_mdi_tab_window_is_the_source) {
    auto* frame = new CFrameWnd;
    WCHECK(frame->Create(nullptr, "tabs", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    StandInMdiTabs notMdi(false), tabs, second;
    WCHECK(notMdi.Create(frame, 1301));
    WCHECK(tabs.Create(frame, 1302));
    WCHECK(second.Create(frame, 1303));
    CWnd child;
    WCHECK(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, 1234));
    // Children in creation order: a tab window that is no MDI tab control is passed over.
    WCHECK(g_PaintManager.IsNotificationSourceWnd(&tabs));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&notMdi));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&second));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&child));
    WCHECK_EQ(Heard(&tabs), 1);
    WCHECK_EQ(Heard(&child), 0);
    // A toolkit status bar outranks the tabs.
    StandInStatusBar status;
    WCHECK(status.Create(frame));
    WCHECK(!g_PaintManager.IsNotificationSourceWnd(&tabs));
    status.DestroyWindow();
    child.DestroyWindow();
    second.DestroyWindow();
    tabs.DestroyWindow();
    notMdi.DestroyWindow();
    frame->DestroyWindow();
}

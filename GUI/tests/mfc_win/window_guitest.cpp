// Message maps, command routing and command UI, the exception firewall, the creation
// hook, handle maps, subclassing and teardown of CWnd objects; window classes of DLLs.
#include "afxwin.h"

#include <comdef.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "wtest.h"

namespace {

UINT g_probeMessage = ::RegisterWindowMessageA("TarvaneWindowTestProbe");

enum : UINT {
    kCmdOne = 100,
    kCmdNoHandler = 150,
    kRangeFirst = 200,
    kRangeLast = 210,
    kShadowed = 205,
    kUpdRangeFirst = 300,
    kUpdRangeLast = 310,
    kNotifyId = 400,
    kNotifyRangeFirst = 500,
    kNotifyRangeLast = 510,
    kChildId = 600,
    kMsgAdd = WM_USER + 5,
    kMsgThrowFramework = WM_USER + 6,
    kMsgThrowStd = WM_USER + 7,
    kMsgThrowOther = WM_USER + 8,
    kMsgThrowCom = WM_USER + 9,
};

// What a call writes to standard error (through a file that stands in for it).
std::string CaptureStderr(const std::function<void()>& call)
{
    char folder[MAX_PATH], path[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    ::GetTempFileNameA(folder, "err", 0, path);
    std::fflush(stderr);
    const int saved = _dup(2);
    if (!std::freopen(path, "w", stderr)) return std::string();
    call();
    std::fflush(stderr);
    _dup2(saved, 2);
    _close(saved);
    std::string text;
    if (FILE* f = std::fopen(path, "rb")) {
        char buffer[512];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
    }
    ::DeleteFileA(path);
    return text;
}

class CProbeWnd : public CWnd {
public:
    std::vector<std::string> log;

    void OnOne() { log.push_back("one"); }
    void OnShadow() { log.push_back("shadow"); }
    void OnRange(UINT id) { log.push_back("range " + std::to_string(id)); }
    void OnUpdOne(CCmdUI* ui) { ui->Enable(FALSE); }
    void OnUpdRange(CCmdUI* ui) { ui->SetCheck(1); }
    void OnNotifyOne(NMHDR*, LRESULT* r) { *r = 77; }
    void OnNotifyRange(UINT id, NMHDR*, LRESULT* r) { *r = (LRESULT)id; }
    void OnParentClick(NMHDR*, LRESULT* r) { log.push_back("parent click"); *r = 11; }
    void OnParentRClick(NMHDR*, LRESULT* r) { log.push_back("parent rclick"); *r = 12; }
    LRESULT OnAdd(WPARAM w, LPARAM l) { return (LRESULT)(w + l); }
    LRESULT OnProbe(WPARAM w, LPARAM) { return (LRESULT)(w * 2); }
    LRESULT OnThrowFramework(WPARAM, LPARAM) { throw new CNotSupportedException; }
    LRESULT OnThrowStd(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    LRESULT OnThrowOther(WPARAM, LPARAM) { throw 42; }
    LRESULT OnThrowCom(WPARAM, LPARAM) { throw _com_error(REGDB_E_CLASSNOTREG); }
    void OnPaint() { throw std::runtime_error("paint failed"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_COMMAND(kCmdOne, OnOne)
    ON_COMMAND_RANGE(kRangeFirst, kRangeLast, OnRange)
    ON_COMMAND(kShadowed, OnShadow)
    ON_UPDATE_COMMAND_UI(kCmdOne, OnUpdOne)
    ON_UPDATE_COMMAND_UI_RANGE(kUpdRangeFirst, kUpdRangeLast, OnUpdRange)
    ON_NOTIFY(NM_CLICK, kNotifyId, OnNotifyOne)
    ON_NOTIFY_RANGE(NM_DBLCLK, kNotifyRangeFirst, kNotifyRangeLast, OnNotifyRange)
    ON_NOTIFY(NM_CLICK, kChildId, OnParentClick)
    ON_NOTIFY(NM_RCLICK, kChildId, OnParentRClick)
    ON_MESSAGE(kMsgAdd, OnAdd)
    ON_REGISTERED_MESSAGE(g_probeMessage, OnProbe)
    ON_MESSAGE(kMsgThrowFramework, OnThrowFramework)
    ON_MESSAGE(kMsgThrowStd, OnThrowStd)
    ON_MESSAGE(kMsgThrowOther, OnThrowOther)
    ON_MESSAGE(kMsgThrowCom, OnThrowCom)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// A derived map comes first; the base map still answers the rest.
class CDerivedProbe : public CProbeWnd {
public:
    void OnRangeOverride(UINT id) { log.push_back("derived " + std::to_string(id)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedProbe, CProbeWnd)
    ON_COMMAND_RANGE(kRangeFirst, kRangeFirst + 1, OnRangeOverride)
END_MESSAGE_MAP()

// A child that takes NM_CLICK and EN_CHANGE itself.
class CReflectChild : public CWnd {
public:
    int changes = 0;
    void OnClick(NMHDR*, LRESULT* r) { *r = 55; }
    void OnChange() { ++changes; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectChild, CWnd)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

const CRect kRect(0, 0, 200, 100);

template <class T>
bool CreateTop(T& w)
{
    return w.CreateEx(0, nullptr, "probe", WS_POPUP, kRect, nullptr, 0) != FALSE;
}

LRESULT SendNotify(CWnd& to, HWND from, UINT_PTR id, UINT code)
{
    NMHDR nm{from, id, code};
    return to.SendMessage(WM_NOTIFY, id, (LPARAM)&nm);
}

}  // namespace

WTEST(commands_and_ranges_dispatch_in_map_order)
{
    CDerivedProbe wnd;
    WCHECK(CreateTop(wnd));
    CButton button;
    WCHECK(button.Create("b", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 10, 10), &wnd, kCmdOne));
    struct Case {
        UINT id;
        bool fromControl;
        const char* expected;  // last log line, or "" for nothing handled
    } cases[] = {
        {kRangeFirst, false, "derived 200"},  // derived map first
        {kRangeFirst + 1, false, "derived 201"},
        {kRangeFirst + 3, false, "range 203"},  // base range, id passed
        {kShadowed, false, "range 205"},        // earlier range entry wins over a later single one
        {kRangeLast, false, "range 210"},       // ranges are inclusive
        {kRangeLast + 1, false, ""},
        {kRangeFirst - 1, false, ""},
        {kCmdOne, false, ""},      // a menu command its update handler disables is dropped
        {kCmdOne, true, "one"},    // the same id from a control goes through
    };
    for (const Case& c : cases) {
        wnd.log.clear();
        LPARAM from = c.fromControl ? (LPARAM)button.m_hWnd : 0;
        wnd.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), from);
        std::string got = wnd.log.empty() ? "" : wnd.log.back();
        WCHECK_EQ(got, std::string(c.expected));
    }
    wnd.DestroyWindow();
}

WTEST(messages_notifications_and_registered_messages)
{
    CProbeWnd wnd;
    WCHECK(CreateTop(wnd));
    WCHECK_EQ(wnd.SendMessage(kMsgAdd, 3, 4), LRESULT(7));
    WCHECK_EQ(wnd.SendMessage(g_probeMessage, 21, 0), LRESULT(42));
    struct Case {
        UINT_PTR id;
        UINT code;
        LRESULT expected;
    } cases[] = {
        {kNotifyId, NM_CLICK, 77},
        {kNotifyId, NM_DBLCLK, 0},
        {kNotifyRangeFirst, NM_DBLCLK, LRESULT(kNotifyRangeFirst)},
        {kNotifyRangeLast, NM_DBLCLK, LRESULT(kNotifyRangeLast)},
        {kNotifyRangeLast + 1, NM_DBLCLK, 0},
    };
    for (const Case& c : cases) WCHECK_EQ(SendNotify(wnd, nullptr, c.id, c.code), c.expected);
    wnd.DestroyWindow();
}

WTEST(reflected_notifications_stay_with_the_child)
{
    CProbeWnd parent;
    WCHECK(CreateTop(parent));
    CReflectChild child;
    WCHECK(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 20, 20), &parent, kChildId));
    // The child's reflect entry answers; the parent's own entry is hidden.
    WCHECK_EQ(SendNotify(parent, child.m_hWnd, kChildId, NM_CLICK), LRESULT(55));
    WCHECK(parent.log.empty());
    // A code the child does not reflect reaches the parent.
    WCHECK_EQ(SendNotify(parent, child.m_hWnd, kChildId, NM_RCLICK), LRESULT(12));
    WCHECK_EQ(parent.log.size(), size_t(1));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, EN_CHANGE), (LPARAM)child.m_hWnd);
    WCHECK_EQ(child.changes, 1);
    parent.DestroyWindow();
}

namespace {

HBRUSH g_reflectBrush = ::CreateSolidBrush(RGB(1, 2, 3));

class CColourStatic : public CStatic {
public:
    HBRUSH CtlColor(CDC*, UINT) { return g_reflectBrush; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class COwnerButton : public CButton {
public:
    int drawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT) override { ++drawn; }
};

}  // namespace

WTEST(colour_and_owner_draw_messages_reach_the_child_first)
{
    CProbeWnd parent;
    WCHECK(CreateTop(parent));
    CColourStatic label;
    WCHECK(label.Create("x", WS_CHILD, CRect(0, 0, 10, 10), &parent, 20));
    HDC dc = ::GetDC(parent.m_hWnd);
    WCHECK_EQ(parent.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)label.m_hWnd), (LRESULT)g_reflectBrush);
    ::ReleaseDC(parent.m_hWnd, dc);
    COwnerButton button;
    WCHECK(button.Create("b", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 10, 10), &parent, 21));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 21;
    dis.hwndItem = button.m_hWnd;
    WCHECK_EQ(parent.SendMessage(WM_DRAWITEM, 21, (LPARAM)&dis), LRESULT(TRUE));
    WCHECK_EQ(button.drawn, 1);
    parent.DestroyWindow();
}

WTEST(command_ui_disables_commands_without_handlers)
{
    CProbeWnd wnd;
    WCHECK(CreateTop(wnd));
    CMenu menu;
    WCHECK(menu.CreatePopupMenu());
    struct Case {
        UINT id;
        bool grayed;
        bool checked;
    } cases[] = {
        {kCmdOne, true, false},             // update handler disables
        {kCmdNoHandler, true, false},       // no handler at all: disabled
        {kRangeFirst + 2, false, false},    // a command range handler: enabled
        {kUpdRangeFirst + 5, true, true},   // update range checks; no command handler: disabled
    };
    for (const Case& c : cases) menu.AppendMenu(MF_STRING, c.id, "item");
    UINT index = 0;
    for (const Case& c : cases) {
        CCmdUI ui;
        ui.m_pMenu = &menu;
        ui.m_nIndex = index;
        ui.m_nIndexMax = (UINT)menu.GetMenuItemCount();
        ui.m_nID = c.id;
        ui.DoUpdate(&wnd, TRUE);
        UINT state = menu.GetMenuState(index, MF_BYPOSITION);
        WCHECK_EQ((state & MF_GRAYED) != 0, c.grayed);
        WCHECK_EQ((state & MF_CHECKED) != 0, c.checked);
        ++index;
    }
    // Without the flag an item with no handler keeps its state.
    CMenu other;
    other.CreatePopupMenu();
    other.AppendMenu(MF_STRING, kCmdNoHandler, "item");
    CCmdUI ui;
    ui.m_pMenu = &other;
    ui.m_nID = kCmdNoHandler;
    WCHECK(!ui.DoUpdate(&wnd, FALSE));
    WCHECK_EQ(other.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED, UINT(0));
    // A control follows the same rule.
    CButton button;
    WCHECK(button.Create("b", WS_CHILD | BS_PUSHBUTTON, CRect(0, 0, 10, 10), &wnd, kCmdNoHandler));
    CCmdUI controlUi;
    controlUi.m_pOther = &button;
    controlUi.m_nID = kCmdNoHandler;
    controlUi.DoUpdate(&wnd, TRUE);
    WCHECK(!button.IsWindowEnabled());
    wnd.DestroyWindow();
}

WTEST(exceptions_in_handlers_stop_at_the_window_procedure)
{
    CProbeWnd wnd;
    WCHECK(CreateTop(wnd));
    for (UINT msg : {kMsgThrowFramework, kMsgThrowStd, kMsgThrowOther, kMsgThrowCom}) {
        unsigned before = AfxGetFirewallCount();
        WCHECK_EQ(wnd.SendMessage(msg), LRESULT(0));
        WCHECK_EQ(AfxGetFirewallCount(), before + 1);
    }
    // A COM error is logged with its result code and text.
    const std::string logged = CaptureStderr([&] { wnd.SendMessage(kMsgThrowCom); });
    WCHECK(logged.find("COM error 0x80040154: ") != std::string::npos);
    WCHECK(logged.find("message 0x0409") != std::string::npos);
    // A failed paint leaves no update region behind, or WM_PAINT would repeat forever.
    unsigned before = AfxGetFirewallCount();
    wnd.ShowWindow(SW_SHOWNA);
    wnd.Invalidate();
    wnd.UpdateWindow();
    WCHECK_EQ(AfxGetFirewallCount(), before + 1);
    WCHECK(!::GetUpdateRect(wnd.m_hWnd, nullptr, FALSE));
    // The window and its map still work.
    WCHECK(::IsWindow(wnd.m_hWnd));
    WCHECK_EQ(wnd.SendMessage(kMsgAdd, 1, 1), LRESULT(2));
    wnd.DestroyWindow();
}

namespace {

// Records what the object sees of itself during the first creation messages.
class CCreateProbe : public CWnd {
public:
    std::vector<std::string> seen;
    bool failCreate = false;
    bool throwCreate = false;
    void Note(const char* what) { seen.push_back(std::string(what) + (FromHandlePermanent(m_hWnd) == this ? "+" : "-")); }
    void OnGetMinMaxInfo(MINMAXINFO* mmi) { Note("minmax"); CWnd::OnGetMinMaxInfo(mmi); }
    BOOL OnNcCreate(LPCREATESTRUCTA cs) { Note("nccreate"); return CWnd::OnNcCreate(cs); }
    int OnCreate(LPCREATESTRUCTA cs)
    {
        Note("create");
        if (throwCreate) throw std::runtime_error("no");
        if (failCreate) return -1;
        return CWnd::OnCreate(cs);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCreateProbe, CWnd)
    ON_WM_GETMINMAXINFO()
    ON_WM_NCCREATE()
    ON_WM_CREATE()
END_MESSAGE_MAP()

}  // namespace

WTEST(objects_are_attached_before_their_first_message)
{
    CProbeWnd host;
    WCHECK(CreateTop(host));
    // Our own class, a system control class, and a top-level window.
    CCreateProbe child, edit, top;
    WCHECK(child.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 1));
    WCHECK(edit.Create("EDIT", "", WS_CHILD, CRect(0, 0, 50, 20), &host, 2));
    WCHECK(top.CreateEx(0, nullptr, "t", WS_OVERLAPPEDWINDOW, CRect(0, 0, 50, 50), nullptr, 0));
    for (CCreateProbe* p : {&child, &edit, &top}) {
        WCHECK(!p->seen.empty());
        std::vector<std::string> created;
        for (auto& s : p->seen) if (s.rfind("nccreate", 0) == 0 || s.rfind("create", 0) == 0) created.push_back(s);
        WCHECK_EQ(created.size(), size_t(2));
        if (created.size() == 2) {
            WCHECK_EQ(created[0], std::string("nccreate+"));
            WCHECK_EQ(created[1], std::string("create+"));
        }
        for (auto& s : p->seen) WCHECK_EQ(s.back(), '+');
    }
    WCHECK_EQ(top.seen.front(), std::string("minmax+"));
    // The control keeps its own behaviour under our procedure.
    edit.SetWindowText("abc");
    CString text;
    edit.GetWindowText(text);
    WCHECK_EQ(std::string(text), std::string("abc"));
    WCHECK_EQ(edit.SendMessage(WM_GETTEXTLENGTH), LRESULT(3));
    top.DestroyWindow();

    // Refused and failed creation: CreateEx answers FALSE, nothing stays attached.
    for (int mode = 0; mode < 2; ++mode) {
        CCreateProbe refused;
        (mode == 0 ? refused.failCreate : refused.throwCreate) = true;
        unsigned before = AfxGetFirewallCount();
        WCHECK(!refused.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 3));
        WCHECK(refused.m_hWnd == nullptr);
        WCHECK_EQ(AfxGetFirewallCount(), before + (mode == 1 ? 1u : 0u));
        WCHECK(host.GetDlgItem(3) == nullptr);
    }
    host.DestroyWindow();
}

namespace {

int g_deleted = 0;

class CSelfDeleting : public CWnd {
public:
    bool skipBase = false;
    ~CSelfDeleting() override { ++g_deleted; }
    void PostNcDestroy() override { delete this; }
    void OnNcDestroy()
    {
        if (!skipBase) CWnd::OnNcDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfDeleting, CWnd)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

}  // namespace

WTEST(post_nc_destroy_deletes_the_object_safely)
{
    CProbeWnd host;
    WCHECK(CreateTop(host));
    for (bool skipBase : {false, true}) {
        auto* w = new CSelfDeleting;
        w->skipBase = skipBase;
        WCHECK(w->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 7));
        HWND h = w->m_hWnd;
        WCHECK(CWnd::FromHandlePermanent(h) == w);
        int before = g_deleted;
        ::DestroyWindow(h);  // the object deletes itself during this call
        WCHECK_EQ(g_deleted, before + 1);
        WCHECK(!::IsWindow(h));
        WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    }
    // Children die with their parent, each cleaned up once.
    auto* a = new CSelfDeleting;
    auto* b = new CSelfDeleting;
    WCHECK(a->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &host, 8));
    WCHECK(b->Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), a, 9));
    int before = g_deleted;
    host.DestroyWindow();
    WCHECK_EQ(g_deleted, before + 2);
    // An object going out of scope takes its window with it.
    HWND h;
    {
        CProbeWnd scoped;
        WCHECK(CreateTop(scoped));
        h = scoped.m_hWnd;
    }
    WCHECK(!::IsWindow(h));
}

namespace {

int g_oldProcCalls = 0;
LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_USER + 77) ++g_oldProcCalls;
    return ::DefWindowProcA(h, m, w, l);
}

// A window of a class of our own that has no object.
HWND CreateForeign()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CountingProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TarvaneForeign";
    WCHECK(AfxRegisterClass(&wc));
    WCHECK(AfxRegisterClass(&wc));  // again: already registered is fine
    HWND h = ::CreateWindowExA(0, "TarvaneForeign", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    WCHECK(h != nullptr);
    return h;
}

}  // namespace

WTEST(foreign_windows_subclassing_and_temporaries)
{
    HWND h = CreateForeign();

    // Foreign window: no permanent object, a plain temporary CWnd until idle.
    WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    CWnd* temp = CWnd::FromHandle(h);
    WCHECK(temp != nullptr && temp == CWnd::FromHandle(h));
    WCHECK_EQ(std::string(temp->GetRuntimeClass()->m_lpszClassName), std::string("CWnd"));
    WCHECK(!temp->IsKindOf(RUNTIME_CLASS(CDialog)));
    // Freed with the temporary maps: the next lookup makes a new, unmarked wrapper.
    temp->m_nModalResult = 4321;
    WCHECK_EQ(CWnd::FromHandle(h)->m_nModalResult, 4321);
    AfxDeleteTempMaps();
    CWnd* fresh = CWnd::FromHandle(h);
    WCHECK(fresh != nullptr && fresh->m_hWnd == h);
    WCHECK_EQ(fresh->m_nModalResult, -1);

    // Subclassed: our map first, the old procedure for the rest, restored afterwards.
    CProbeWnd probe;
    WCHECK(probe.SubclassWindow(h));
    WCHECK(CWnd::FromHandlePermanent(h) == &probe);
    WCHECK_EQ(::SendMessageA(h, kMsgAdd, 2, 3), LRESULT(5));
    ::SendMessageA(h, WM_USER + 77, 0, 0);
    WCHECK_EQ(g_oldProcCalls, 1);
    WCHECK(probe.UnsubclassWindow() == h);
    WCHECK((WNDPROC)::GetWindowLongPtrA(h, GWLP_WNDPROC) == &CountingProc);
    WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    ::DestroyWindow(h);
}

namespace {

// Someone else's subclass on top of ours, as a toolkit sink installs one.
WNDPROC g_sinkNext = nullptr;
int g_sinkCalls = 0;
LRESULT CALLBACK SinkProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_USER + 77) ++g_sinkCalls;
    return ::CallWindowProcA(g_sinkNext, h, m, w, l);
}

}  // namespace

WTEST(unsubclassing_under_another_subclass_keeps_the_chain)
{
    HWND h = CreateForeign();
    CProbeWnd probe;
    WCHECK(probe.SubclassWindow(h));
    g_sinkNext = (WNDPROC)::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)&SinkProc);
    WCHECK(probe.UnsubclassWindow() == h);
    WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    WCHECK((WNDPROC)::GetWindowLongPtrA(h, GWLP_WNDPROC) == &SinkProc);  // the sink's stays in place

    // Messages pass the sink, then reach the class procedure, not only DefWindowProc.
    int old = g_oldProcCalls, sink = g_sinkCalls;
    ::SendMessageA(h, WM_USER + 77, 0, 0);
    WCHECK_EQ(g_oldProcCalls, old + 1);
    WCHECK_EQ(g_sinkCalls, sink + 1);
    WCHECK_EQ(::SendMessageA(h, kMsgAdd, 2, 3), LRESULT(0));  // the object's map is gone

    // A new object subclassing the window takes our place in the chain, once.
    CProbeWnd again;
    WCHECK(again.SubclassWindow(h));
    WCHECK_EQ(::SendMessageA(h, kMsgAdd, 2, 3), LRESULT(5));
    ::SendMessageA(h, WM_USER + 77, 0, 0);
    WCHECK_EQ(g_oldProcCalls, old + 2);
    WCHECK_EQ(g_sinkCalls, sink + 2);
    ::DestroyWindow(h);
    WCHECK(again.m_hWnd == nullptr);
}

namespace {

// Default() inside a handler passes on that handler's message even after the handler
// sent others to the same window.
class CNestedEdit : public CWnd {
public:
    LRESULT OnSetText(WPARAM, LPARAM text)
    {
        if (std::strcmp((LPCSTR)text, "outer") == 0) {
            SendMessage(WM_SETTEXT, 0, (LPARAM) "inner");
            SendMessage(WM_GETTEXTLENGTH);
        }
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNestedEdit, CWnd)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

}  // namespace

WTEST(default_passes_the_original_message_after_nested_ones)
{
    CProbeWnd host;
    WCHECK(CreateTop(host));
    CNestedEdit edit;
    WCHECK(edit.Create("EDIT", "", WS_CHILD, CRect(0, 0, 80, 20), &host, 1));
    WCHECK_EQ(edit.SendMessage(WM_SETTEXT, 0, (LPARAM) "outer"), LRESULT(TRUE));
    CString text;
    edit.GetWindowText(text);
    WCHECK_EQ(std::string(text), std::string("outer"));
    host.DestroyWindow();
}

WTEST(pre_translation_visits_each_window_once_up_the_chain)
{
    static std::vector<std::string> order;
    struct CTranslating : CWnd {
        std::string name;
        bool take = false;
        BOOL PreTranslateMessage(MSG*) override { order.push_back(name); return take; }
    };
    CTranslating top, middle, leaf;
    top.name = "top";
    middle.name = "middle";
    leaf.name = "leaf";
    WCHECK(top.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    WCHECK(middle.Create(nullptr, nullptr, WS_CHILD, kRect, &top, 1));
    WCHECK(leaf.Create(nullptr, nullptr, WS_CHILD, kRect, &middle, 2));
    MSG msg{leaf.m_hWnd, WM_KEYDOWN, VK_SPACE, 0, 0, {0, 0}};
    order.clear();
    WCHECK(!AfxPreTranslateMessage(&msg));
    WCHECK_EQ(order.size(), size_t(3));
    if (order.size() == 3) {
        WCHECK_EQ(order[0], std::string("leaf"));
        WCHECK_EQ(order[2], std::string("top"));
    }
    middle.take = true;
    order.clear();
    WCHECK(AfxPreTranslateMessage(&msg));
    WCHECK_EQ(order.size(), size_t(2));
    top.DestroyWindow();
}

namespace {

// A left half with a tool whose text is allocated per hit test, a right half without.
class CTipHost : public CWnd {
public:
    INT_PTR OnToolHitTest(CPoint pt, TOOLINFOA* ti) const override
    {
        if (pt.x >= 50) return -1;
        ti->hwnd = m_hWnd;
        ti->uId = 1;
        ti->rect = CRect(0, 0, 50, 100);
        ti->lpszText = static_cast<LPSTR>(std::malloc(6));
        std::memcpy(ti->lpszText, "first", 6);
        return 1;
    }
};

std::string ToolText(CToolTipCtrl* tip, HWND owner, UINT_PTR id)
{
    char buf[80] = {};
    TOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = owner;
    ti.uId = id;
    ti.lpszText = buf;
    tip->SendMessage(TTM_GETTEXTA, sizeof buf, (LPARAM)&ti);
    return buf;
}

}  // namespace

WTEST(tooltips_follow_the_tool_under_the_cursor)
{
    CTipHost host;
    host.EnableToolTips(TRUE);  // before the window exists
    WCHECK(host.CreateEx(0, nullptr, "tips", WS_POPUP | WS_VISIBLE, CRect(0, 0, 100, 100), nullptr, 0));
    auto move = [&](int x) {
        POINT pt{x, 10};
        ::ClientToScreen(host.m_hWnd, &pt);
        MSG msg{host.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, 10), 0, pt};
        WCHECK(!host.PreTranslateMessage(&msg));
    };
    move(10);
    CToolTipCtrl* tip = AfxGetThreadToolTip();
    WCHECK(tip != nullptr && ::IsWindow(tip->m_hWnd));
    if (!tip) return;
    WCHECK_EQ(tip->GetToolCount(), 1);
    WCHECK_EQ(ToolText(tip, host.m_hWnd, 1), std::string("first"));
    move(20);  // same tool: kept
    WCHECK_EQ(tip->GetToolCount(), 1);
    move(80);  // no tool: removed
    WCHECK_EQ(tip->GetToolCount(), 0);
    host.EnableToolTips(FALSE);
    move(10);
    WCHECK_EQ(tip->GetToolCount(), 0);
    host.DestroyWindow();
}

WTEST(a_dlls_window_classes_go_when_it_unloads)
{
    using RegisterFn = HINSTANCE (*)(char*, int);
    // Twice: loaded again, the library registers afresh rather than finding stale
    // classes (or a cached name whose class is gone).
    for (int round = 0; round < 2; ++round) {
        HMODULE dll = ::LoadLibraryA("mfc_class_peer.dll");
        WCHECK(dll != nullptr);
        if (!dll) return;
        auto registerClasses = (RegisterFn)(void*)::GetProcAddress(dll, "PeerRegisterClasses");
        WCHECK(registerClasses != nullptr);
        char wndClass[128] = "";
        HINSTANCE inst = registerClasses ? registerClasses(wndClass, sizeof wndClass) : nullptr;
        WCHECK(inst == dll);
        WNDCLASSA info{};
        WCHECK(::GetClassInfoA(dll, "TarvanePeerClass", &info));
        WCHECK(::GetClassInfoA(dll, wndClass, &info));
        WCHECK(::FreeLibrary(dll));
        WCHECK(::GetModuleHandleA("mfc_class_peer.dll") == nullptr);
        WCHECK(!::GetClassInfoA(dll, "TarvanePeerClass", &info));
        WCHECK(!::GetClassInfoA(dll, wndClass, &info));
    }
    // The program's own classes stay.
    WNDCLASSA info{};
    WCHECK(::GetClassInfoA(::GetModuleHandleA(nullptr), "TarvaneForeign", &info));
}

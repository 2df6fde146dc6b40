// Window objects: maps, dispatch, creation hook, subclassing, handle maps, firewall.
#include "afxwin_state.h"

#include <comdef.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <mutex>
#include <set>
#include <string>
#include <vector>

AfxWinThreadState& AfxGetWinThreadState()
{
    static thread_local AfxWinThreadState state;
    return state;
}

// ---- message maps and command targets

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfnDispatch; ++e) {
            if (e->pRegMsg) {
                if (message >= 0xC000 && *e->pRegMsg == message) return e;
                continue;
            }
            if (e->nMessage == message && (WORD)e->nCode == (WORD)code && id >= e->nID && id <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT message = WM_COMMAND;
    UINT code = (UINT)nCode;
    if (nCode != CN_UPDATE_COMMAND_UI) {
        message = HIWORD((DWORD)nCode);
        code = LOWORD((DWORD)nCode);
        if (message == 0) message = WM_COMMAND;
    }
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(GetMessageMap(), message, code, nID);
    if (!e) return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    AFX_MSGCALL call{message, 0, 0, nID, (int)(short)code, pExtra, 0};
    if (nCode == CN_UPDATE_COMMAND_UI) {
        auto* ui = static_cast<CCmdUI*>(pExtra);
        ui->m_bContinueRouting = FALSE;
        BOOL handled = e->pfnDispatch(this, call);
        return ui->m_bContinueRouting ? FALSE : handled;
    }
    return e->pfnDispatch(this, call);
}


// ---- firewall

void AfxFirewallCaught(const char* where, UINT message)
{
    ++AfxGetWinThreadState().firewallCatches;
    char text[512];
    std::snprintf(text, sizeof text, "%s: exception stopped at message 0x%04X\n", where, message);
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
}

unsigned AfxGetFirewallCount() { return AfxGetWinThreadState().firewallCatches; }

static void LogException(const char* where, UINT message, const char* what)
{
    char text[600];
    std::snprintf(text, sizeof text, "%s (%s)", where, what);
    AfxFirewallCaught(text, message);
}

void AfxFirewallCaughtCurrent(const char* where, UINT message)
{
    try {
        throw;
    } catch (CException* e) {
        char text[256] = "framework exception";
        e->GetErrorMessage(text, sizeof text);
        e->Delete();  // thrown as a pointer: whoever stops it frees it
        LogException(where, message, text);
    } catch (const std::exception& e) {
        LogException(where, message, e.what());
    } catch (const _com_error& e) {
        // Automation failures (a spreadsheet export, a variant conversion):
        // the result code and its text are the cause.
        char text[400];
        const char* said = e.ErrorMessage();
        std::snprintf(text, sizeof text, "COM error 0x%08lX: %s", (unsigned long)e.Error(), said ? said : "");
        LogException(where, message, text);
    } catch (...) {
        LogException(where, message, "unknown exception");
    }
}

// The answer of a window procedure whose handler threw: refuse creation, leave no
// update region behind (or WM_PAINT would come forever), otherwise 0.
static LRESULT FirewallResult(HWND h, UINT message)
{
    switch (message) {
    case WM_NCCREATE: return FALSE;
    case WM_CREATE: return -1;
    case WM_PAINT: ::ValidateRect(h, nullptr); return 0;
    default: return 0;
    }
}

// ---- handle maps

CWnd* CWnd::FromHandlePermanent(HWND h)
{
    if (!h) return nullptr;
    auto& map = AfxGetWinThreadState().permanentWnd;
    auto it = map.find(h);
    if (it == map.end()) return nullptr;
    if (!::IsWindow(h)) {  // its WM_NCDESTROY never reached us
        AfxDropDeadWindow(it->second, h);
        return nullptr;
    }
    return it->second;
}

CWnd* CWnd::FromHandle(HWND h)
{
    if (!h) return nullptr;
    if (CWnd* w = FromHandlePermanent(h)) return w;
    auto& map = AfxGetWinThreadState().temporaryWnd;
    auto it = map.find(h);
    if (it != map.end()) return it->second;
    CWnd* w = new CWnd(h);
    map.emplace(h, w);
    return w;
}

void CWnd::DeleteTempMap()
{
    auto& map = AfxGetWinThreadState().temporaryWnd;
    auto old = std::move(map);
    map.clear();
    for (auto& [h, w] : old) {
        w->m_hWnd = nullptr;
        delete w;
    }
}

BOOL CWnd::Attach(HWND h)
{
    if (!h) return FALSE;
    auto& st = AfxGetWinThreadState();
    auto it = st.permanentWnd.find(h);
    if (it != st.permanentWnd.end() && it->second != this && ::IsWindow(h)) return FALSE;
    // A temporary wrapper of this handle would now shadow nothing; drop it.
    auto tmp = st.temporaryWnd.find(h);
    if (tmp != st.temporaryWnd.end() && tmp->second != this) {
        tmp->second->m_hWnd = nullptr;
        delete tmp->second;
        st.temporaryWnd.erase(tmp);
    }
    st.permanentWnd[h] = this;
    st.permanentTag[h] = AfxGetModuleState();
    m_hWnd = h;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) {
        auto& map = AfxGetWinThreadState().permanentWnd;
        auto it = map.find(h);
        if (it != map.end() && it->second == this) {
            map.erase(it);
            AfxGetWinThreadState().permanentTag.erase(h);
        }
    }
    m_hWnd = nullptr;
    return h;
}

// A window unsubclassed while another procedure sat on top of ours keeps ours in
// its chain; this property holds the procedure ours passes the messages on to.
static const char kNextProcProp[] = "TrvmfcNextProc";

BOOL CWnd::SubclassWindow(HWND h)
{
    if (!h || !::IsWindow(h) || !Attach(h)) return FALSE;
    PreSubclassWindow();
    if (auto next = (WNDPROC)::GetPropA(h, kNextProcProp)) {
        // Our procedure is still in the chain: take it over where it is.
        ::RemovePropA(h, kNextProcProp);
        m_pfnSuper = next;
        m_nFlags |= WF_LAYER_SUBCLASSED;
        return TRUE;
    }
    auto old = (WNDPROC)::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)&CWnd::AfxWndProc);
    if (old != &CWnd::AfxWndProc) m_pfnSuper = old;
    m_nFlags |= WF_LAYER_SUBCLASSED;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND h = ::GetDlgItem(parent->m_hWnd, (int)id);
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND h = m_hWnd;
    if (!h) return nullptr;
    if (m_pfnSuper) {
        if ((WNDPROC)::GetWindowLongPtrA(h, GWLP_WNDPROC) == &CWnd::AfxWndProc)
            ::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
        else  // someone chained on top of us and calls ours: it must still reach the old one
            ::SetPropA(h, kNextProcProp, (HANDLE)m_pfnSuper);
    }
    m_pfnSuper = nullptr;
    m_nFlags &= ~WF_LAYER_SUBCLASSED;
    return Detach();
}

void AfxDeleteTempMaps()
{
    auto& st = AfxGetWinThreadState();
    if (st.inTempCleanup) return;
    st.inTempCleanup = true;
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
    CImageList::DeleteTempMap();
    st.inTempCleanup = false;
}

CMenu* AfxMenuFromHandle(HMENU h) { return CMenu::FromHandle(h); }

// ---- window procedure

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::~CWnd()
{
    // Lists that may still name the object let go of it first (without touching the
    // thread's state for the many objects that are in none).
    if (m_nFlags & WF_LAYER_FRAMELIST) AfxRemoveThreadFrame(this);
    if (m_nFlags & WF_LAYER_DEADQUEUE) AfxForgetDeadWindow(this);
    // No window, or wndTop and its kind (insertion positions, not windows): no map
    // holds the object (OnNcDestroy already let go of the tooltip state).
    if (!m_hWnd || m_hWnd == HWND_BOTTOM || m_hWnd == HWND_TOPMOST || m_hWnd == HWND_NOTOPMOST) return;
    auto& st = AfxGetWinThreadState();
    auto it = st.permanentWnd.find(m_hWnd);
    if (it != st.permanentWnd.end() && it->second == this && ::IsWindow(m_hWnd)) {
        // Destroying the object destroys its window; PostNcDestroy is already ours.
        ::DestroyWindow(m_hWnd);
    }
    Detach();
    if (st.toolTipOwner == this) st.toolTipOwner = nullptr;
}

// A main or active window going away leaves no thread or application pointing at
// it (PostNcDestroy may free it). The end of a main window ends its thread's run;
// a library's application leaves the program's run alone.
static void ForgetThreadWindow(CWnd* w, AFX_MODULE_STATE* tag)
{
    AFX_MODULE_STATE* appState = AfxGetAppModuleState();
    CWinThread* exeApp = appState ? appState->m_pCurrentWinApp : nullptr;
    CWinThread* owners[] = {AfxGetThread(), exeApp, tag ? tag->m_pCurrentWinApp : nullptr};
    bool quit = false;
    for (CWinThread* t : owners) {
        if (!t) continue;
        if (t->m_pActiveWnd == w) t->m_pActiveWnd = nullptr;
        if (t->m_pMainWnd != w) continue;
        t->m_pMainWnd = nullptr;
        if (t == exeApp || !t->IsKindOf(RUNTIME_CLASS(CWinApp))) quit = true;
    }
    if (quit) ::PostQuitMessage(0);
}

// After the window's last message: detach and let the object go (PostNcDestroy may
// delete it; nothing touches it afterwards).
static void FinishNcDestroy(CWnd* w, HWND h)
{
    if (w->m_pfnSuper && (WNDPROC)::GetWindowLongPtrA(h, GWLP_WNDPROC) == &CWnd::AfxWndProc)
        ::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)w->m_pfnSuper);
    auto& st = AfxGetWinThreadState();
    auto tag = st.permanentTag.find(h);
    ForgetThreadWindow(w, tag != st.permanentTag.end() ? tag->second : nullptr);
    w->Detach();
    w->m_nFlags &= ~WF_LAYER_SUBCLASSED;
    w->PostNcDestroy();
}

void AfxDropDeadWindow(CWnd* w, HWND h)
{
    auto& st = AfxGetWinThreadState();
    auto tag = st.permanentTag.find(h);
    AFX_MODULE_STATE* module = tag != st.permanentTag.end() ? tag->second : nullptr;
    auto it = st.permanentWnd.find(h);
    if (it != st.permanentWnd.end() && it->second == w) st.permanentWnd.erase(it);
    st.permanentTag.erase(h);
    if (st.toolTipOwner == w) st.toolTipOwner = nullptr;
    if (st.lastHitWnd == h) {
        st.lastHitWnd = nullptr;
        st.lastHitId = -1;
    }
    if (w->m_hWnd == h) w->m_hWnd = nullptr;
    ForgetThreadWindow(w, module);
    // Only an object whose window ran our procedure is owed its PostNcDestroy; one
    // merely attached would not have had it either.
    bool owed = (w->m_nFlags & WF_LAYER_SUBCLASSED) != 0;
    w->m_nFlags &= ~WF_LAYER_SUBCLASSED;
    w->m_pfnSuper = nullptr;
    if (owed && !(w->m_nFlags & WF_LAYER_DEADQUEUE)) {
        w->m_nFlags |= WF_LAYER_DEADQUEUE;
        st.deadWindows.push_back(w);
    }
}

void AfxForgetDeadWindow(CWnd* w)
{
    w->m_nFlags &= ~WF_LAYER_DEADQUEUE;
    auto& dead = AfxGetWinThreadState().deadWindows;
    dead.erase(std::remove(dead.begin(), dead.end(), w), dead.end());
}

void AfxSweepDeadWindows()
{
    auto& st = AfxGetWinThreadState();
    std::vector<std::pair<CWnd*, HWND>> gone;
    for (auto& [h, w] : st.permanentWnd)
        if (!::IsWindow(h)) gone.emplace_back(w, h);
    for (auto& [w, h] : gone) AfxDropDeadWindow(w, h);
    if (st.dispatchDepth > 0) return;
    // One at a time: a PostNcDestroy may destroy further objects, queued ones too.
    while (!st.deadWindows.empty()) {
        CWnd* w = st.deadWindows.front();
        st.deadWindows.erase(st.deadWindows.begin());
        w->m_nFlags &= ~WF_LAYER_DEADQUEUE;
        try {
            w->PostNcDestroy();
        } catch (...) {
            AfxFirewallCaughtCurrent("window teardown", WM_NCDESTROY);
        }
    }
}

LRESULT CWnd::CallWndProc(CWnd* w, HWND h, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& st = AfxGetWinThreadState();
    MSG& current = AfxGetThreadState()->m_lastSentMsg;
    MSG saved = current;
    current.hwnd = h;
    current.message = message;
    current.wParam = wParam;
    current.lParam = lParam;
    LRESULT result = 0;
    ++st.dispatchDepth;
    try {
        result = w->WindowProc(message, wParam, lParam);
    } catch (...) {
        AfxFirewallCaughtCurrent("window procedure", message);
        result = FirewallResult(h, message);
    }
    --st.dispatchDepth;
    if (message == WM_NCDESTROY) {
        // A handler that did not call the base OnNcDestroy still gets the cleanup.
        auto it = st.permanentWnd.find(h);
        if (it != st.permanentWnd.end()) {
            try {
                FinishNcDestroy(it->second, h);
            } catch (...) {
                AfxFirewallCaughtCurrent("window teardown", message);
            }
        }
    }
    AfxGetThreadState()->m_lastSentMsg = saved;
    return result;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYAFXWNDPROC) return 1;
    CWnd* w = FromHandlePermanent(h);
    if (w) return CallWndProc(w, h, message, wParam, lParam);
    if (auto next = (WNDPROC)::GetPropA(h, kNextProcProp)) {
        if (message == WM_NCDESTROY) ::RemovePropA(h, kNextProcProp);
        return ::CallWindowProcA(next, h, message, wParam, lParam);
    }
    return ::DefWindowProcA(h, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

// Whether an object can be the control of an owner-draw item of this type.
static bool IsItemControl(CWnd* w, UINT ctlType)
{
    char cls[32] = "";
    ::GetClassNameA(w->m_hWnd, cls, sizeof cls);
    switch (ctlType) {
    case ODT_LISTBOX: return w->IsKindOf(RUNTIME_CLASS(CListBox)) || ::lstrcmpiA(cls, "ListBox") == 0;
    case ODT_COMBOBOX: return w->IsKindOf(RUNTIME_CLASS(CComboBox)) || ::lstrcmpiA(cls, "ComboBox") == 0;
    default: return false;
    }
}

// WM_MEASUREITEM names its control only by id, as a 32-bit value (-1 arrives as
// 0xFFFFFFFF, which GetDlgItem does not match). Labels often share an id with the
// control, so a child of the item's control type comes first.
static HWND MeasuredChild(HWND parent, const MEASUREITEMSTRUCT* mis)
{
    HWND first = nullptr;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((UINT)::GetDlgCtrlID(child) != mis->CtlID) continue;
        CWnd* w = CWnd::FromHandlePermanent(child);
        if (!w) continue;
        if (IsItemControl(w, mis->CtlType)) return child;
        if (!first) first = child;
    }
    return first;
}

// The child a parent's owner-draw or colour message is about, if it has an object.
static CWnd* ReflectTarget(CWnd* parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND child = nullptr;
    switch (message) {
    case WM_DRAWITEM: {
        auto* dis = (DRAWITEMSTRUCT*)lParam;
        if (dis && dis->CtlType != ODT_MENU) child = dis->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = (MEASUREITEMSTRUCT*)lParam;
        if (mis && mis->CtlType != ODT_MENU) child = MeasuredChild(parent->m_hWnd, mis);
        break;
    }
    case WM_DELETEITEM: child = ((DELETEITEMSTRUCT*)lParam)->hwndItem; break;
    case WM_COMPAREITEM: child = ((COMPAREITEMSTRUCT*)lParam)->hwndItem; break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = (HWND)lParam; break;
    case WM_HSCROLL:
    case WM_VSCROLL: child = (HWND)lParam; break;
    default: return nullptr;
    }
    (void)wParam;
    if (!child || child == parent->m_hWnd) return nullptr;
    return CWnd::FromHandlePermanent(child);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    // While a wait runs the cursor stays the wait cursor over the layer's windows.
    if (message == WM_SETCURSOR && AfxGetWinThreadState().waitCursorCount > 0) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        *pResult = TRUE;
        return TRUE;
    }
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* nm = (NMHDR*)lParam;
        if (!nm || !OnNotify(wParam, lParam, &result)) return FALSE;
        *pResult = result;
        return TRUE;
    }
    if (CWnd* child = ReflectTarget(this, message, wParam, lParam)) {
        if (child->OnChildNotify(message, wParam, lParam, &result)) {
            *pResult = result;
            return TRUE;
        }
    }

    UINT key = message;
    UINT ctlColor = 0;
    UINT base = message >= WM_REFLECT_BASE ? WM_REFLECT_BASE : 0;
    UINT plain = message - base;
    if (plain >= WM_CTLCOLORMSGBOX && plain <= WM_CTLCOLORSTATIC) {
        ctlColor = plain - WM_CTLCOLORMSGBOX;
        key = base + AFX_WM_CTLCOLOR;
    }
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(GetMessageMap(), key, 0, 0);
    if (!e) return FALSE;
    AFX_MSGCALL call{message, wParam, lParam, ctlColor, 0, nullptr, 0};
    if (!e->pfnDispatch(this, call)) return FALSE;
    *pResult = call.result;
    return TRUE;
}

// Menu and accelerator commands carry no control window; a command whose update
// handler disables it is dropped.
namespace {
class CTestCmdUI : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL on) override { m_bEnabled = on; m_bEnableChanged = TRUE; }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};
}  // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    HWND ctrl = (HWND)lParam;
    int code = HIWORD(wParam);
    if (!ctrl) {
        if (id == 0) return FALSE;
        CTestCmdUI state;
        state.m_nID = id;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled) return TRUE;
        code = CN_COMMAND;
    } else {
        if (CWnd* child = FromHandlePermanent(ctrl)) {
            LRESULT r = 0;
            if (child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, &r)) return TRUE;
        }
        if (id == 0) return FALSE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    auto* nm = (NMHDR*)lParam;
    if (CWnd* child = FromHandlePermanent(nm->hwndFrom)) {
        if (child != this && child->OnChildNotify(WM_NOTIFY, nm->idFrom, lParam, pResult)) return TRUE;
    }
    AFX_NOTIFY notify{pResult, nm};
    if (OnCmdMsg((UINT)nm->idFrom, (int)MAKELONG(nm->code, WM_NOTIFY), &notify, nullptr)) return TRUE;
    // Tools nobody answers for show the tip part of their id's string.
    if (nm->code == TTN_NEEDTEXTA || nm->code == TTN_NEEDTEXTW) return AfxFillToolTipText(nm);
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND: {
        int code = HIWORD(wParam);
        if (OnCmdMsg(0, (int)MAKELONG(code, WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr)) {
            if (pResult) *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto* nm = (NMHDR*)lParam;
        LRESULT scratch = 0;
        AFX_NOTIFY notify{pResult ? pResult : &scratch, nm};
        return OnCmdMsg(0, (int)MAKELONG(nm->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        LRESULT scratch = 0;
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult ? pResult : &scratch);
    }
    default: return FALSE;
    }
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* pResult)
{
    CWnd* w = FromHandlePermanent(child);
    if (!w) return FALSE;
    const MSG& m = AfxGetThreadState()->m_lastSentMsg;
    return w->OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

// ---- creation

struct AfxCreateHookScope {
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
    {
        auto& st = AfxGetWinThreadState();
        if (code == HCBT_CREATEWND && st.wndInit) {
            CWnd* w = st.wndInit;
            st.wndInit = nullptr;
            try {
                // The handle is new: an entry under it is a dead window's, whose
                // WM_NCDESTROY never reached us.
                HWND h = (HWND)wParam;
                auto stale = st.permanentWnd.find(h);
                if (stale != st.permanentWnd.end() && stale->second != w) AfxDropDeadWindow(stale->second, h);
                w->SubclassWindow(h);
            } catch (...) {
                AfxFirewallCaughtCurrent("creation hook", WM_NCCREATE);
            }
        }
        return ::CallNextHookEx(st.createHook, code, wParam, lParam);
    }

    CWnd* saved;
    explicit AfxCreateHookScope(CWnd* w)
    {
        auto& st = AfxGetWinThreadState();
        if (st.createHookDepth++ == 0)
            st.createHook = ::SetWindowsHookExA(WH_CBT, &CbtHook, nullptr, ::GetCurrentThreadId());
        saved = st.wndInit;
        st.wndInit = w;
    }
    ~AfxCreateHookScope()
    {
        auto& st = AfxGetWinThreadState();
        st.wndInit = saved;
        if (--st.createHookDepth == 0 && st.createHook) {
            ::UnhookWindowsHookEx(st.createHook);
            st.createHook = nullptr;
        }
    }
};

HWND AfxCreateWithHook(CWnd* w, const CREATESTRUCTA& cs)
{
    AfxCreateHookScope scope(w);
    return ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                             cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
}

HWND AfxCreateDialogWithHook(CWnd* w, HINSTANCE inst, LPCDLGTEMPLATEA tmpl, HWND parent, DLGPROC proc)
{
    AfxCreateHookScope scope(w);
    return ::CreateDialogIndirectParamA(inst, tmpl, parent, proc, 0);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1));
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int cx, int cy,
                    HWND parent, HMENU idOrMenu, LPVOID param)
{
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxWinInstance();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // On failure WM_NCDESTROY has run and PostNcDestroy may have deleted us.
    return AfxCreateWithHook(this, cs) != nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& r, CWnd* parent,
                    UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, r.left, r.top, r.right - r.left, r.bottom - r.top,
                    parent ? parent->m_hWnd : nullptr, (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, (LPVOID)context);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

void CWnd::CalcWindowRect(LPRECT client, UINT adjustType)
{
    DWORD ex = GetExStyle();
    if (adjustType == 0) ex &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(client, GetStyle(), FALSE, ex);
}

HINSTANCE AfxWinInstance()
{
    HINSTANCE h = AfxGetInstanceHandle();
    return h ? h : ::GetModuleHandleA(nullptr);
}

namespace {

// Window classes the layer registered, by registering module, so that a DLL's go
// away with it (a class left behind would call into unloaded code).
struct ClassRegistry {
    struct Entry {
        std::string name;
        HINSTANCE instance;
        AFX_MODULE_STATE* module;  // current while it was registered
    };
    std::recursive_mutex lock;           // guards the members
    std::vector<Entry> classes;
    std::set<std::string> wndClassNames;  // AfxRegisterWndClass names; their storage backs the results
};

// Never destroyed: modules unload after static destruction may have begun.
ClassRegistry& Registry()
{
    static auto* registry = new ClassRegistry;
    return *registry;
}

}  // namespace

BOOL AfxRegisterClass(WNDCLASSA* wc)
{
    if (!::RegisterClassA(wc)) return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (!IS_INTRESOURCE(wc->lpszClassName)) {
        HINSTANCE inst = wc->hInstance ? wc->hInstance : ::GetModuleHandleA(nullptr);
        auto& reg = Registry();
        std::lock_guard<std::recursive_mutex> guard(reg.lock);
        reg.classes.push_back({wc->lpszClassName, inst, AfxGetModuleState()});
    }
    return TRUE;
}

void AfxUnregisterModuleClasses(AFX_MODULE_STATE* module)
{
    auto& reg = Registry();
    std::lock_guard<std::recursive_mutex> guard(reg.lock);
    for (auto it = reg.classes.begin(); it != reg.classes.end();) {
        if (it->module != module && it->instance != module->m_hCurrentInstanceHandle) {
            ++it;
            continue;
        }
        ::UnregisterClassA(it->name.c_str(), it->instance);
        reg.wndClassNames.erase(it->name);
        it = reg.classes.erase(it);
    }
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    HINSTANCE inst = AfxWinInstance();
    char name[96];
    std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", (void*)inst, classStyle, (void*)cursor,
                  (void*)background, (void*)icon);
    auto& reg = Registry();
    std::lock_guard<std::recursive_mutex> guard(reg.lock);
    auto it = reg.wndClassNames.find(name);
    if (it != reg.wndClassNames.end()) return it->c_str();
    WNDCLASSA wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = inst;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc)) AfxThrowResourceException();
    return reg.wndClassNames.insert(name).first->c_str();
}

// ---- teardown

int CWnd::OnCreate(LPCREATESTRUCTA) { return (int)Default(); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCTA) { return (BOOL)Default(); }
void CWnd::OnDestroy() { Default(); }

void CWnd::OnNcDestroy()
{
    HWND h = m_hWnd;
    Default();
    auto& st = AfxGetWinThreadState();
    if (st.toolTipOwner == this) st.toolTipOwner = nullptr;
    if (st.lastHitWnd == h) {
        st.lastHitWnd = nullptr;
        st.lastHitId = -1;
    }
    FinishNcDestroy(this, h);
}

// ---- pre-translation

BOOL CWnd::PreTranslateMessage(MSG* msg)
{
    if (m_nFlags & WF_TOOLTIPS) FilterToolTipMessage(msg);
    return FALSE;
}

BOOL CWnd::PreTranslateInput(MSG* msg)
{
    bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
    if (!key && !mouse) return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

bool AfxIsWindowOfCurrentModule(HWND h)
{
    auto& tags = AfxGetWinThreadState().permanentTag;
    auto tag = tags.find(h);
    return tag != tags.end() && tag->second == AfxGetModuleState();
}

// Only objects attached under the current module state take part: each module's
// loop pre-translates its own windows, so none is pre-translated twice.
BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    auto& st = AfxGetWinThreadState();
    AFX_MODULE_STATE* current = AfxGetModuleState();
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = FromHandlePermanent(h)) {
            auto tag = st.permanentTag.find(h);
            if (tag != st.permanentTag.end() && tag->second == current && w->PreTranslateMessage(msg)) return TRUE;
        }
        if (h == stop) break;
    }
    return FALSE;
}

// ---- navigation and wrappers

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
        CWnd* w = FromHandlePermanent(h);
        if (w && w->IsFrameWnd()) return reinterpret_cast<CFrameWnd*>(w);
    }
    return nullptr;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    CWnd* frame = IsFrameWnd() ? const_cast<CWnd*>(this) : reinterpret_cast<CWnd*>(GetParentFrame());
    while (frame) {
        CWnd* up = reinterpret_cast<CWnd*>(frame->GetParentFrame());
        if (!up) break;
        frame = up;
    }
    return reinterpret_cast<CFrameWnd*>(frame);
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    while ((::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && ::GetParent(h)) h = ::GetParent(h);
    return FromHandle(h);
}

CWnd* CWnd::GetTopLevelOwner() const
{
    HWND h = m_hWnd;
    for (HWND up; (up = ::GetParent(h)) != nullptr;) h = up;
    return FromHandle(h);
}

CWnd* CWnd::GetDescendantWindow(int id, BOOL onlyPermanent) const
{
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id) {
            CWnd* w = onlyPermanent ? FromHandlePermanent(child) : FromHandle(child);
            if (w) return w;
        }
        CWnd* inner = FromHandle(child)->GetDescendantWindow(id, onlyPermanent);
        if (inner) return inner;
    }
    return nullptr;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep, BOOL onlyPermanent)
{
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (onlyPermanent) {
            if (CWnd* w = FromHandlePermanent(child)) w->SendMessage(message, wParam, lParam);
        } else {
            ::SendMessageA(child, message, wParam, lParam);
        }
        if (deep && ::GetTopWindow(child)) CWnd(child).SendMessageToDescendants(message, wParam, lParam, deep, onlyPermanent);
    }
}

BOOL CWnd::ModifyStyle(HWND h, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (DWORD)::GetWindowLongPtrA(h, GWL_STYLE);
    DWORD next = (style & ~remove) | add;
    if (style == next) return FALSE;
    ::SetWindowLongPtrA(h, GWL_STYLE, (LONG_PTR)next);
    if (swpFlags) ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND h, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (DWORD)::GetWindowLongPtrA(h, GWL_EXSTYLE);
    DWORD next = (style & ~remove) | add;
    if (style == next) return FALSE;
    ::SetWindowLongPtrA(h, GWL_EXSTYLE, (LONG_PTR)next);
    if (swpFlags) ::SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

void CWnd::GetWindowText(CString& s) const
{
    int n = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, s.GetBuffer(n + 1), n + 1);
    s.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int id, CString& s) const
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    s.Empty();
    if (!item) return 0;
    CWnd(item).GetWindowText(s);
    return s.GetLength();
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    RECT area;
    HWND owner = alternateOwner ? alternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) {
        ::GetClientRect(::GetParent(m_hWnd), &area);
    } else if (owner && ::IsWindowVisible(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    CRect me;
    GetWindowRect(&me);
    int x = (area.left + area.right - me.Width()) / 2;
    int y = (area.top + area.bottom - me.Height()) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::SetWindowRgn(HRGN rgn, BOOL redraw)
{
    HRGN copy = nullptr;
    if (rgn) {
        copy = ::CreateRectRgn(0, 0, 0, 0);
        ::CombineRgn(copy, rgn, nullptr, RGN_COPY);
    }
    int r = ::SetWindowRgn(m_hWnd, copy, redraw);  // the system owns the copy now
    if (!r && copy) ::DeleteObject(copy);
    return r;
}

// ---- scroll bars

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

// The window and bar kind that hold a window's bar: its own, or a sibling control.
static HWND ScrollOwner(const CWnd* w, int& bar)
{
    if (bar != SB_CTL) {
        if (CScrollBar* ctl = w->GetScrollBarCtrl(bar)) {
            bar = SB_CTL;
            return ctl->m_hWnd;
        }
    }
    return w->m_hWnd;
}

int CWnd::GetScrollPos(int bar) const
{
    HWND h = ScrollOwner(this, bar);
    return ::GetScrollPos(h, bar);
}

int CWnd::SetScrollPos(int bar, int pos, BOOL redraw)
{
    HWND h = ScrollOwner(this, bar);
    return ::SetScrollPos(h, bar, pos, redraw);
}

void CWnd::GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const
{
    HWND h = ScrollOwner(this, bar);
    ::GetScrollRange(h, bar, minPos, maxPos);
}

void CWnd::SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw)
{
    HWND h = ScrollOwner(this, bar);
    ::SetScrollRange(h, bar, minPos, maxPos, redraw);
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO si, UINT mask) const
{
    si->cbSize = sizeof(SCROLLINFO);
    si->fMask = mask;
    HWND h = ScrollOwner(this, bar);
    return ::GetScrollInfo(h, bar, si);
}

BOOL CWnd::SetScrollInfo(int bar, LPSCROLLINFO si, BOOL redraw)
{
    si->cbSize = sizeof(SCROLLINFO);
    HWND h = ScrollOwner(this, bar);
    ::SetScrollInfo(h, bar, si, redraw);
    return TRUE;
}

int CWnd::GetScrollLimit(int bar) const
{
    SCROLLINFO si{};
    if (!GetScrollInfo(bar, &si, SIF_RANGE | SIF_PAGE)) return 0;
    int limit = si.nMax - (si.nPage ? (int)si.nPage - 1 : 0);
    return limit > si.nMin ? limit : si.nMin;
}

void CWnd::EnableScrollBarCtrl(int bar, BOOL enable)
{
    if (bar == SB_BOTH) {
        EnableScrollBarCtrl(SB_HORZ, enable);
        EnableScrollBarCtrl(SB_VERT, enable);
        return;
    }
    if (CScrollBar* ctl = GetScrollBarCtrl(bar)) {
        ::EnableWindow(ctl->m_hWnd, enable);
        return;
    }
    ::ShowScrollBar(m_hWnd, bar, enable);
}

// ---- further wrappers

const MSG* CWnd::GetCurrentMessage()
{
    MSG& m = AfxGetThreadState()->m_lastSentMsg;
    m.time = (DWORD)::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    m.pt.x = (short)LOWORD(pos);
    m.pt.y = (short)HIWORD(pos);
    return &m;
}

CWnd* CWnd::GetParentOwner() const
{
    HWND h = m_hWnd;
    for (HWND up; (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && (up = ::GetParent(h)) != nullptr;) h = up;
    return FromHandle(h);
}

CWnd* CWnd::GetSafeOwner(CWnd* parent, HWND* topLevel)
{
    HWND h = parent ? parent->m_hWnd : nullptr;
    if (!h) {
        CWnd* main = AfxGetMainWnd();
        h = main ? main->m_hWnd : nullptr;
    }
    while (h && (::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
    if (topLevel) *topLevel = h;
    if (!h) return nullptr;
    return FromHandle(::GetLastActivePopup(h));
}

BOOL CWnd::IsTopParentActive() const
{
    CWnd* top = GetTopLevelParent();
    HWND active = ::GetForegroundWindow();
    return top && active && (active == top->m_hWnd || ::GetLastActivePopup(top->m_hWnd) == active);
}

void CWnd::ActivateTopParent()
{
    CWnd* top = GetTopLevelParent();
    if (!top) return;
    HWND active = ::GetActiveWindow();
    if (active != top->m_hWnd && ::GetLastActivePopup(top->m_hWnd) != active) ::SetActiveWindow(top->m_hWnd);
}

int CWnd::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id)
        if (::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED) return id;
    return 0;
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : nullptr); }
CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }

// ---- modal loops

void CWnd::EndModalLoop(int result)
{
    m_nModalResult = result;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    }
}

int CWnd::RunModalLoop(DWORD flags)
{
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    HWND self = m_hWnd;
    HWND owner = ::GetParent(self);
    bool showOnIdle = (flags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    bool idle = true;
    LONG idleCount = 0;
    MSG peek;
    for (;;) {
        while (idle && ContinueModal() && !::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (!(flags & MLF_NOIDLEMSG) && owner && idleCount == 0)
                ::SendMessageA(owner, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)self);
            if ((flags & MLF_NOKICKIDLE) || !::SendMessageA(self, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = false;
        }
        if (!ContinueModal() || !::IsWindow(self)) break;
        do {
            if (!AfxPumpMessage()) {
                ::PostQuitMessage(0);  // the outer loop must see the quit too
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (showOnIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (!ContinueModal() || !::IsWindow(self)) goto done;
            if (AfxIsIdleMessage(&AfxGetThreadState()->m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
done:
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    return m_nModalResult;
}

// ---- default handlers

void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnSizing(UINT, LPRECT) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnMoving(UINT, LPRECT) { Default(); }
void CWnd::OnEnterSizeMove() { Default(); }
void CWnd::OnExitSizeMove() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysDeadChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnClose() { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return (HBRUSH)Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT) { Default(); }
int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT) { return (int)Default(); }
int CWnd::OnCharToItem(UINT, CListBox*, UINT) { return (int)Default(); }
int CWnd::OnVKeyToItem(UINT, CListBox*, UINT) { return (int)Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return (BOOL)Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return (int)Default(); }
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) { Default(); }
UINT CWnd::OnGetDlgCode() { return (UINT)Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnSettingChange(UINT, LPCSTR) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnTimeChange() { Default(); }
void CWnd::OnPaletteChanged(CWnd*) { Default(); }
BOOL CWnd::OnQueryNewPalette() { return (BOOL)Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnParentNotify(UINT, LPARAM) { Default(); }
void CWnd::OnEnterIdle(UINT, CWnd*) { Default(); }
void CWnd::OnInitMenu(CMenu*) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnMenuSelect(UINT, UINT, HMENU) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnEnterMenuLoop(BOOL) { Default(); }
void CWnd::OnExitMenuLoop(BOOL) { Default(); }
BOOL CWnd::OnQueryEndSession() { return (BOOL)Default(); }
void CWnd::OnEndSession(BOOL) { Default(); }
BOOL CWnd::OnQueryOpen() { return (BOOL)Default(); }
void CWnd::OnDropFiles(HDROP) { Default(); }
BOOL CWnd::OnHelpInfo(HELPINFO*) { return (BOOL)Default(); }

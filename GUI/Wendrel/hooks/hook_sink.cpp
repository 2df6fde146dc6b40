#include "hooks/hook_sink.h"

#include <algorithm>
#include <exception>

#include "toolkit/toolkit_log.h"

namespace {

// Hook dispatches running on the GUI thread, and what waits for the
// outermost one to return: detached auto-deleting sinks and dismantled chains.
int g_dispatchDepth = 0;
std::vector<VEzaHookSink*> g_pendingSinks;
std::vector<VEzaHookSink::HookSinkArray_t*> g_pendingChains;

VEzaHookSink::HookSinkArray_t* FindChain(HWND hwnd) {
    VEzaHookSink::HookSinkArray_t* chain = nullptr;
    if (hwnd == nullptr || !VEzaHookSink::g_HookSinkMap.Lookup(hwnd, chain)) return nullptr;
    return chain;
}

bool IsHookedAnywhere(const VEzaHookSink* sink) {
    POSITION pos = VEzaHookSink::g_HookSinkMap.GetStartPosition();
    while (pos != nullptr) {
        HWND h;
        VEzaHookSink::HookSinkArray_t* chain;
        VEzaHookSink::g_HookSinkMap.GetNextAssoc(pos, h, chain);
        if (chain->Contains(sink)) return true;
    }
    return false;
}

}  // namespace

// Counts a hook dispatch; the last one out deletes what waited for it.
class HookDispatchScope {
public:
    HookDispatchScope() { ++g_dispatchDepth; }
    ~HookDispatchScope() {
        if (--g_dispatchDepth != 0) return;
        // Deleting may run sink destructors that detach or dispatch again.
        ++g_dispatchDepth;
        while (!g_pendingSinks.empty()) {
            VEzaHookSink* sink = g_pendingSinks.back();
            g_pendingSinks.pop_back();
            if (!IsHookedAnywhere(sink)) delete sink;  // re-attached meanwhile: its owner is the chain again
        }
        for (VEzaHookSink::HookSinkArray_t* chain : g_pendingChains) delete chain;
        g_pendingChains.clear();
        --g_dispatchDepth;
    }
    HookDispatchScope(const HookDispatchScope&) = delete;
    HookDispatchScope& operator=(const HookDispatchScope&) = delete;
};

bool VEzaHookSink::HookSinkArray_t::Contains(const VEzaHookSink* sink) const {
    for (INT_PTR i = 0; i < m_sinks.GetSize(); ++i)
        if (m_sinks[i] == sink) return true;
    return false;
}

VEzaHookSink::VEzaHookSink(bool detailedHooks) : m_options(detailedHooks ? OPTION_DETAILED : 0) {}

VEzaHookSink::~VEzaHookSink() {
    POSITION pos = g_HookSinkMap.GetStartPosition();
    while (pos != nullptr) {
        HWND h;
        HookSinkArray_t* chain;
        g_HookSinkMap.GetNextAssoc(pos, h, chain);
        for (INT_PTR i = chain->m_sinks.GetSize(); i-- > 0;)
            if (chain->m_sinks[i] == this) chain->m_sinks.RemoveAt(i);
    }
    g_pendingSinks.erase(std::remove(g_pendingSinks.begin(), g_pendingSinks.end(), this), g_pendingSinks.end());
}

bool VEzaHookSink::IsHookedWindow(HWND hwnd) const {
    HookSinkArray_t* chain = FindChain(hwnd);
    return chain != nullptr && chain->Contains(this);
}

void VEzaHookSink::DeleteDetached(VEzaHookSink* sink) {
    if (g_dispatchDepth > 0) {
        if (std::find(g_pendingSinks.begin(), g_pendingSinks.end(), sink) == g_pendingSinks.end())
            g_pendingSinks.push_back(sink);
        return;
    }
    delete sink;
}

bool VEzaHookSink::SetupHookWndSink(HWND hwnd, bool remove, bool addToHead) {
    if (hwnd == nullptr) return false;
    HookSinkArray_t* chain = FindChain(hwnd);
    if (!remove) {
        if (!::IsWindow(hwnd)) return false;
        if (chain == nullptr) {
            chain = new HookSinkArray_t(hwnd);
            chain->m_pOldWndProc = reinterpret_cast<WNDPROC>(
                ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookWndProc)));
            g_HookSinkMap.SetAt(hwnd, chain);
        }
        if (chain->Contains(this)) return true;
        if (addToHead)
            chain->m_sinks.InsertAt(0, this);
        else
            chain->m_sinks.Add(this);
        OnHookWndAttach(hwnd);
        return true;
    }
    if (chain == nullptr || !chain->Contains(this)) return true;
    OnHookWndDetach(hwnd);
    for (INT_PTR i = chain->m_sinks.GetSize(); i-- > 0;)
        if (chain->m_sinks[i] == this) chain->m_sinks.RemoveAt(i);
    if (IsAutoDeleteHookWndSink()) DeleteDetached(this);
    return true;
}

void VEzaHookSink::RemoveAllWndHooks() {
    std::vector<HWND> windows;
    POSITION pos = g_HookSinkMap.GetStartPosition();
    while (pos != nullptr) {
        HWND h;
        HookSinkArray_t* chain;
        g_HookSinkMap.GetNextAssoc(pos, h, chain);
        if (chain->Contains(this)) windows.push_back(h);
    }
    // An auto-deleting sink must outlive the loop over its windows.
    HookDispatchScope scope;
    for (HWND h : windows) SetupHookWndSink(h, true, false);
}

void VEzaHookSink::Dismantle(HookSinkArray_t* chain) {
    std::vector<VEzaHookSink*> sinks;
    for (INT_PTR i = 0; i < chain->m_sinks.GetSize(); ++i) sinks.push_back(chain->m_sinks[i]);
    chain->m_sinks.RemoveAll();
    chain->m_bDismantled = true;
    for (VEzaHookSink* sink : sinks)
        if (sink->IsAutoDeleteHookWndSink()) DeleteDetached(sink);
    ::SetWindowLongPtrA(chain->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->m_pOldWndProc));
}

LRESULT VEzaHookSink::Dispatch(HookSinkArray_t* chain, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HookDispatchScope scope;
    const WNDPROC previous = chain->m_pOldWndProc;
    // The sinks hooked when the message arrived, each asked only while it is
    // still in the chain.
    std::vector<VEzaHookSink*> snapshot;
    for (INT_PTR i = 0; i < chain->m_sinks.GetSize(); ++i) snapshot.push_back(chain->m_sinks[i]);
    if (message == WM_NCDESTROY) {
        bool eat = (chain->m_options & 1) != 0;
        for (VEzaHookSink* sink : snapshot) {
            if (!chain->Contains(sink)) continue;
            sink->OnHookWndNcDestroy();
            if (chain->Contains(sink) && (sink->m_options & OPTION_EAT_NCDESTROY) != 0) eat = true;
        }
        Dismantle(chain);
        g_HookSinkMap.RemoveKey(hwnd);
        g_pendingChains.push_back(chain);
        return eat ? 0 : ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    for (VEzaHookSink* sink : snapshot) {
        if (!chain->Contains(sink)) continue;
        LRESULT answer = 0;
        if (sink->OnHookWndMsg(answer, hwnd, message, wParam, lParam)) return answer;
    }
    return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK VEzaHookSink::HookWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    AFX_THREAD_STATE* state = AfxGetThreadState();
    const MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = hwnd;
    state->m_lastSentMsg.message = message;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;
    LRESULT result = 0;
    // No exception may cross the window procedure: a failing sink is logged
    // and the message answered 0.
    try {
        if (HookSinkArray_t* chain = FindChain(hwnd)) result = Dispatch(chain, hwnd, message, wParam, lParam);
    } catch (CException* e) {
        char text[256] = {};
        e->GetErrorMessage(text, sizeof text);
        ToolkitLogFailure("hook sink: exception stopped at message 0x%04X of window %p: %s", message,
                          static_cast<void*>(hwnd), text);
        e->Delete();
        result = 0;
    } catch (const std::exception& e) {
        ToolkitLogFailure("hook sink: exception stopped at message 0x%04X of window %p: %s", message,
                          static_cast<void*>(hwnd), e.what());
        result = 0;
    } catch (...) {
        ToolkitLogFailure("hook sink: unknown exception stopped at message 0x%04X of window %p", message,
                          static_cast<void*>(hwnd));
        result = 0;
    }
    state->m_lastSentMsg = saved;
    return result;
}

namespace {

VEzaHookSink::HookSinkArray_t* CurrentChain() {
    return FindChain(AfxGetThreadState()->m_lastSentMsg.hwnd);
}

}  // namespace

LRESULT VEzaHookSink::OnHookWndMsgNextProcCurrent(WPARAM wParam, LPARAM lParam) {
    HookSinkArray_t* chain = CurrentChain();
    if (chain == nullptr) return 0;
    const MSG& m = AfxGetThreadState()->m_lastSentMsg;
    return ::CallWindowProcA(chain->m_pOldWndProc, m.hwnd, m.message, wParam, lParam);
}

LRESULT VEzaHookSink::OnHookWndMsgNextProcInvoke(UINT message, WPARAM wParam, LPARAM lParam) {
    HookSinkArray_t* chain = CurrentChain();
    if (chain == nullptr) return 0;
    return ::CallWindowProcA(chain->m_pOldWndProc, chain->m_hWnd, message, wParam, lParam);
}

LRESULT VEzaHookSink::OnHookWndMsgDefault() {
    HookSinkArray_t* chain = CurrentChain();
    if (chain == nullptr) return 0;
    const MSG& m = AfxGetThreadState()->m_lastSentMsg;
    return ::CallWindowProcA(chain->m_pOldWndProc, m.hwnd, m.message, m.wParam, m.lParam);
}

bool VEzaHookSink::OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT message, WPARAM& wParam, LPARAM& lParam) {
    if ((m_options & OPTION_DETAILED) == 0) return false;
    switch (message) {
    case WM_PAINT: return OnHookPaintMsg(lResult, hWndHooked, reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND: return OnHookEraseBackgroundMsg(lResult, hWndHooked, reinterpret_cast<HDC>(wParam));
    case WM_NOTIFY: return OnHookNotifyMsg(lResult, hWndHooked, INT(wParam), reinterpret_cast<LPNMHDR>(lParam));
    case WM_NCPAINT: return OnHookNcPaintMsg(lResult, hWndHooked, reinterpret_cast<HRGN>(wParam));
    case WM_COMMAND:
        return OnHookCmdMsg(lResult, hWndHooked, HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PRINT: return OnHookPrintMsg(lResult, hWndHooked, reinterpret_cast<HDC>(wParam));
    default: return false;
    }
}

bool VEzaHookSink::OnHookCmdMsg(LRESULT&, HWND, WORD, WORD, HWND) { return false; }
bool VEzaHookSink::OnHookNotifyMsg(LRESULT&, HWND, INT, LPNMHDR) { return false; }
bool VEzaHookSink::OnHookPaintMsg(LRESULT&, HWND, HDC) { return false; }
bool VEzaHookSink::OnHookEraseBackgroundMsg(LRESULT&, HWND, HDC) { return false; }
bool VEzaHookSink::OnHookPrintMsg(LRESULT&, HWND, HDC) { return false; }
bool VEzaHookSink::OnHookNcPaintMsg(LRESULT&, HWND, HRGN) { return false; }

// Hook sinks: observers of a window the toolkit object does not own. The
// first sink on a window subclasses it with one shared procedure, which
// offers every message to the window's sinks in order before the window's own
// procedure sees it. The sinks of a window are one HookSinkArray_t, found
// through a process-wide map from window handle to array.
//
// Dispatch runs over a copy of the chain taken when the message arrives: a
// sink that detaches itself or another while a message is offered is
// skipped from then on, and sinks that delete themselves on detaching are
// deleted only once the outermost hook dispatch on the thread has returned.
// GUI thread only; the map is not locked.
#pragma once

#include <vector>

#include "afxtempl.h"
#include "afxwin.h"
#include "wendrel_export.h"

class WENDREL_API VEzaHookSink {
public:
    // The sinks hooked on one window.
    class WENDREL_API HookSinkArray_t {
    public:
        explicit HookSinkArray_t(HWND hwnd) : m_hWnd(hwnd) {}
        bool Contains(const VEzaHookSink* sink) const;
        // Bit 0: the window's WM_NCDESTROY does not reach its own procedure.
        BYTE m_options = 0;
        CArray<VEzaHookSink*, VEzaHookSink*> m_sinks;
        HWND m_hWnd;
        WNDPROC m_pOldWndProc = nullptr;
        bool m_bDismantled = false;  // the window is gone; freed when no dispatch uses it
    };
    using HookSinkMap_t = CMap<HWND, HWND, HookSinkArray_t*, HookSinkArray_t*>;
    // The process-wide map, built by the library's static initialisation.
    static HookSinkMap_t g_HookSinkMap;

    explicit VEzaHookSink(bool detailedHooks = false);
    VEzaHookSink(const VEzaHookSink&) = delete;
    VEzaHookSink& operator=(const VEzaHookSink&) = delete;

    // Leaves every chain it is still in (without detach notifications), so
    // that no window keeps offering messages to a deleted sink.
    virtual ~VEzaHookSink();
    virtual bool IsAutoDeleteHookWndSink() { return false; }
    virtual LRESULT OnHookWndMsgNextProcCurrent(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnHookWndMsgNextProcInvoke(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnHookWndMsgDefault();
    // True when the message is consumed; lResult is then the answer.
    virtual bool OnHookWndMsg(LRESULT& lResult, HWND hWndHooked, UINT message, WPARAM& wParam, LPARAM& lParam);
    virtual bool OnHookCmdMsg(LRESULT& lResult, HWND hWndHooked, WORD notifyCode, WORD id, HWND control);
    virtual bool OnHookNotifyMsg(LRESULT& lResult, HWND hWndHooked, INT controlId, LPNMHDR nmhdr);
    virtual bool OnHookPaintMsg(LRESULT& lResult, HWND hWndHooked, HDC dc);
    virtual bool OnHookEraseBackgroundMsg(LRESULT& lResult, HWND hWndHooked, HDC dc);
    virtual bool OnHookPrintMsg(LRESULT& lResult, HWND hWndHooked, HDC dc);
    virtual bool OnHookNcPaintMsg(LRESULT& lResult, HWND hWndHooked, HRGN region);
    virtual void OnHookWndNcDestroy() {}
    virtual void OnHookWndAttach(HWND) {}
    virtual void OnHookWndDetach(HWND) {}
    virtual bool SetupHookWndSink(HWND hwnd, bool remove = false, bool addToHead = false);
    virtual void RemoveAllWndHooks();

    bool IsHookedWindow(HWND hwnd) const;

    enum : BYTE {
        OPTION_DETAILED = 0x01,      // route messages to the typed handlers
        OPTION_EAT_NCDESTROY = 0x02, // the window's WM_NCDESTROY ends in the sinks
    };
    BYTE m_options;

    // The shared window procedure of hooked windows.
    static LRESULT CALLBACK HookWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class HookDispatchScope;
    // Deletes a detached auto-deleting sink now, or after the outermost dispatch.
    static void DeleteDetached(VEzaHookSink* sink);
    static void Dismantle(HookSinkArray_t* chain);
    // Offers a message to a window's chain, then to its own procedure.
    static LRESULT Dispatch(HookSinkArray_t* chain, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

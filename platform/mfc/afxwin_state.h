// Per-thread window-side state of the layer (internal to the layer DLL): the permanent
// and temporary handle maps, the creation hook and the tooltip control (the messages
// being pumped and dispatched are in the shared AFX_THREAD_STATE). One instance per GUI thread; only that thread touches it, so no lock.
#pragma once
#include "afxwin.h"
#include <string>
#include <unordered_map>

struct AfxWinThreadState {
    std::unordered_map<HWND, CWnd*> permanentWnd;      // objects attached to their windows
    std::unordered_map<HWND, AFX_MODULE_STATE*> permanentTag;  // module state current at attach
    std::unordered_map<HWND, CWnd*> temporaryWnd;      // plain CWnd wrappers, freed at idle
    std::unordered_map<HGDIOBJ, CGdiObject*> temporaryGdi;
    std::unordered_map<HDC, CDC*> temporaryDC;
    std::unordered_map<HMENU, CMenu*> permanentMenu;
    std::unordered_map<HMENU, CMenu*> temporaryMenu;
    std::unordered_map<HIMAGELIST, CImageList*> permanentImageList;
    std::unordered_map<HIMAGELIST, CImageList*> temporaryImageList;

    POINT lastMousePos{-1, -1};  // for the idle test of mouse moves
    CWnd* wndInit = nullptr;     // object waiting for its window at HCBT_CREATEWND
    HHOOK createHook = nullptr;  // set only while Create/CreateEx or dialog creation runs
    int createHookDepth = 0;

    CToolTipCtrl* toolTip = nullptr;  // one per thread, created on first use
    HWND lastHitWnd = nullptr;        // (window, id) of the tool under the cursor
    INT_PTR lastHitId = -1;
    UINT_PTR lastToolId = 0;
    CWnd* toolTipOwner = nullptr;
    std::string toolTipText;          // the last default tip given (the control keeps the pointer)

    unsigned firewallCatches = 0;  // exceptions stopped at a window procedure
    bool inTempCleanup = false;
};

AfxWinThreadState& AfxGetWinThreadState();

// Create a window or a dialog with w attached at its HCBT_CREATEWND (hook set only
// around the call).
HWND AfxCreateWithHook(CWnd* w, const CREATESTRUCTA& cs);
HWND AfxCreateDialogWithHook(CWnd* w, HINSTANCE inst, LPCDLGTEMPLATEA tmpl, HWND parent, DLGPROC proc);

// Unregisters the window classes registered while module was current or for its
// instance (called when a DLL module unloads).
void AfxUnregisterModuleClasses(AFX_MODULE_STATE* module);

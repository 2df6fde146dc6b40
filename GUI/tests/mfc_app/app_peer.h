// A library with an application of its own, standing in for the toolkit DLL: its
// exported message and idle hooks, and windows and resource loads made under its
// state.
#pragma once

#include "afxwin.h"

#include <vector>

#ifdef APP_PEER_BUILD
#define APP_PEER_API __declspec(dllexport)
#else
#define APP_PEER_API __declspec(dllimport)
#endif

// What the library's application saw.
struct PeerStats {
    int preTranslated = 0;
    AFX_MODULE_STATE* stateInFilter = nullptr;
    std::vector<LONG> idleCounts;
    AFX_MODULE_STATE* stateInIdle = nullptr;
    bool throwInFilter = false;
    bool throwInIdle = false;
};

// A window made under the library's state; counts its pre-translations and idle updates.
class APP_PEER_API CPeerWnd : public CWnd {
public:
    int preTranslated = 0;
    int idleUpdates = 0;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT OnIdleUpdate(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

extern "C" APP_PEER_API BOOL FilterDllMsg(MSG* msg);
extern "C" APP_PEER_API void ProcessDllIdle();

APP_PEER_API PeerStats& PeerGetStats();
APP_PEER_API AFX_MODULE_STATE* PeerModuleState();
APP_PEER_API CWinApp* PeerApp();
// Made under the library's state: a child of parent, or a top-level frame of the thread.
APP_PEER_API CPeerWnd* PeerCreateWindow(CWnd* parent);
APP_PEER_API HCURSOR PeerLoadCursor(UINT id);
APP_PEER_API HICON PeerLoadIcon(UINT id);
// Images in a list made from the bitmap under the library's state, -1 when it failed.
APP_PEER_API int PeerImageCount(UINT bitmapId);

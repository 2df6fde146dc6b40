#include "app_peer.h"

namespace {

PeerStats g_stats;

class CPeerApp : public CWinApp {
public:
    BOOL PreTranslateMessage(MSG* msg) override
    {
        ++g_stats.preTranslated;
        g_stats.stateInFilter = AfxGetModuleState();
        if (g_stats.throwInFilter) throw new CNotSupportedException;
        return CWinApp::PreTranslateMessage(msg);
    }
    BOOL OnIdle(LONG count) override
    {
        g_stats.idleCounts.push_back(count);
        g_stats.stateInIdle = AfxGetModuleState();
        if (g_stats.throwInIdle) throw new CNotSupportedException;
        return CWinApp::OnIdle(count);
    }
};

CPeerApp thePeerApp;  // no name: the library's string 57344 names it

}  // namespace

BEGIN_MESSAGE_MAP(CPeerWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

BOOL CPeerWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN) ++preTranslated;
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CPeerWnd::OnIdleUpdate(WPARAM, LPARAM)
{
    ++idleUpdates;
    return 0;
}

BOOL FilterDllMsg(MSG* msg) { return AfxFilterDllMsg(AfxGetStaticModuleState(), msg); }

void ProcessDllIdle() { AfxProcessDllIdle(AfxGetStaticModuleState()); }

PeerStats& PeerGetStats() { return g_stats; }
AFX_MODULE_STATE* PeerModuleState() { return AfxGetStaticModuleState(); }
CWinApp* PeerApp() { return &thePeerApp; }

CPeerWnd* PeerCreateWindow(CWnd* parent)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    auto* w = new CPeerWnd;
    BOOL ok = parent ? w->Create(nullptr, "peer child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 30, 30), parent, 7)
                     : w->CreateEx(0, nullptr, "peer frame", WS_POPUP, CRect(0, 0, 60, 60), nullptr, 0);
    if (!ok) {
        delete w;
        return nullptr;
    }
    if (!parent) {
        AfxAddThreadFrame(w);
        w->ShowWindow(SW_SHOWNA);
    }
    return w;
}

HCURSOR PeerLoadCursor(UINT id)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return AfxGetApp()->LoadCursor(id);
}

HICON PeerLoadIcon(UINT id)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return AfxGetApp()->LoadIcon(id);
}

int PeerImageCount(UINT bitmapId)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CImageList list;
    if (!list.Create(bitmapId, 16, 0, CLR_NONE)) return -1;
    return list.GetImageCount();
}

// MDI frames: CMDIFrameWnd hosts an MDI client window (m_hWndMDIClient, child id
// AFX_IDW_PANE_FIRST, laid out in the room its bars leave) whose children are
// CMDIChildWnd frames. Commands go to the active child first, then the frame. Only
// what the toolkit's MDI parts need: finding the active child, activating, arranging.
// GUI thread only.
#pragma once
#include "afxext_frame.h"

class CMDIChildWnd;

class TRVMFC_API CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd() = default;

    // The active child, and whether it is maximised.
    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(CWnd* child);
    void MDINext() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 0); }
    void MDIPrev() { ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, 0, 1); }
    void MDIMaximize(CWnd* child) { ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child->m_hWnd, 0); }
    void MDIRestore(CWnd* child) { ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, (WPARAM)child->m_hWnd, 0); }
    void MDICascade() { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
    void MDITile(int how = MDITILE_HORIZONTAL) { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, (WPARAM)how, 0); }
    void MDIIconArrange() { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }
    // The popup of the frame's menu that lists the children (the last one).
    virtual HMENU GetWindowMenuPopup(HMENU menuBar);

    CFrameWnd* GetActiveFrame() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

class TRVMFC_API CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd() = default;

    // Creates the child in parent's MDI client (the main window when parent is NULL).
    virtual BOOL Create(LPCSTR className, LPCSTR windowName,
                        DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* parent = nullptr, CCreateContext* context = nullptr);
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIDestroy() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, (WPARAM)m_hWnd, 0); }
    void MDIMaximize() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0); }
    void MDIRestore() { ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, (WPARAM)m_hWnd, 0); }

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL DestroyWindow() override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    DECLARE_MESSAGE_MAP()
};

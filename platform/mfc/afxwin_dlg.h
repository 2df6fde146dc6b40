// Dialogs from resource templates and dialog data exchange. A dialog runs the layer's
// window procedure on top of the dialog manager's (attached at creation like any CWnd),
// so its map sees WM_INITDIALOG, commands and notifications first and a WM_NOTIFY
// answer is the sender's result. DoModal disables the owner and runs a modal loop of
// the same pump. GUI thread only.
#pragma once
#include "afxwin_ctrl.h"

class TRVMFC_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);

    // Modeless: the owner is the constructor's parent, else the main window.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATEA tmpl, CWnd* parent = nullptr, HINSTANCE inst = nullptr);
    // Modal: returns the code given to EndDialog, -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    void SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }
    DWORD GetDefID() const { return (DWORD)SendMessage(DM_GETDEFID); }
    void GotoDlgCtrl(CWnd* ctl) { SendMessage(WM_NEXTDLGCTL, (WPARAM)ctl->m_hWnd, TRUE); }
    void NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
    BOOL MapDialogRect(LPRECT r) const { return ::MapDialogRect(m_hWnd, r); }

protected:
    LPCSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    LPCDLGTEMPLATEA FindTemplate(LPCSTR name, HINSTANCE& inst) const;
    HWND OwnerWindow() const;
    DECLARE_MESSAGE_MAP()
};

// Context of one UpdateData pass.
class TRVMFC_API CDataExchange {
public:
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;
    BOOL m_bEditLastControl = FALSE;

    CDataExchange(CWnd* dlg, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg) {}
    // The control with that id (throws CNotSupportedException when there is none).
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Puts the focus on the last prepared control and throws CUserException.
    [[noreturn]] void Fail();
};

TRVMFC_API void AFXAPI DDX_Control(CDataExchange* dx, int id, CWnd& control);
TRVMFC_API void AFXAPI DDX_Text(CDataExchange* dx, int id, CString& value);
TRVMFC_API void AFXAPI DDX_Text(CDataExchange* dx, int id, int& value);
TRVMFC_API void AFXAPI DDX_Text(CDataExchange* dx, int id, UINT& value);
TRVMFC_API void AFXAPI DDX_Check(CDataExchange* dx, int id, int& value);
TRVMFC_API void AFXAPI DDX_Radio(CDataExchange* dx, int id, int& value);
TRVMFC_API void AFXAPI DDX_CBIndex(CDataExchange* dx, int id, int& index);
TRVMFC_API void AFXAPI DDX_CBString(CDataExchange* dx, int id, CString& value);
TRVMFC_API void AFXAPI DDX_LBIndex(CDataExchange* dx, int id, int& index);

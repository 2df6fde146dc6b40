// Dialogs and data exchange.
#include "afxwin_state.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

// Everything reaches the object through the layer's procedure first; what it leaves
// goes to the dialog manager's default handling.
static INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

LPCDLGTEMPLATEA CDialog::FindTemplate(LPCSTR name, HINSTANCE& inst) const
{
    inst = AfxFindResourceHandle(name, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HRSRC res = ::FindResourceA(inst, name, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!res) return nullptr;
    HGLOBAL mem = ::LoadResource(inst, res);
    return mem ? (LPCDLGTEMPLATEA)::LockResource(mem) : nullptr;
}

HWND CDialog::OwnerWindow() const
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    // A dialog is owned by a top-level window.
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(MAKEINTRESOURCEA(templateId), parent); }

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent)
{
    m_lpszTemplateName = templateName;
    if (parent) m_pParentWnd = parent;
    HINSTANCE inst;
    LPCDLGTEMPLATEA tmpl = FindTemplate(templateName, inst);
    if (!tmpl) return FALSE;
    return CreateIndirect(tmpl, m_pParentWnd, inst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA tmpl, CWnd* parent, HINSTANCE inst)
{
    if (parent) m_pParentWnd = parent;
    HWND h = AfxCreateDialogWithHook(this, inst ? inst : AfxWinInstance(), tmpl, OwnerWindow(), &AfxDlgProc);
    return h != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE inst;
    LPCDLGTEMPLATEA tmpl = FindTemplate(m_lpszTemplateName, inst);
    if (!tmpl) return -1;
    HWND owner = OwnerWindow();
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner) ::EnableWindow(owner, FALSE);
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;  // EndDialog during OnInitDialog ends it before the loop
    HWND h = AfxCreateDialogWithHook(this, inst, tmpl, owner, &AfxDlgProc);
    if (h && ::IsWindow(h)) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            DWORD flags = MLF_SHOWONIDLE;
            if (::GetWindowLongPtrA(h, GWL_STYLE) & DS_NOIDLEMSG) flags |= MLF_NOIDLEMSG;
            RunModalLoop(flags);
        }
        if (::IsWindow(h)) ::SetWindowPos(h, nullptr, 0, 0, 0, 0,
                                          SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    // Re-enable the owner before the dialog goes, so activation returns to it.
    if (disabledOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == h) ::SetActiveWindow(owner);
    if (h && ::IsWindow(h)) ::DestroyWindow(h);
    return m_nModalResult;
}

void CDialog::EndDialog(int result)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(result);
    else m_nModalResult = result;
    if (m_hWnd) ::EndDialog(m_hWnd, result);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg)) return TRUE;
    // Dialog keys (Tab, Enter, Esc, mnemonics) for messages to this dialog or its controls.
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    return PreTranslateInput(msg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // Unhandled commands go on to the owner, then the application.
    if ((nCode != CN_COMMAND && nCode != CN_UPDATE_COMMAND_UI) || nID == 0 || nID >= 0xF000) return FALSE;
    if (CWnd* owner = FromHandlePermanent(::GetWindow(m_hWnd, GW_OWNER))) {
        if (owner != this && owner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    }
    if (CWinApp* app = AfxGetApp()) return app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    return FALSE;
}

// ---- data exchange

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();  // Fail() has placed the focus; the caller keeps the dialog open
        return FALSE;
    }
    return TRUE;
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!h) AfxThrowNotSupportedException();
    m_hWndLastControl = h;
    m_bEditLastControl = FALSE;
    return h;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND h = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return h;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
    std::abort();  // not reached
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd) return;  // subclassed once, on the first exchange
    HWND h = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(h)) AfxThrowNotSupportedException();
}

static CString WindowText(HWND h)
{
    CString s;
    int n = ::GetWindowTextLengthA(h);
    ::GetWindowTextA(h, s.GetBuffer(n + 1), n + 1);
    s.ReleaseBuffer();
    return s;
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) value = WindowText(h);
    else ::SetWindowTextA(h, value);
}

static bool ParseLong(const char* text, long long& out)
{
    while (*text == ' ' || *text == '\t') ++text;
    if (!*text) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(text, &end, 10);
    while (*end == ' ' || *end == '\t') ++end;
    return errno == 0 && *end == '\0';
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        long long v;
        if (!ParseLong(WindowText(h), v) || v < INT_MIN || v > INT_MAX) dx->Fail();
        value = (int)v;
    } else {
        char buf[32];
        wsprintfA(buf, "%d", value);
        ::SetWindowTextA(h, buf);
    }
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    HWND h = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        long long v;
        if (!ParseLong(WindowText(h), v) || v < 0 || v > (long long)UINT_MAX) dx->Fail();
        value = (UINT)v;
    } else {
        char buf[32];
        wsprintfA(buf, "%u", value);
        ::SetWindowTextA(h, buf);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) value = (int)::SendMessageA(h, BM_GETCHECK, 0, 0);
    else ::SendMessageA(h, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (HWND cur = h; cur; cur = ::GetWindow(cur, GW_HWNDNEXT)) {
        if (cur != h && (::GetWindowLongPtrA(cur, GWL_STYLE) & WS_GROUP)) break;  // next group starts
        if (!(::SendMessageA(cur, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageA(cur, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(cur, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) index = (int)::SendMessageA(h, CB_GETCURSEL, 0, 0);
    else ::SendMessageA(h, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = WindowText(h);
    } else if (::SendMessageA(h, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == CB_ERR) {
        ::SetWindowTextA(h, value);
    }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index)
{
    HWND h = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) index = (int)::SendMessageA(h, LB_GETCURSEL, 0, 0);
    else ::SendMessageA(h, LB_SETCURSEL, (WPARAM)index, 0);
}

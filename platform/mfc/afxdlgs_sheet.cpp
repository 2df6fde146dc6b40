// Property sheets and pages.
#include "afxdlgs.h"
#include "afx_log.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

// The system creates the sheet and its pages itself, so their objects are attached by
// a one-shot creation hook: armed just before the system makes the window (the sheet
// around PropertySheet, a page in its PSPCB_CREATE callback), it attaches the first
// dialog window that matches and removes itself. Per thread, touched only by it.
struct PendingAttach {
    CWnd* wnd = nullptr;
    HWND parent = nullptr;  // a page's sheet; null for a sheet (a top-level window)
    HHOOK hook = nullptr;
};
thread_local PendingAttach t_pending;

bool IsDialogClass(LPCSTR cls)
{
    if (IS_INTRESOURCE(cls)) return (UINT_PTR)cls == 32770;
    return ::lstrcmpA(cls, "#32770") == 0;
}

void Unhook()
{
    if (t_pending.hook) ::UnhookWindowsHookEx(t_pending.hook);
    t_pending.hook = nullptr;
}

LRESULT CALLBACK AttachHook(int code, WPARAM wParam, LPARAM lParam)
{
    PendingAttach& p = t_pending;
    HHOOK self = p.hook;
    if (code == HCBT_CREATEWND && p.wnd) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        bool child = (cs->style & WS_CHILD) != 0;
        bool match = IsDialogClass(cs->lpszClass) && (p.parent ? child && cs->hwndParent == p.parent : !child);
        if (match) {
            CWnd* w = p.wnd;
            p.wnd = nullptr;
            Unhook();
            try {
                w->SubclassWindow((HWND)wParam);
            } catch (...) {
                AfxFirewallCaughtCurrent("property sheet creation hook", WM_NCCREATE);
            }
        }
    }
    return ::CallNextHookEx(self, code, wParam, lParam);
}

void ArmAttach(CWnd* w, HWND parent)
{
    t_pending.wnd = w;
    t_pending.parent = parent;
    if (!t_pending.hook) t_pending.hook = ::SetWindowsHookExA(WH_CBT, &AttachHook, nullptr, ::GetCurrentThreadId());
}

void DisarmAttach(CWnd* w)
{
    if (t_pending.wnd != w) return;
    t_pending.wnd = nullptr;
    Unhook();
}

// Asks the sheet to put its tab back on the current page: posted when a tab change
// may have been refused, since Wine's tab control moves on keys even then.
const UINT kSyncTabMessage = ::RegisterWindowMessageA("TrvmfcPropertySheetSyncTab");

bool IsSheetNotification(UINT code) { return (int)code <= (int)PSN_FIRST && (int)code >= (int)PSN_LAST; }

}  // namespace

// ---- pages

CPropertyPage::CPropertyPage() { CommonConstruct(nullptr, 0); }

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) { CommonConstruct(MAKEINTRESOURCEA(templateId), captionId); }

CPropertyPage::CPropertyPage(LPCSTR templateName, UINT captionId) { CommonConstruct(templateName, captionId); }

void CPropertyPage::Construct(UINT templateId, UINT captionId) { CommonConstruct(MAKEINTRESOURCEA(templateId), captionId); }

void CPropertyPage::Construct(LPCSTR templateName, UINT captionId) { CommonConstruct(templateName, captionId); }

void CPropertyPage::CommonConstruct(LPCSTR templateName, UINT captionId)
{
    m_lpszTemplateName = templateName;
    m_psp = {};
    m_psp.dwSize = sizeof(m_psp);
    m_psp.pszTemplate = templateName;
    m_strCaption.Empty();
    if (captionId) m_strCaption.LoadString(captionId);
}

void CPropertyPage::PrepareForSheet()
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.pszTemplate = m_lpszTemplateName;
    if (!(m_psp.dwFlags & PSP_DLGINDIRECT))
        m_psp.hInstance = AfxFindResourceHandle(m_lpszTemplateName, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (!m_strCaption.IsEmpty()) {
        m_psp.pszTitle = m_strCaption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
    m_psp.dwFlags |= PSP_USECALLBACK;
    m_psp.pfnCallback = &PageCallback;
    m_psp.pfnDlgProc = &PageDlgProc;
    m_psp.lParam = (LPARAM)this;
    m_bFirstSetActive = TRUE;
}

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT message, LPPROPSHEETPAGEA psp)
{
    auto* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
    // Called right before the system makes the page's window, a child of the sheet.
    if (message == PSPCB_CREATE && page && page->m_pSheet && page->m_pSheet->m_hWnd)
        ArmAttach(page, page->m_pSheet->m_hWnd);
    return 1;
}

// Everything reaches the page through the layer's procedure first. Should the hook
// have missed the window, the page is attached at WM_INITDIALOG.
INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG || CWnd::FromHandlePermanent(hwnd)) return FALSE;
    auto* page = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
    DisarmAttach(page);
    try {
        if (page && page->SubclassWindow(hwnd)) return page->OnInitDialog();
    } catch (...) {
        AfxFirewallCaughtCurrent("property page", message);
    }
    return FALSE;
}

void CPropertyPage::SetModified(BOOL changed)
{
    HWND sheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    if (sheet) ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam)
{
    HWND sheet = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    return sheet ? ::SendMessageA(sheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive()
{
    // The first activation follows OnInitDialog, which has filled the controls.
    if (m_bFirstSetActive) m_bFirstSetActive = FALSE;
    else UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() { OnCancel(); }
BOOL CPropertyPage::OnQueryCancel() { return TRUE; }
LRESULT CPropertyPage::OnWizardBack() { return 0; }
LRESULT CPropertyPage::OnWizardNext() { return 0; }
BOOL CPropertyPage::OnWizardFinish() { return TRUE; }

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!IsSheetNotification(nm->code) || nm->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, result);
    switch (nm->code) {
    case PSN_SETACTIVE: *result = OnSetActive() ? 0 : -1; break;
    case PSN_KILLACTIVE: *result = OnKillActive() ? FALSE : TRUE; break;
    case PSN_APPLY: *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; break;
    case PSN_RESET: OnReset(); *result = 0; break;
    case PSN_QUERYCANCEL: *result = OnQueryCancel() ? FALSE : TRUE; break;
    case PSN_WIZNEXT: *result = OnWizardNext(); break;
    case PSN_WIZBACK: *result = OnWizardBack(); break;
    case PSN_WIZFINISH: *result = OnWizardFinish() ? FALSE : TRUE; break;
    default: return CDialog::OnNotify(wParam, lParam, result);
    }
    return TRUE;
}

BOOL CPropertyPage::PreTranslateMessage(MSG* msg) { return CWnd::PreTranslateMessage(msg); }

// ---- sheets

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_REGISTERED_MESSAGE(kSyncTabMessage, OnSyncTab)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet() { CommonConstruct(nullptr, 0); }

CPropertySheet::CPropertySheet(LPCSTR caption, CWnd* parent, UINT selectPage)
{
    CommonConstruct(parent, selectPage);
    m_strCaption = caption;
}

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
{
    CommonConstruct(parent, selectPage);
    m_strCaption.LoadString(captionId);
}

void CPropertySheet::Construct(LPCSTR caption, CWnd* parent, UINT selectPage)
{
    CommonConstruct(parent, selectPage);
    m_strCaption = caption;
}

void CPropertySheet::Construct(UINT captionId, CWnd* parent, UINT selectPage)
{
    CommonConstruct(parent, selectPage);
    m_strCaption.LoadString(captionId);
}

void CPropertySheet::CommonConstruct(CWnd* parent, UINT selectPage)
{
    m_psh = {};
    m_psh.dwSize = sizeof(m_psh);
    m_psh.nStartPage = selectPage;
    m_pParentWnd = parent;
}

CPropertySheet::~CPropertySheet()
{
    for (CPropertyPage* page : m_pages)
        if (page->m_pSheet == this) page->m_pSheet = nullptr;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    m_pages.push_back(page);
    page->m_pSheet = this;
    if (!m_hWnd) return;
    page->PrepareForSheet();
    HPROPSHEETPAGE h = ::CreatePropertySheetPageA(&page->m_psp);
    if (!h || !SendMessage(PSM_ADDPAGE, 0, (LPARAM)h)) {
        if (h) ::DestroyPropertySheetPage(h);
        m_pages.pop_back();
        page->m_pSheet = nullptr;
    }
}

void CPropertySheet::RemovePage(CPropertyPage* page)
{
    int index = GetPageIndex(page);
    if (index >= 0) RemovePage(index);
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount()) return;
    if (m_hWnd) SendMessage(PSM_REMOVEPAGE, index);
    m_pages[index]->m_pSheet = nullptr;
    m_pages.erase(m_pages.begin() + index);
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[index] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* page) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_pages[i] == page) return i;
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd) return (int)m_psh.nStartPage;
    HWND page = (HWND)SendMessage(PSM_GETCURRENTPAGEHWND);
    return page ? (int)SendMessage(PSM_HWNDTOINDEX, (WPARAM)page) : -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(GetActiveIndex()); }

BOOL CPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= GetPageCount()) return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = index;
        return TRUE;
    }
    SendMessage(PSM_SETCURSEL, index);
    SyncTabToActivePage();
    return GetActiveIndex() == index;
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return reinterpret_cast<CTabCtrl*>(CWnd::FromHandle((HWND)SendMessage(PSM_GETTABCONTROL)));
}

void CPropertySheet::SetTitle(LPCSTR text, UINT style)
{
    if (m_hWnd) {
        SendMessage(PSM_SETTITLEA, style, (LPARAM)text);
        return;
    }
    m_strCaption = text;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (style & PSH_PROPTITLE);
}

HWND CPropertySheet::OwnerWindow() const
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        owner = main ? main->m_hWnd : nullptr;
    }
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}

HWND CPropertySheet::CreateSheet(HWND owner, BOOL modal)
{
    m_bModeless = !modal;
    m_pageHeaders.clear();
    for (CPropertyPage* page : m_pages) {
        page->m_pSheet = this;
        page->PrepareForSheet();
        m_pageHeaders.push_back(page->m_psp);
    }
    PROPSHEETHEADERA psh = m_psh;
    psh.dwSize = sizeof(psh);
    psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    psh.hwndParent = owner;
    if (!psh.hInstance) psh.hInstance = AfxGetResourceHandle();
    psh.pszCaption = m_strCaption;
    psh.nPages = (UINT)m_pageHeaders.size();
    psh.ppsp = m_pageHeaders.data();
    if (psh.nStartPage >= psh.nPages) psh.nStartPage = 0;

    ArmAttach(this, nullptr);
    HWND h = (HWND)::PropertySheetA(&psh);
    DisarmAttach(this);
    if (!h || h == (HWND)-1 || !::IsWindow(h)) {
        AfxLogFailure("PropertySheet failed for \"%s\": error %lu", (LPCSTR)m_strCaption, ::GetLastError());
        return nullptr;
    }
    if (m_hWnd != h) {  // the hook missed it: attach late rather than not at all
        AfxLogFailure("property sheet \"%s\" attached after its creation", (LPCSTR)m_strCaption);
        SubclassWindow(h);
    }
    return h;
}

INT_PTR CPropertySheet::DoModal()
{
    HWND owner = OwnerWindow();
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner) ::EnableWindow(owner, FALSE);
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;  // EndDialog during OnInitDialog ends it before the loop
    HWND h = CreateSheet(owner, TRUE);
    if (h) {
        if (m_nFlags & WF_CONTINUEMODAL) RunModalLoop(MLF_SHOWONIDLE);
        if (::IsWindow(h))
            ::SetWindowPos(h, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_nFlags &= ~WF_CONTINUEMODAL;
    // The owner comes back before the sheet goes, so activation returns to it.
    if (disabledOwner) ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == h) ::SetActiveWindow(owner);
    if (h && ::IsWindow(h)) ::DestroyWindow(h);
    return m_nModalResult;
}

BOOL CPropertySheet::Create(CWnd* parent)
{
    if (parent) m_pParentWnd = parent;
    return CreateSheet(OwnerWindow(), FALSE) != nullptr;
}

void CPropertySheet::EndDialog(int code)
{
    m_nModalResult = code;
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL)) EndModalLoop(code);
    else if (m_bModeless && m_hWnd) DestroyWindow();
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal()) return FALSE;
    // The system closed the sheet (OK, Cancel, Finish): it has no current page now.
    if (m_hWnd && !SendMessage(PSM_GETCURRENTPAGEHWND)) {
        bool accepted = SendMessage(PSM_GETRESULT) > 0;
        bool wizard = (m_psh.dwFlags & (PSH_WIZARD | PSH_WIZARD97 | PSH_WIZARD_LITE)) != 0;
        m_nModalResult = accepted ? (wizard ? ID_WIZFINISH : IDOK) : IDCANCEL;
        return FALSE;
    }
    return TRUE;
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CPropertySheet::OnInitDialog()
{
    // The system's own set-up: tab control, buttons, the first page.
    return (BOOL)Default();
}

BOOL CPropertySheet::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg)) return TRUE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
    if (!key && !mouse) return FALSE;
    return (BOOL)SendMessage(PSM_ISDIALOGMESSAGE, 0, (LPARAM)msg);
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm->code == (UINT)TCN_SELCHANGING && nm->hwndFrom == (HWND)SendMessage(PSM_GETTABCONTROL))
        PostMessage(kSyncTabMessage);
    return CWnd::OnNotify(wParam, lParam, result);
}

LRESULT CPropertySheet::OnSyncTab(WPARAM, LPARAM)
{
    SyncTabToActivePage();
    return 0;
}

void CPropertySheet::SyncTabToActivePage()
{
    HWND tab = (HWND)SendMessage(PSM_GETTABCONTROL);
    int index = GetActiveIndex();
    if (tab && index >= 0 && (int)::SendMessageA(tab, TCM_GETCURSEL, 0, 0) != index)
        ::SendMessageA(tab, TCM_SETCURSEL, index, 0);  // selects without notifying
}

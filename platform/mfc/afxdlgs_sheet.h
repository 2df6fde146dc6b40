// Property sheets, wizards and their pages over the system's property sheet control.
//
// The sheet and each page are attached to their windows at creation (a creation hook),
// so their maps see every message before the system's sheet and page procedures: the
// sheet's map gets the buttons' WM_COMMAND (1, 2, 12321, 12323-12325 and any button a
// sheet adds), DM_SETDEFID, WM_DESTROY and the tab control's WM_NOTIFY first and may
// consume them; what it leaves goes on to the system. A page is a CDialog whose PSN_
// notifications become its virtual members (OnSetActive, OnKillActive, OnApply...).
//
// DoModal makes a modeless sheet, disables the owner and runs the layer's modal loop
// until EndDialog is called or the system closes the sheet (OK, Cancel, Finish: its
// current page becomes null), then destroys it and answers the EndDialog code, or IDOK
// (ID_WIZFINISH for wizards) / IDCANCEL as the system closed it.
//
// Pages are the caller's objects, added before or while the sheet runs, and must
// outlive it. GUI thread only.
#pragma once
#include "afxcmn.h"
#include <prsht.h>
#include <vector>

class CPropertySheet;

// Button ids of the sheet, and its tab control (guarded: the frame headers name the
// standard ids too).
#ifndef ID_APPLY_NOW
#define ID_APPLY_NOW 0x3021  // 12321
#endif
#ifndef ID_WIZBACK
#define ID_WIZBACK 0x3023  // 12323
#endif
#ifndef ID_WIZNEXT
#define ID_WIZNEXT 0x3024  // 12324
#endif
#ifndef ID_WIZFINISH
#define ID_WIZFINISH 0x3025  // 12325
#endif
#ifndef AFX_IDC_TAB_CONTROL
#define AFX_IDC_TAB_CONTROL 0x3020  // 12320
#endif

class TRVMFC_API CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    PROPSHEETPAGEA m_psp;

    CPropertyPage();
    // The caption is the template's unless a string id is given.
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);
    explicit CPropertyPage(LPCSTR templateName, UINT captionId = 0);
    void Construct(UINT templateId, UINT captionId = 0);
    void Construct(LPCSTR templateName, UINT captionId = 0);

    // Tells the sheet this page has (or no longer has) unsaved changes: Apply follows.
    void SetModified(BOOL changed = TRUE);
    // Sends PSM_QUERYSIBLINGS through the sheet; the first non-zero answer.
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

    // Notifications from the sheet. Defaults: OnSetActive refreshes the controls from
    // the data (after the first activation) and allows; OnKillActive saves them
    // (UpdateData(TRUE)); FALSE keeps the page. OnApply calls OnOK and allows; OnReset
    // calls OnCancel; OnQueryCancel allows. OnWizardBack/Next: 0 goes on, -1 stays, a
    // template id jumps there. OnWizardFinish: FALSE keeps the wizard open.
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();
    // Pages never end a dialog: the sheet does.
    void OnOK() override {}
    void OnCancel() override {}

    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The sheet handles the dialog keys of its pages.
    BOOL PreTranslateMessage(MSG* msg) override;

    // Layer internals: the sheet holding the page, and the page's set-up for it.
    CPropertySheet* m_pSheet = nullptr;
    void PrepareForSheet();

protected:
    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;
    static UINT CALLBACK PageCallback(HWND hwnd, UINT message, LPPROPSHEETPAGEA psp);
    static INT_PTR CALLBACK PageDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void CommonConstruct(LPCSTR templateName, UINT captionId);
};

class TRVMFC_API CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    PROPSHEETHEADERA m_psh;  // dwFlags may take PSH_WIZARD97, PSH_NOAPPLYNOW...

    CPropertySheet();
    explicit CPropertySheet(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;
    void Construct(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);
    void Construct(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);

    // Pages in tab order.
    void AddPage(CPropertyPage* page);
    void RemovePage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return (int)m_pages.size(); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Before creation it picks the first page; after, it asks the sheet, which asks the
    // current page to let go (FALSE when it refuses; the tab stays on it).
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page);
    CTabCtrl* GetTabControl() const;
    void SetTitle(LPCSTR text, UINT style = 0);

    INT_PTR DoModal();
    // A modeless sheet; the caller destroys it once GetActivePage is null.
    BOOL Create(CWnd* parent = nullptr);
    // Ends a modal run with code (a modeless sheet is destroyed).
    void EndDialog(int code);

    // Wizard buttons (PSWIZB_BACK, PSWIZB_NEXT, PSWIZB_FINISH, PSWIZB_DISABLEDFINISH).
    void SetWizardButtons(DWORD flags) { SendMessage(PSM_SETWIZBUTTONS, 0, flags); }
    void SetFinishText(LPCSTR text) { SendMessage(PSM_SETFINISHTEXTA, 0, (LPARAM)text); }
    // Presses a button (PSBTN_...) as the system does, after the current message.
    void PressButton(int button) { PostMessage(PSM_PRESSBUTTON, button); }

    // Runs after the system has set the sheet up (tab control, buttons, first page).
    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL ContinueModal() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_pageHeaders;  // handed to the system at creation
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;
    BOOL m_bModeless = FALSE;
    void CommonConstruct(CWnd* parent, UINT selectPage);
    HWND OwnerWindow() const;
    HWND CreateSheet(HWND owner, BOOL modal);
    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
    afx_msg LRESULT OnSyncTab(WPARAM, LPARAM);
    void SyncTabToActivePage();
    DECLARE_MESSAGE_MAP()
};

// Property sheets and wizards run modally under Wine, driven from inside their own
// loop by a script of posted steps (buttons clicked with BM_CLICK): the end codes 1, 2,
// 1104, 12321 and 12325; the sheet's map seeing button commands, DM_SETDEFID, a
// broadcast message and WM_DESTROY first; pages attached before their WM_CREATE with
// the sheet as parent; PSN_ notifications as page members, including refusals; a
// refused page change leaving both page and tab where they were.
#include "afxdlgs.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "wtest.h"

namespace {

enum : UINT { kDrive = WM_USER + 50, kDisconnect = WM_USER + 13, kScanNow = 624 };

using Log = std::vector<std::string>;

std::string Joined(const Log& log)
{
    std::string s;
    for (const std::string& e : log) s += (s.empty() ? "" : " ") + e;
    return s;
}

class CProbePage : public CPropertyPage {
public:
    Log* log = nullptr;
    std::string name;
    bool refuseKill = false;
    bool refuseCancel = false;
    int stayOnNext = 0;  // times OnWizardNext keeps the page
    bool allowFinish = true;
    DWORD wizardButtons = 0;  // set by OnSetActive when not 0
    bool attachedAtCreate = false;
    bool parentIsSheetAtInit = false;
    int initCount = 0;
    CString text = "start";

    CProbePage(UINT id, const char* n, Log* l) : CPropertyPage(id), log(l), name(n) {}

    void Note(const char* what) { log->push_back(name + ":" + what); }

    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, 1001, text); }

    afx_msg int OnCreate(LPCREATESTRUCTA cs)
    {
        attachedAtCreate = FromHandlePermanent(m_hWnd) == this;
        return CPropertyPage::OnCreate(cs);
    }

    BOOL OnInitDialog() override
    {
        ++initCount;
        parentIsSheetAtInit = m_pSheet && GetParent() == m_pSheet;
        return CPropertyPage::OnInitDialog();
    }

    BOOL OnSetActive() override
    {
        Note("set");
        if (wizardButtons) static_cast<CPropertySheet*>(GetParent())->SetWizardButtons(wizardButtons);
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        Note("kill");
        return refuseKill ? FALSE : CPropertyPage::OnKillActive();
    }
    BOOL OnApply() override
    {
        Note("apply");
        return CPropertyPage::OnApply();
    }
    void OnReset() override { Note("reset"); }
    BOOL OnQueryCancel() override
    {
        Note("querycancel");
        return !refuseCancel;
    }
    LRESULT OnWizardNext() override
    {
        Note("next");
        if (stayOnNext > 0) {
            --stayOnNext;
            return -1;
        }
        return 0;
    }
    LRESULT OnWizardBack() override
    {
        Note("back");
        return 0;
    }
    BOOL OnWizardFinish() override
    {
        Note("finish");
        return allowFinish;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbePage, CPropertyPage)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class CProbeSheet;
using Step = std::function<void(CProbeSheet&)>;

class CProbeSheet : public CPropertySheet {
public:
    Log log;
    std::vector<Step> steps;
    bool applyEndsWith1104 = false;
    bool addScanNow = false;
    int connection = 7;
    bool attachedAtCreate = false;
    int tabItemsAtInit = -1;
    bool pagesAliveAtDestroy = false;
    std::vector<WPARAM> defIds;
    CButton scanNow;

    CProbeSheet(CWnd* owner) : CPropertySheet("Probe sheet", owner) {}

    afx_msg int OnCreate(LPCREATESTRUCTA cs)
    {
        attachedAtCreate = FromHandlePermanent(m_hWnd) == this;
        return CPropertySheet::OnCreate(cs);
    }

    BOOL OnInitDialog() override
    {
        BOOL r = CPropertySheet::OnInitDialog();  // the system's set-up first
        tabItemsAtInit = GetTabControl() ? GetTabControl()->GetItemCount() : -1;
        if (addScanNow) {
            CRect cancel;
            ::GetWindowRect(::GetDlgItem(m_hWnd, IDCANCEL), &cancel);
            ScreenToClient(&cancel);
            cancel.OffsetRect(-cancel.Width() - 3, 0);
            scanNow.Create("Scan Now", WS_CHILD | WS_VISIBLE | WS_TABSTOP, cancel, this, kScanNow);
        }
        if (!steps.empty()) PostMessage(kDrive, 0);
        return r;
    }

    afx_msg LRESULT OnDrive(WPARAM step, LPARAM)
    {
        steps[step](*this);
        if (step + 1 < steps.size()) PostMessage(kDrive, step + 1);
        return 0;
    }

    afx_msg void OnApplyNow()
    {
        log.push_back("sheet:applynow");
        if (applyEndsWith1104) EndDialog(1104);
        else Default();  // the system applies
    }

    afx_msg void OnScanNowClicked() { EndDialog(ID_APPLY_NOW); }

    afx_msg LRESULT OnSetDefId(WPARAM id, LPARAM)
    {
        defIds.push_back(id);
        return Default();
    }

    afx_msg LRESULT OnDisconnectBroadcast(WPARAM id, LPARAM)
    {
        if ((int)id == connection) EndDialog(IDCANCEL);
        return 0;
    }

    afx_msg void OnDestroy()
    {
        pagesAliveAtDestroy = GetPage(0) && GetPage(0)->m_hWnd && ::IsWindow(GetPage(0)->m_hWnd);
        CPropertySheet::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeSheet, CPropertySheet)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(kDrive, OnDrive)
    ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
    ON_COMMAND(kScanNow, OnScanNowClicked)
    ON_MESSAGE(DM_SETDEFID, OnSetDefId)
    ON_MESSAGE(kDisconnect, OnDisconnectBroadcast)
END_MESSAGE_MAP()

class COwner : public CWnd {
public:
    BOOL Make() { return CreateEx(0, nullptr, "owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0); }
};

void Click(CProbeSheet& sheet, int id)
{
    HWND button = ::GetDlgItem(sheet.m_hWnd, id);
    if (!button) wtest::fail(__FILE__, __LINE__, "no button " + std::to_string(id));
    ::SendMessageA(button, BM_CLICK, 0, 0);
}

int ActivePageTab(CProbeSheet& sheet) { return sheet.GetTabControl()->GetCurSel(); }

struct Pages {
    CProbePage first, second, third;
    explicit Pages(Log* log) : first(300, "p0", log), second(301, "p1", log), third(302, "p2", log) {}
    void AddTo(CPropertySheet& sheet)
    {
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.AddPage(&third);
    }
};

}  // namespace

WTEST(modal_sheets_end_with_each_code)
{
    struct Case {
        const char* what;
        INT_PTR expected;
        std::function<void(CProbeSheet&, Pages&)> setUp;
        std::vector<Step> steps;
    };
    std::vector<Case> cases = {
        {"OK applies the created pages", IDOK, nullptr,
         {[](CProbeSheet& s) {
             s.GetPage(0)->SetDlgItemText(1001, "typed");
             Click(s, IDOK);
         }}},
        {"Cancel asks and resets", IDCANCEL, nullptr, {[](CProbeSheet& s) { Click(s, IDCANCEL); }}},
        {"the sheet's Apply handler ends with 1104", 1104,
         [](CProbeSheet& s, Pages&) { s.applyEndsWith1104 = true; },
         {[](CProbeSheet& s) {
             s.GetPage(0)->SetModified(TRUE);  // enables Apply
             Click(s, ID_APPLY_NOW);
         }}},
        {"an added button ends with 12321", ID_APPLY_NOW, [](CProbeSheet& s, Pages&) { s.addScanNow = true; },
         {[](CProbeSheet& s) { Click(s, kScanNow); }}},
        {"Enter in a page's edit presses the default button", IDOK, nullptr,
         {[](CProbeSheet& s) { ::PostMessageA(::GetDlgItem(s.GetPage(0)->m_hWnd, 1001), WM_KEYDOWN, VK_RETURN, 1); }}},
        {"Esc in a page's edit cancels", IDCANCEL, nullptr,
         {[](CProbeSheet& s) { ::PostMessageA(::GetDlgItem(s.GetPage(0)->m_hWnd, 1001), WM_KEYDOWN, VK_ESCAPE, 1); }}},
        {"PressButton bypasses the command and ends with OK", IDOK, nullptr,
         {[](CProbeSheet& s) { s.PressButton(PSBTN_OK); }}},
        {"a broadcast for another connection leaves it open", IDOK, nullptr,
         {[](CProbeSheet& s) { s.SendMessage(kDisconnect, 99); }, [](CProbeSheet& s) { Click(s, IDOK); }}},
        {"the broadcast for its connection ends with Cancel", IDCANCEL, nullptr,
         {[](CProbeSheet& s) { s.SendMessage(kDisconnect, 7); }}},
        {"a refused cancel keeps the sheet", IDOK, [](CProbeSheet&, Pages& p) { p.first.refuseCancel = true; },
         {[](CProbeSheet& s) { Click(s, IDCANCEL); }, [](CProbeSheet& s) { Click(s, IDOK); }}},
    };
    COwner owner;
    WCHECK(owner.Make());
    for (const Case& c : cases) {
        Log pageLog;
        Pages pages(&pageLog);
        CProbeSheet sheet(&owner);
        pages.AddTo(sheet);
        if (c.setUp) c.setUp(sheet, pages);
        sheet.steps = c.steps;
        bool ownerDisabled = false;
        sheet.steps.insert(sheet.steps.begin(), [&](CProbeSheet&) { ownerDisabled = !owner.IsWindowEnabled(); });
        INT_PTR result = sheet.DoModal();
        std::string what = std::string(c.what) + ": ";
        if (result != c.expected) wtest::fail(__FILE__, __LINE__, what + "ended with " + std::to_string(result));
        WCHECK(sheet.attachedAtCreate);
        WCHECK(pages.first.attachedAtCreate);
        WCHECK(pages.first.parentIsSheetAtInit);
        WCHECK_EQ(pages.first.initCount, 1);
        WCHECK_EQ(sheet.tabItemsAtInit, 3);
        WCHECK(sheet.pagesAliveAtDestroy);
        WCHECK(sheet.m_hWnd == nullptr && pages.first.m_hWnd == nullptr);
        WCHECK(ownerDisabled);
        WCHECK(owner.IsWindowEnabled());
        if (c.expected == IDOK && std::string(c.what).find("OK applies") == 0) {
            WCHECK_EQ(Joined(pageLog), std::string("p0:set p0:kill p0:apply"));
            WCHECK_EQ(std::string(pages.first.text), std::string("typed"));
        }
        if (c.expected == IDCANCEL && std::string(c.what).find("Cancel asks") == 0)
            WCHECK_EQ(Joined(pageLog), std::string("p0:set p0:querycancel p0:reset"));
        if (std::string(c.what).find("refused cancel") == 0)
            WCHECK_EQ(Joined(pageLog), std::string("p0:set p0:querycancel p0:kill p0:apply"));
    }
}

WTEST(apply_follows_modified_pages)
{
    COwner owner;
    WCHECK(owner.Make());
    Log pageLog;
    Pages pages(&pageLog);
    CProbeSheet sheet(&owner);
    pages.AddTo(sheet);
    bool disabledAtStart = false, enabledWhenModified = false, disabledWhenUnmodified = false;
    sheet.steps = {[&](CProbeSheet& s) {
                       HWND apply = ::GetDlgItem(s.m_hWnd, ID_APPLY_NOW);
                       disabledAtStart = !::IsWindowEnabled(apply);
                       pages.first.SetModified(TRUE);
                       enabledWhenModified = ::IsWindowEnabled(apply) != FALSE;
                       pages.first.SetModified(FALSE);
                       disabledWhenUnmodified = !::IsWindowEnabled(apply);
                       pages.first.SetModified(TRUE);
                       Click(s, ID_APPLY_NOW);  // the map sees it, then the system applies
                   },
                   [](CProbeSheet& s) { Click(s, IDCANCEL); }};
    WCHECK_EQ(sheet.DoModal(), INT_PTR(IDCANCEL));
    WCHECK(disabledAtStart);
    WCHECK(enabledWhenModified);
    WCHECK(disabledWhenUnmodified);
    WCHECK_EQ(Joined(pageLog), std::string("p0:set p0:kill p0:apply p0:set p0:querycancel p0:reset"));
    WCHECK_EQ(Joined(sheet.log), std::string("sheet:applynow"));
}

WTEST(a_page_refusing_to_leave_keeps_its_page_and_tab)
{
    COwner owner;
    WCHECK(owner.Make());
    Log pageLog;
    Pages pages(&pageLog);
    CProbePage extra(303, "p3", &pageLog);
    CProbeSheet sheet(&owner);
    pages.AddTo(sheet);
    pages.first.refuseKill = true;
    BOOL refusedAnswer = TRUE;
    int pageAfterRefusal = -1, tabAfterRefusal = -1, pageAfterKey = -1, tabAfterKey = -1;
    BOOL acceptedAnswer = FALSE;
    int tabAfterChange = -1, pagesAfterAdd = -1;
    bool extraAttached = false;
    sheet.steps = {
        [&](CProbeSheet& s) {
            refusedAnswer = s.SetActivePage(1);
            pageAfterRefusal = s.GetActiveIndex();
            tabAfterRefusal = ActivePageTab(s);
            // A key on the tab asks the page too; Wine's tab moves on anyway.
            CWnd* tab = s.GetTabControl();
            tab->SetFocus();
            tab->PostMessage(WM_KEYDOWN, VK_RIGHT, 1);
        },
        [&](CProbeSheet&) {},  // the key is handled; the sheet's re-selection is queued after this
        [&](CProbeSheet& s) {
            pageAfterKey = s.GetActiveIndex();
            tabAfterKey = ActivePageTab(s);
            pages.first.refuseKill = false;
            acceptedAnswer = s.SetActivePage(&pages.second);
            tabAfterChange = ActivePageTab(s);
            s.AddPage(&extra);  // while the sheet runs
            pagesAfterAdd = s.GetTabControl()->GetItemCount();
            s.SetActivePage(3);
            extraAttached = s.GetActivePage() == &extra && extra.attachedAtCreate && extra.GetParent() == &s;
            Click(s, IDCANCEL);
        }};
    WCHECK_EQ(sheet.DoModal(), INT_PTR(IDCANCEL));
    WCHECK(!refusedAnswer);
    WCHECK_EQ(pageAfterRefusal, 0);
    WCHECK_EQ(tabAfterRefusal, 0);
    WCHECK_EQ(pageAfterKey, 0);
    WCHECK_EQ(tabAfterKey, 0);
    WCHECK(acceptedAnswer);
    WCHECK_EQ(tabAfterChange, 1);
    WCHECK_EQ(pagesAfterAdd, 4);
    WCHECK(extraAttached);
    WCHECK_EQ(sheet.GetPageCount(), 4);
}

WTEST(wizard_driven_next_back_and_finish)
{
    COwner owner;
    WCHECK(owner.Make());
    Log pageLog;
    Pages pages(&pageLog);
    CProbeSheet sheet(&owner);
    pages.AddTo(sheet);
    sheet.m_psh.dwFlags |= PSH_WIZARD97;
    for (CProbePage* p : {&pages.first, &pages.second, &pages.third}) p->m_psp.dwFlags |= PSP_HIDEHEADER;
    pages.first.wizardButtons = PSWIZB_NEXT;
    pages.second.wizardButtons = PSWIZB_BACK | PSWIZB_NEXT;
    pages.third.wizardButtons = PSWIZB_BACK | PSWIZB_FINISH;
    pages.second.stayOnNext = 1;
    pages.third.allowFinish = false;
    std::vector<int> visited;
    bool backDisabledFirst = false, finishShownLast = false;
    auto note = [&](CProbeSheet& s) { visited.push_back(s.GetActiveIndex()); };
    sheet.steps = {
        [&](CProbeSheet& s) {
            note(s);
            backDisabledFirst = !::IsWindowEnabled(::GetDlgItem(s.m_hWnd, ID_WIZBACK));
            Click(s, ID_WIZNEXT);
        },
        [&](CProbeSheet& s) { note(s); Click(s, ID_WIZNEXT); },  // refused once: stays
        [&](CProbeSheet& s) { note(s); Click(s, ID_WIZNEXT); },
        [&](CProbeSheet& s) { note(s); Click(s, ID_WIZBACK); },
        [&](CProbeSheet& s) { note(s); Click(s, ID_WIZNEXT); },
        [&](CProbeSheet& s) {
            note(s);
            HWND finish = ::GetDlgItem(s.m_hWnd, ID_WIZFINISH);
            finishShownLast = ::IsWindowVisible(finish) && ::IsWindowEnabled(finish);
            Click(s, ID_WIZFINISH);  // refused: the wizard stays
        },
        [&](CProbeSheet& s) {
            note(s);
            pages.third.allowFinish = true;
            Click(s, ID_WIZFINISH);
        }};
    WCHECK_EQ(sheet.DoModal(), INT_PTR(ID_WIZFINISH));
    WCHECK_EQ(visited.size(), size_t(7));
    std::string path;
    for (int v : visited) path += std::to_string(v);
    WCHECK_EQ(path, std::string("0112122"));
    WCHECK(backDisabledFirst);
    WCHECK(finishShownLast);
    WCHECK(!sheet.defIds.empty());  // the sheet's map saw the default button move
    WCHECK_EQ(Joined(pageLog), std::string("p0:set p0:next p0:kill p1:set p1:next p1:next p1:kill p2:set "
                                           "p2:back p2:kill p1:set p1:next p1:kill p2:set p2:finish p2:finish"));
}

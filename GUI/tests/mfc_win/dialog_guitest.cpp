// Dialogs from a resource script: attachment before WM_CREATE, one OnInitDialog after
// the controls exist, modal loops ended by EndDialog codes, modeless dialogs that
// delete themselves, and data exchange both ways with validation failures.
#include "afxwin.h"

#include <string>

#include "wtest.h"

namespace {

enum : UINT { kDriveMessage = WM_USER + 50, kTemplate = 100 };

class CCountingEdit : public CEdit {
public:
    int presubclassed = 0;
    void PreSubclassWindow() override { ++presubclassed; }
};

class CProbeDlg : public CDialog {
public:
    // What the test script does once the modal loop runs.
    enum class Script { kNone, kTypeAndOk, kBadNumberThenCancel, kEndWith1104 };
    Script script = Script::kNone;
    bool attachedAtCreate = false;
    bool controlsAtCreate = true;
    int initCount = 0;
    bool controlsAtInit = false;
    int okFailures = 0;

    CCountingEdit edit;
    CString text = "start";
    int check = 1;
    int radio = 1;
    int number = 12;
    int comboIndex = -1;

    CProbeDlg() : CDialog(kTemplate) {}

    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, 1001, edit);
        DDX_Text(dx, 1001, text);
        DDX_Check(dx, 1002, check);
        DDX_Radio(dx, 1003, radio);
        DDX_Text(dx, 1006, number);
        DDX_CBIndex(dx, 1005, comboIndex);
    }

    int OnCreate(LPCREATESTRUCTA cs)
    {
        attachedAtCreate = FromHandlePermanent(m_hWnd) == this;
        controlsAtCreate = ::GetDlgItem(m_hWnd, 1001) != nullptr;
        return CDialog::OnCreate(cs);
    }

    BOOL OnInitDialog() override
    {
        ++initCount;
        controlsAtInit = ::GetDlgItem(m_hWnd, 1001) != nullptr;
        CComboBox* combo = reinterpret_cast<CComboBox*>(GetDlgItem(1005));
        combo->AddString("a");
        combo->AddString("b");
        CDialog::OnInitDialog();
        if (script != Script::kNone) PostMessage(kDriveMessage);
        return TRUE;
    }

    void OnOK() override
    {
        if (!UpdateData(TRUE)) {
            ++okFailures;
            return;
        }
        EndDialog(IDOK);
    }

    void OnNotifyProbe(NMHDR*, LRESULT* r) { *r = 99; }

    LRESULT OnDrive(WPARAM, LPARAM)
    {
        switch (script) {
        case Script::kTypeAndOk:
            SetDlgItemText(1001, "typed");
            CheckDlgButton(1002, BST_UNCHECKED);
            CheckRadioButton(1003, 1004, 1003);
            SetDlgItemText(1006, " -45 ");
            SendDlgItemMessage(1005, CB_SETCURSEL, 1);
            ::SendMessageA(::GetDlgItem(m_hWnd, IDOK), BM_CLICK, 0, 0);
            break;
        case Script::kBadNumberThenCancel:
            SetDlgItemText(1006, "12x");
            ::SendMessageA(::GetDlgItem(m_hWnd, IDOK), BM_CLICK, 0, 0);  // refused: stays open
            ::SendMessageA(::GetDlgItem(m_hWnd, IDCANCEL), BM_CLICK, 0, 0);
            break;
        case Script::kEndWith1104: EndDialog(1104); break;
        case Script::kNone: break;
        }
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
    ON_WM_CREATE()
    ON_MESSAGE(kDriveMessage, OnDrive)
    ON_NOTIFY(NM_CLICK, 1, OnNotifyProbe)
END_MESSAGE_MAP()

}  // namespace

WTEST(modal_dialogs_end_with_their_codes_and_exchange_data)
{
    CProbeDlg ok;
    ok.script = CProbeDlg::Script::kTypeAndOk;
    WCHECK_EQ(ok.DoModal(), INT_PTR(IDOK));
    WCHECK(ok.attachedAtCreate);
    WCHECK(!ok.controlsAtCreate);  // WM_CREATE comes before the controls exist
    WCHECK_EQ(ok.initCount, 1);
    WCHECK(ok.controlsAtInit);
    WCHECK_EQ(ok.edit.presubclassed, 1);  // subclassed once over two exchanges
    WCHECK_EQ(std::string(ok.text), std::string("typed"));
    WCHECK_EQ(ok.check, 0);
    WCHECK_EQ(ok.radio, 0);
    WCHECK_EQ(ok.number, -45);
    WCHECK_EQ(ok.comboIndex, 1);
    WCHECK(ok.m_hWnd == nullptr);
    WCHECK(ok.edit.m_hWnd == nullptr);

    CProbeDlg bad;
    bad.script = CProbeDlg::Script::kBadNumberThenCancel;
    WCHECK_EQ(bad.DoModal(), INT_PTR(IDCANCEL));
    WCHECK_EQ(bad.okFailures, 1);
    WCHECK_EQ(bad.number, 12);  // untouched by the failed exchange

    CProbeDlg other;
    other.script = CProbeDlg::Script::kEndWith1104;
    WCHECK_EQ(other.DoModal(), INT_PTR(1104));
}

WTEST(initial_exchange_fills_the_controls)
{
    CProbeDlg dlg;
    WCHECK(dlg.Create(kTemplate));
    CString s;
    dlg.GetDlgItemText(1001, s);
    WCHECK_EQ(std::string(s), std::string("start"));
    WCHECK_EQ(dlg.IsDlgButtonChecked(1002), UINT(BST_CHECKED));
    WCHECK_EQ(dlg.IsDlgButtonChecked(1004), UINT(BST_CHECKED));
    WCHECK_EQ(dlg.IsDlgButtonChecked(1003), UINT(BST_UNCHECKED));
    WCHECK_EQ(dlg.GetDlgItemInt(1006), UINT(12));
    dlg.DestroyWindow();
}

namespace {

int g_modelessDeleted = 0;

class CModeless : public CProbeDlg {
public:
    ~CModeless() override { ++g_modelessDeleted; }
    void PostNcDestroy() override { delete this; }
};

}  // namespace

WTEST(modeless_dialogs_delete_themselves_when_destroyed)
{
    CWnd owner;
    WCHECK(owner.CreateEx(0, nullptr, "owner", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    auto* dlg = new CModeless;
    WCHECK(dlg->Create(kTemplate, &owner));
    HWND h = dlg->m_hWnd;
    WCHECK(::IsWindow(h));
    WCHECK(::GetWindow(h, GW_OWNER) == owner.m_hWnd);
    WCHECK_EQ(dlg->initCount, 1);
    // A WM_NOTIFY answer of the dialog's map is what the sender gets.
    NMHDR nm{nullptr, 1, (UINT)NM_CLICK};
    WCHECK_EQ(::SendMessageA(h, WM_NOTIFY, 1, (LPARAM)&nm), LRESULT(99));
    ::DestroyWindow(h);
    WCHECK_EQ(g_modelessDeleted, 1);
    WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    owner.DestroyWindow();
}

// The themed button in a real dialog, driven by synthetic input: hover and
// press following the mouse, clicks reaching the parent, the split button's
// two parts, the drop-down menu and the command chosen from it, Space and
// Return, mnemonics, WM_CANCELMODE, check and radio toggling, the button's
// own tooltip, and the painted button read back in pixels.
#include <string>
#include <vector>

#include "afxwin.h"
#include "button/ext_button.h"
#include "paint/paint_manager.h"
#include "toolkit/bar_types.h"
#include "wtest.h"

namespace {

enum : UINT {
    kRun = 1001,
    kSplit = 1002,
    kMenu = 1003,
    kCheck = 1004,
    kRadio = 1005,
    kEdit = 1006,
    kFirstItem = 501,
    kSecondItem = 502,
};

// ---- pumping and input

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

// Pumps until done() holds; false when it still does not after a limit far
// above what the work takes (a failure, not a slow run).
template <class Pred>
bool PumpUntil(Pred done, DWORD limitMs = 10000)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending();
        if (done()) return true;
        if (::GetTickCount() - start > limitMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void MouseTo(POINT screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG((screen.x * 65535.0) / (::GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = LONG((screen.y * 65535.0) / (::GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
}

void MouseButton(bool down)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in, sizeof in);
}

void Key(WORD vk, bool down)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &in, sizeof in);
}

// ---- the dialog

// A dialog template in memory: the caption and items given, positions set
// in pixels once the dialog exists.
struct Item {
    UINT id;
    DWORD style;
    const char* cls;  // "BUTTON" or "EDIT"
    const char* text;
    CRect rect;       // client pixels
};

const Item kItems[] = {
    {kRun, BS_PUSHBUTTON | WS_TABSTOP, "BUTTON", "&Run", CRect(10, 10, 100, 34)},
    {kSplit, BS_PUSHBUTTON | WS_TABSTOP, "BUTTON", "Split", CRect(110, 10, 200, 34)},
    {kMenu, BS_PUSHBUTTON | WS_TABSTOP, "BUTTON", "Menu", CRect(210, 10, 300, 34)},
    {kCheck, BS_AUTOCHECKBOX | WS_TABSTOP, "BUTTON", "C&heck", CRect(10, 50, 100, 70)},
    {kRadio, BS_AUTORADIOBUTTON | WS_TABSTOP, "BUTTON", "Radi&o", CRect(110, 50, 200, 70)},
    {kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, "EDIT", "", CRect(210, 50, 300, 70)},
};

void PushText(std::vector<WORD>& t, const char* s)
{
    for (; *s; ++s) t.push_back(WORD(BYTE(*s)));
    t.push_back(0);
}

std::vector<WORD> BuildTemplate()
{
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    dword(WS_POPUP | WS_CAPTION | DS_SETFONT);
    dword(0);
    t.push_back(WORD(std::size(kItems)));
    t.push_back(0), t.push_back(0), t.push_back(200), t.push_back(80);
    t.push_back(0);  // no menu
    t.push_back(0);  // default class
    PushText(t, "Buttons");
    t.push_back(8);
    PushText(t, "MS Shell Dlg");
    for (const Item& item : kItems) {
        if (t.size() % 2 != 0) t.push_back(0);  // DWORD alignment
        dword(WS_CHILD | WS_VISIBLE | item.style);
        dword(0);
        t.push_back(0), t.push_back(0), t.push_back(40), t.push_back(12);
        t.push_back(WORD(item.id));
        PushText(t, item.cls);
        PushText(t, item.text);
        t.push_back(0);  // no creation data
    }
    return t;
}

struct Command {
    UINT id;
    UINT code;
    HWND from;
    bool operator==(const Command& o) const { return id == o.id && code == o.code && from == o.from; }
};

std::ostream& operator<<(std::ostream& s, const Command& c)
{
    return s << "{" << c.id << "," << c.code << "," << static_cast<const void*>(c.from) << "}";
}

std::ostream& operator<<(std::ostream& s, const std::vector<Command>& v)
{
    s << "[";
    for (const Command& c : v) s << c;
    return s << "]";
}

// What the probe does when its drop-down menu waits for input.
enum class MenuScript { kNone, kEscape, kChooseSecond, kEnter };

class CProbeButton : public VEzaButton {
public:
    int menusOpened = 0;
    CRect menuRect;
    MenuScript script = MenuScript::kNone;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            HWND menu = HWND(lParam);
            if (script != MenuScript::kNone && menu != nullptr && ::IsWindowVisible(menu)) {
                ++menusOpened;
                ::GetWindowRect(menu, &menuRect);
                const MenuScript now = script;
                script = MenuScript::kNone;
                if (now == MenuScript::kEscape) {
                    ::PostMessageA(m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
                } else if (now == MenuScript::kChooseSecond) {
                    ::PostMessageA(m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
                    ::PostMessageA(m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
                    ::PostMessageA(m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
                } else {
                    ::PostMessageA(m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
                }
            }
        }
        return VEzaButton::WindowProc(message, wParam, lParam);
    }
};

class CButtonDlg : public CDialog {
public:
    CProbeButton run, split, menu, check, radio;
    std::vector<Command> commands;

    bool Open()
    {
        static const std::vector<WORD> tmpl = BuildTemplate();
        if (!CreateIndirect(reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()))) return false;
        CRect frame(0, 0, 320, 90);
        ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
        SetWindowPos(nullptr, 40, 40, frame.Width(), frame.Height(), SWP_NOZORDER);
        for (const Item& item : kItems) ::MoveWindow(::GetDlgItem(m_hWnd, int(item.id)), item.rect.left,
                                                     item.rect.top, item.rect.Width(), item.rect.Height(), TRUE);
        run.SubclassDlgItem(kRun, this);
        split.SubclassDlgItem(kSplit, this);
        menu.SubclassDlgItem(kMenu, this);
        check.SubclassDlgItem(kCheck, this);
        radio.SubclassDlgItem(kRadio, this);
        for (CMenu* m : {&split.m_menu, &menu.m_menu}) {
            m->CreatePopupMenu();
            m->AppendMenu(MF_STRING, kFirstItem, "First");
            m->AppendMenu(MF_STRING, kSecondItem, "Second");
        }
        split.m_nState |= VEzaButton::STATE_SPLIT;
        ShowWindow(SW_SHOW);
        SetForegroundWindow();
        ::SetFocus(::GetDlgItem(m_hWnd, kEdit));
        return PumpUntil([&] { return ::GetActiveWindow() == m_hWnd && IsWindowVisible(); });
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == kEdit) return TRUE;  // the edit's focus notifications
        commands.push_back({LOWORD(wParam), HIWORD(wParam), HWND(lParam)});
        return TRUE;
    }
};

// The dialog of one test, with the mouse parked outside it first.
struct Fixture {
    CButtonDlg dlg;
    bool ok = false;
    Fixture()
    {
        MouseTo(CPoint(600, 500));
        ok = dlg.Open();
        PumpUntil([] {
            POINT p;
            ::GetCursorPos(&p);
            return p.x == 600 && p.y == 500;
        });
    }
    ~Fixture()
    {
        if (::GetCapture() != nullptr) ::ReleaseCapture();
        dlg.DestroyWindow();
        PumpPending();
    }
};

CPoint ScreenPoint(CWnd& w, CPoint client)
{
    w.ClientToScreen(&client);
    return client;
}

CPoint CentreOf(CWnd& w)
{
    CRect r;
    w.GetClientRect(&r);
    return ScreenPoint(w, r.CenterPoint());
}

BYTE Transient(const VEzaButton& b) { return b.m_nState & VEzaButton::STATE_TRANSIENT; }

// Moves the mouse and waits for the button's state to settle on expected.
bool MoveAndWait(CPoint screen, const VEzaButton& b, BYTE expected)
{
    MouseTo(screen);
    return PumpUntil([&] {
        POINT p;
        ::GetCursorPos(&p);
        return p.x == screen.x && p.y == screen.y && Transient(b) == expected;
    });
}

constexpr BYTE H = VEzaButton::STATE_HOVER, P = VEzaButton::STATE_PUSHED, D = VEzaButton::STATE_HELD,
               K = VEzaButton::STATE_KEY_PRESS;

}  // namespace

WTEST(hover_and_press_follow_the_mouse_and_a_click_reaches_the_parent)
{
    Fixture f;
    WCHECK(f.ok);
    CButtonDlg& dlg = f.dlg;
    const CPoint on = CentreOf(dlg.run), off = ScreenPoint(dlg, CPoint(160, 80));
    // Each step: where the mouse goes or what its button does, then the
    // state the button must reach (in the bits of mask), whether it holds
    // the capture (-1: either) and the clicks sent so far. Right after a
    // release on the button the next move may make it hot again.
    enum Act { kMove, kDown, kUp };
    struct Step {
        Act act;
        CPoint at;
        BYTE state;
        BYTE mask;
        int captured;
        size_t commands;
    };
    const BYTE all = VEzaButton::STATE_TRANSIENT;
    const Step steps[] = {
        {kMove, on, H, all, 1, 0},              // hover: capture to see the mouse leave
        {kMove, off, 0, all, 0, 0},             // left: hover gone, capture released
        {kMove, on, H, all, 1, 0},
        {kDown, on, H | P | D, all, 1, 0},      // pressed
        {kMove, off, D, all, 1, 0},             // held outside: not pushed, still captured
        {kMove, on, H | P | D, all, 1, 0},      // back on it: pushed again
        {kUp, on, 0, P | D, -1, 1},             // released on it: one click
        {kMove, on + CPoint(2, 0), H, all, 1, 1},
        {kDown, on, H | P | D, all, 1, 1},
        {kMove, off, D, all, 1, 1},
        {kUp, off, 0, all, 0, 1},               // released outside: no click
    };
    int index = 0;
    for (const Step& s : steps) {
        bool reached;
        if (s.act == kMove) {
            reached = MoveAndWait(s.at, dlg.run, s.state);
        } else {
            MouseButton(s.act == kDown);
            reached = PumpUntil(
                [&] { return (Transient(dlg.run) & s.mask) == s.state && dlg.commands.size() == s.commands; });
        }
        if (!reached) wtest::fail(__FILE__, __LINE__, "step " + std::to_string(index) + " never reached its state");
        WCHECK_EQ(int(Transient(dlg.run) & s.mask), int(s.state));
        if (s.captured >= 0) WCHECK_EQ(::GetCapture() == dlg.run.m_hWnd, s.captured == 1);
        WCHECK_EQ(dlg.commands.size(), s.commands);
        ++index;
    }
    WCHECK_EQ(dlg.commands, (std::vector<Command>{{kRun, BN_CLICKED, dlg.run.m_hWnd}}));
}

WTEST(split_and_menu_buttons_click_or_open_their_menus)
{
    struct Case {
        const char* what;
        UINT button;
        bool dropDownPart;
        bool commandFromMenu;
        MenuScript script;
        int menusOpened;
        std::vector<Command> (*expected)(HWND button);
        UINT idAfter;
        WORD mnemonic = 0;  // typed with Alt instead of the click
    };
    const Case cases[] = {
        {"split, main part: a click", kSplit, false, false, MenuScript::kEscape, 0,
         [](HWND b) { return std::vector<Command>{{kSplit, BN_CLICKED, b}}; }, kSplit},
        {"split, drop-down part: the menu, its command sent as a menu command", kSplit, true, false,
         MenuScript::kChooseSecond, 1, [](HWND) { return std::vector<Command>{{kSecondItem, 0, nullptr}}; }, kSplit},
        {"menu without split, cancelled: nothing", kMenu, false, false, MenuScript::kEscape, 1,
         [](HWND) { return std::vector<Command>{}; }, kMenu},
        {"menu, the chosen command becomes the button's", kMenu, false, true, MenuScript::kChooseSecond, 1,
         [](HWND b) { return std::vector<Command>{{kSecondItem, 0, b}}; }, kSecondItem},
        {"menu by its mnemonic: opens with the first item selected", kMenu, false, false, MenuScript::kEnter, 1,
         [](HWND) { return std::vector<Command>{{kFirstItem, 0, nullptr}}; }, kMenu, 'M'},
    };
    for (const Case& c : cases) {
        Fixture f;
        WCHECK(f.ok);
        CProbeButton& b = c.button == kSplit ? f.dlg.split : f.dlg.menu;
        if (c.commandFromMenu) b.m_nState |= VEzaButton::STATE_CMD_FROM_MENU;
        b.script = c.script;
        CRect client;
        b.GetClientRect(&client);
        const CRect drop = b.GetDropDownRect();
        const CPoint at = ScreenPoint(b, c.dropDownPart ? drop.CenterPoint() : CPoint(client.left + 8, 12));
        if (c.mnemonic != 0) {
            b.SetWindowText("&Menu");
            Key(VK_MENU, true);
            Key(c.mnemonic, true);
            Key(c.mnemonic, false);
            Key(VK_MENU, false);
        } else {
            MoveAndWait(at, b, H);
            MouseButton(true);
            MouseButton(false);
        }
        const auto expected = c.expected(b.m_hWnd);
        const bool done = PumpUntil([&] { return f.dlg.commands.size() >= expected.size() && (Transient(b) & (P | D)) == 0 &&
                                                 b.menusOpened == c.menusOpened && !VEzaButton::IsMenuTracking(); });
        if (!done) wtest::fail(__FILE__, __LINE__, std::string(c.what) + ": never settled");
        WCHECK_EQ(b.menusOpened, c.menusOpened);
        WCHECK_EQ(f.dlg.commands, expected);
        WCHECK_EQ(UINT(b.GetDlgCtrlID()), c.idAfter);
        if (c.menusOpened > 0) {
            // The menu opens below the button, clear of it.
            CRect window;
            b.GetWindowRect(&window);
            WCHECK(b.menuRect.top >= window.bottom);
        }
    }
}

WTEST(split_drop_down_part_is_the_arrow_strip_at_the_right)
{
    Fixture f;
    WCHECK(f.ok);
    CRect client;
    f.dlg.split.GetClientRect(&client);
    const int strip = int(VEzaPaintManager::GlyphExpandBottom().GetWidth()) + 6;
    WCHECK_EQ(f.dlg.split.GetDropDownRect(), CRect(client.right - strip, 0, client.right, client.bottom));
    WCHECK(f.dlg.run.GetDropDownRect().IsRectEmpty());
    struct Case {
        CPoint client;
        int part;
    };
    const Case cases[] = {
        {CPoint(client.right - strip - 1, 5), VEzaButton::PART_MAIN},
        {CPoint(client.right - strip, 5), VEzaButton::PART_DROPDOWN},
        {CPoint(client.right - 1, client.bottom - 1), VEzaButton::PART_DROPDOWN},
        {CPoint(client.right + 3, 5), VEzaButton::PART_NONE},  // another window there
    };
    for (const Case& c : cases) WCHECK_EQ(f.dlg.split.HitTestPart(c.client), c.part);
}

WTEST(space_presses_until_released_and_return_clicks)
{
    Fixture f;
    WCHECK(f.ok);
    CButtonDlg& dlg = f.dlg;
    dlg.run.SetFocus();
    PumpUntil([&] { return ::GetFocus() == dlg.run.m_hWnd; });
    Key(VK_SPACE, true);
    WCHECK(PumpUntil([&] { return Transient(dlg.run) == (P | D | K); }));
    // The mouse crossing the button while Space is held changes nothing.
    MouseTo(CentreOf(dlg.run));
    WCHECK(PumpUntil([&] {
        POINT p;
        ::GetCursorPos(&p);
        return p.x == CentreOf(dlg.run).x;
    }));
    PumpPending();
    WCHECK_EQ(int(Transient(dlg.run)), int(P | D | K));
    WCHECK(dlg.commands.empty());
    Key(VK_SPACE, false);
    WCHECK(PumpUntil([&] { return dlg.commands.size() == 1; }));
    WCHECK_EQ(int(Transient(dlg.run)), 0);
    Key(VK_RETURN, true);
    Key(VK_RETURN, false);
    WCHECK(PumpUntil([&] { return dlg.commands.size() == 2; }));
    WCHECK_EQ(dlg.commands, (std::vector<Command>{{kRun, BN_CLICKED, dlg.run.m_hWnd}, {kRun, BN_CLICKED, dlg.run.m_hWnd}}));
    // Disabled: the keys are swallowed and nothing is sent.
    dlg.run.EnableWindow(FALSE);
    dlg.run.PostMessage(WM_KEYDOWN, VK_SPACE, 0);
    dlg.run.PostMessage(WM_KEYUP, VK_SPACE, 0);
    dlg.run.PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    PumpPending();
    WCHECK_EQ(dlg.commands.size(), size_t(2));
    WCHECK_EQ(int(Transient(dlg.run)), 0);
}

WTEST(a_mnemonic_clicks_its_button_once_from_anywhere_in_the_dialog)
{
    struct Case {
        UINT focus;
        WORD letter;
        UINT clicked;  // 0: nothing
    };
    const Case cases[] = {
        {kEdit, 'R', kRun},     // another control has the focus
        {kRun, 'R', kRun},      // the button itself has it
        {kEdit, 'H', kCheck},   // a check box toggles
        {kEdit, 'Q', 0},        // nobody's mnemonic
    };
    for (const Case& c : cases) {
        Fixture f;
        WCHECK(f.ok);
        ::SetFocus(::GetDlgItem(f.dlg.m_hWnd, int(c.focus)));
        Key(VK_MENU, true);
        Key(c.letter, true);
        Key(c.letter, false);
        Key(VK_MENU, false);
        // Everything typed has been handled once the input queue is empty.
        WCHECK(PumpUntil([&] { return HIWORD(::GetQueueStatus(QS_INPUT)) == 0 && (c.clicked == 0 || !f.dlg.commands.empty()); }));
        PumpPending();
        if (c.clicked == 0) {
            WCHECK(f.dlg.commands.empty());
        } else {
            HWND b = ::GetDlgItem(f.dlg.m_hWnd, int(c.clicked));
            WCHECK_EQ(f.dlg.commands, (std::vector<Command>{{c.clicked, BN_CLICKED, b}}));
        }
    }
}

WTEST(quick_activation_follows_the_ampersand_and_the_shift_keys)
{
    Fixture f;
    WCHECK(f.ok);
    struct Case {
        const char* text;
        DWORD key;
        BYTE heldKey;  // 0: none
        bool activates;
    };
    const Case cases[] = {
        {"&Run", 'R', 0, true},   {"Ru&n", 'N', 0, true},     {"ru&n", 'N', 0, true},
        {"Run&", 'N', 0, false},  {"Run", 'R', 0, false},     {"&Run", 'U', 0, false},
        {"&Run", 'R', VK_SHIFT, false}, {"&Run", 'R', VK_CONTROL, false},
    };
    for (const Case& c : cases) {
        f.dlg.run.SetWindowText(c.text);
        BYTE keys[256];
        ::GetKeyboardState(keys);
        if (c.heldKey != 0) keys[c.heldKey] = 0x80;
        ::SetKeyboardState(keys);
        WCHECK_EQ(f.dlg.run._QuickActivationCheck(c.key), c.activates);
        if (c.heldKey != 0) keys[c.heldKey] = 0;
        ::SetKeyboardState(keys);
    }
    f.dlg.run.m_nActivation = 0;
    f.dlg.run.SetWindowText("&Run");
    WCHECK(!f.dlg.run._QuickActivationCheck('R'));
}

WTEST(cancel_mode_ends_a_press_without_a_click)
{
    enum How { kCancelMode, kFocusLost, kCaptureTaken };
    for (How how : {kCancelMode, kFocusLost, kCaptureTaken}) {
        Fixture f;
        WCHECK(f.ok);
        CButtonDlg& dlg = f.dlg;
        dlg.run.SetFocus();
        MoveAndWait(CentreOf(dlg.run), dlg.run, H);
        MouseButton(true);
        WCHECK(PumpUntil([&] { return Transient(dlg.run) == (H | P | D); }));
        if (how == kCancelMode)
            dlg.run.SendMessage(WM_CANCELMODE);
        else if (how == kFocusLost)
            ::SetFocus(::GetDlgItem(dlg.m_hWnd, kEdit));
        else
            ::SetCapture(dlg.m_hWnd);
        WCHECK_EQ(int(Transient(dlg.run)), 0);
        WCHECK(::GetCapture() != dlg.run.m_hWnd);
        ::ReleaseCapture();
        // The release is no click: the press is over.
        MouseButton(false);
        PumpUntil([&] { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; });
        PumpPending();
        WCHECK(dlg.commands.empty());
    }
}

WTEST(check_and_radio_clicks_toggle_the_stored_state)
{
    Fixture f;
    WCHECK(f.ok);
    struct Case {
        CProbeButton* button;
        int before;
        int after;
    };
    const Case cases[] = {
        {&f.dlg.check, 0, 1}, {&f.dlg.check, 1, 0}, {&f.dlg.check, 2, 0},  // the third state unchecks
        {&f.dlg.radio, 0, 1}, {&f.dlg.radio, 1, 0},
    };
    size_t sent = 0;
    for (const Case& c : cases) {
        c.button->SetCheck(c.before);
        WCHECK_EQ(c.button->GetCheck(), c.before);
        MoveAndWait(CentreOf(*c.button), *c.button, H);
        MouseButton(true);
        MouseButton(false);
        WCHECK(PumpUntil([&] { return f.dlg.commands.size() == sent + 1; }));
        ++sent;
        WCHECK_EQ(c.button->GetCheck(), c.after);
        WCHECK_EQ(f.dlg.commands.back(),
                  (Command{UINT(c.button->GetDlgCtrlID()), BN_CLICKED, c.button->m_hWnd}));
        MoveAndWait(ScreenPoint(f.dlg, CPoint(160, 80)), *c.button, 0);
    }
}

WTEST(the_button_shows_its_own_tooltip)
{
    Fixture f;
    WCHECK(f.ok);
    CProbeButton& b = f.dlg.run;
    // The first message pre-translated for the button makes its tooltip.
    MoveAndWait(CentreOf(b), b, H);
    WCHECK(b.m_wndToolTip.GetSafeHwnd() != nullptr);
    if (b.m_wndToolTip.GetSafeHwnd() == nullptr) return;
    WCHECK_EQ(b.m_wndToolTip.GetToolCount(), 0);
    CRect client;
    b.GetClientRect(&client);
    b.m_wndToolTip.AddTool(&b, "Runs the job", &client, 1);
    b.m_wndToolTip.SendMessage(TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    b.m_wndToolTip.Activate(TRUE);
    // Moves over the button reach the tooltip through the button.
    MoveAndWait(CentreOf(b) + CPoint(3, 1), b, H);
    MoveAndWait(CentreOf(b) + CPoint(5, 2), b, H);
    WCHECK(PumpUntil([&] { return b.m_wndToolTip.IsWindowVisible() != FALSE; }));
    char text[64] = {};
    ::GetWindowTextA(b.m_wndToolTip.GetSafeHwnd(), text, sizeof text);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = b.m_hWnd;
    ti.uId = 1;
    ti.lpszText = text;
    b.m_wndToolTip.SendMessage(TTM_GETTEXTA, sizeof text, LPARAM(&ti));
    WCHECK_EQ(std::string(text), std::string("Runs the job"));
    // Shown on top of the other windows.
    WCHECK((b.m_wndToolTip.GetExStyle() & WS_EX_TOPMOST) != 0);
}

namespace {

// A toolbar whose hit test names the tool under the point with a text of its
// own (allocated, as the framework frees it).
class CProbeBar : public VEzaToolControlBar {
public:
    INT_PTR OnToolHitTest(CPoint, TOOLINFOA* ti) const override
    {
        if (ti != nullptr) ti->lpszText = _strdup("From the bar\r\nsecond line");
        return 77;
    }
};

}  // namespace

WTEST(a_button_on_a_toolbar_shows_the_bars_tip_itself)
{
    Fixture f;
    WCHECK(f.ok);
    CProbeBar bar;
    WCHECK(bar.CWnd::CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(10, 74, 200, 88), &f.dlg, 900));
    HWND wnd = ::CreateWindowExA(0, "BUTTON", "Tool", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 60, 14,
                                 bar.m_hWnd, HMENU(901), ::GetModuleHandleA(nullptr), nullptr);
    CProbeButton b;
    WCHECK(b.SubclassWindow(wnd));
    MoveAndWait(CentreOf(b), b, H);
    MoveAndWait(CentreOf(b) + CPoint(2, 1), b, H);
    WCHECK(b.m_wndToolTip.GetSafeHwnd() != nullptr);
    if (b.m_wndToolTip.GetSafeHwnd() == nullptr) return;
    // The bar's text became the button's one tool, two lines wide at most
    // the button's width for tips.
    WCHECK_EQ(b.m_wndToolTip.GetToolCount(), 1);
    char text[64] = {};
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = b.m_hWnd;
    ti.uId = 1;
    ti.lpszText = text;
    b.m_wndToolTip.SendMessage(TTM_GETTEXTA, sizeof text, LPARAM(&ti));
    WCHECK_EQ(std::string(text), std::string("From the bar\r\nsecond line"));
    WCHECK_EQ(int(b.m_wndToolTip.SendMessage(TTM_GETMAXTIPWIDTH)), b.OnQueryMaxTipWidth(text));
    WCHECK(PumpUntil([&] { return b.m_wndToolTip.IsWindowVisible() != FALSE; }));
    b.DestroyWindow();
    bar.DestroyWindow();
}

WTEST(the_painted_button_shows_hover_and_press_in_the_managers_colours)
{
    // Colours as the push-button painter gives them for a raised dialog
    // button: where (from the top-left, or from the bottom-right when
    // negative), and the colour index asked from the manager (-1: not checked).
    struct Probe {
        CPoint at;
        int colour;
    };
    struct Case {
        const char* look;
        CRuntimeClass* manager;
        BYTE state;
        std::vector<Probe> probes;
    };
    const CPoint fill(4, 12), topLeft(0, 0), inner(1, 1), bottomRight(-1, -1);
    const Case cases[] = {
        {"classic", RUNTIME_CLASS(VEzaPaintManager), 0, {{fill, 1000}, {topLeft, 1004}, {bottomRight, 1006}}},
        {"classic", RUNTIME_CLASS(VEzaPaintManager), H,
         {{fill, 1001}, {topLeft, 1006}, {bottomRight, 1008}, {inner, 1004}}},
        {"classic", RUNTIME_CLASS(VEzaPaintManager), H | P | D, {{topLeft, 1007}, {bottomRight, 1005}}},
        {"XP", RUNTIME_CLASS(VEzaPaintManagerXP), 0, {{fill, COLOR_BTNFACE}, {topLeft, COLOR_BTNSHADOW}}},
        {"XP", RUNTIME_CLASS(VEzaPaintManagerXP), H, {{fill, 1001}, {topLeft, 2004}, {bottomRight, 2004}}},
        {"XP", RUNTIME_CLASS(VEzaPaintManagerXP), H | P | D, {{fill, 2003}, {topLeft, 2004}}},
    };
    for (const Case& c : cases) {
        WCHECK(g_PaintManager.InstallPaintManager(c.manager));
        Fixture f;
        WCHECK(f.ok);
        CProbeButton& b = f.dlg.run;
        if (c.state != 0) MoveAndWait(CentreOf(b), b, H);
        if ((c.state & P) != 0) {
            MouseButton(true);
            WCHECK(PumpUntil([&] { return Transient(b) == c.state; }));
        }
        WCHECK_EQ(int(Transient(b)), int(c.state));
        PumpPending();
        CRect client;
        b.GetClientRect(&client);
        HDC dc = ::GetDC(b.m_hWnd);
        VEzaPaintManager* pm = g_PaintManager.GetPM();
        for (const Probe& p : c.probes) {
            const CPoint at(p.at.x >= 0 ? p.at.x : client.right + p.at.x, p.at.y >= 0 ? p.at.y : client.bottom + p.at.y);
            const COLORREF shown = ::GetPixel(dc, at.x, at.y);
            if (shown != pm->GetColor(p.colour, &b))
                wtest::fail(__FILE__, __LINE__,
                            std::string(c.look) + " state " + std::to_string(c.state) + " at " +
                                std::to_string(at.x) + "," + std::to_string(at.y) + ": colour " +
                                std::to_string(p.colour) + " expected");
        }
        ::ReleaseDC(b.m_hWnd, dc);
        if ((c.state & P) != 0) {
            MouseButton(false);
            PumpUntil([&] { return (Transient(b) & P) == 0; });
        }
    }
    g_PaintManager.InstallPaintManager(RUNTIME_CLASS(VEzaPaintManagerXP));
}

// Backgrounds taken from parent windows, with real windows: the custom
// background query walking up a chain of child windows, stopping where a
// window paints, forbids, or is a top-level window; and which child
// controls let their parent's background through.
#include <string>

#include "paint_test_util.h"
#include "toolkit/bar_types.h"

#include <commctrl.h>

using namespace pt;

namespace {

// What each window of the chain does with the query, and the order in
// which the query reached them.
struct Chain {
    std::string answers;  // per window, in walk order: '.' pass, 'h' paint, 'c' forbid
    std::string visited;
};

Chain* g_chain = nullptr;

LRESULT CALLBACK ChainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == VEzaPaintManager::g_nMsgPaintInheritedBackground && g_chain != nullptr) {
        const int index = int(::GetWindowLongPtrA(wnd, GWLP_USERDATA));
        g_chain->visited += char('0' + index);
        auto* query = reinterpret_cast<VEzaPaintManager::CUSTOM_BACKGROUND_QUERY*>(wParam);
        const char answer = index < int(g_chain->answers.size()) ? g_chain->answers[size_t(index)] : '.';
        if (answer == 'h') {
            const CRect r = query->GetRenderingRect();
            query->m_dc.FillSolidRect(&r, RGB(10, 200, 30));
            query->m_bHandled = true;
        }
        if (answer == 'c') query->m_bCancelled = true;
        return 0;
    }
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

const char* ChainClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &ChainProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "TrvBackgroundChain";
        registered = ::RegisterClassA(&wc) != 0;
    }
    return "TrvBackgroundChain";
}

// An owner window, a top-level popup it owns (window 2), a child of that
// (1) and a grandchild (0): the walk starts at 0.
struct Windows {
    Windows() {
        owner = ::CreateWindowExA(0, ChainClass(), "owner", WS_OVERLAPPED, 0, 0, 200, 200, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(owner, GWLP_USERDATA, 3);
        top = ::CreateWindowExA(0, ChainClass(), "top", WS_POPUP, 0, 0, 120, 100, owner, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(top, GWLP_USERDATA, 2);
        child = ::CreateWindowExA(0, ChainClass(), "", WS_CHILD | WS_VISIBLE, 5, 5, 100, 80, top, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(child, GWLP_USERDATA, 1);
        leaf = ::CreateWindowExA(WS_EX_CLIENTEDGE, ChainClass(), "", WS_CHILD | WS_VISIBLE, 5, 5, 60, 40, child,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(leaf, GWLP_USERDATA, 0);
    }
    ~Windows() {
        ::DestroyWindow(top);
        ::DestroyWindow(owner);
    }
    HWND owner, top, child, leaf;
};

}  // namespace

WTEST(custom_background_query_walks_up_to_the_top_level_window) {
    Windows windows;
    WCHECK(windows.leaf != nullptr);
    Dib dib(80, 60, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(dib.dc());
    CWnd leaf;
    leaf.Attach(windows.leaf);
    const struct {
        const char* answers;
        bool result;
        const char* visited;
        HWND handler;
    } cases[] = {
        // Nobody paints: the walk ends at the top-level popup, not its owner.
        {"....", false, "012", nullptr},
        {".h..", true, "01", windows.child},
        {"h...", true, "0", windows.leaf},
        {".c..", false, "01", nullptr},
        {"..h.", true, "012", windows.top},
    };
    for (const auto& c : cases) {
        Chain chain{c.answers, ""};
        g_chain = &chain;
        VEzaPaintManager::CUSTOM_BACKGROUND_QUERY query(dc, &leaf, nullptr, 0, true);
        const bool result = query.Notify();
        g_chain = nullptr;
        WCHECK_EQ(result, c.result);
        WCHECK_EQ(chain.visited, std::string(c.visited));
        WCHECK(query.m_hWndHandler == c.handler);
    }
    // The rendering rectangle: the client area, or the window at 0,0.
    VEzaPaintManager::CUSTOM_BACKGROUND_QUERY client(dc, &leaf, nullptr, 0, true), whole(dc, &leaf, nullptr, 0, false);
    CRect window;
    ::GetWindowRect(windows.leaf, &window);
    WCHECK(whole.GetRenderingRect() == CRect(0, 0, window.Width(), window.Height()));
    WCHECK(client.GetRenderingRect().Width() < window.Width());
    WCHECK(client.GetRenderingRect().TopLeft() == CPoint(0, 0));
    leaf.Detach();
    dc.Detach();
}

WTEST(render_custom_background_only_when_inheritance_is_on) {
    InjectedSystem system(32);
    Windows windows;
    VEzaPaintManager pm;
    pm.OnSysColorChange();
    Dib dib(80, 60, RGB(1, 2, 3));
    CDC dc;
    dc.Attach(dib.dc());
    CWnd leaf;
    leaf.Attach(windows.leaf);
    // A toolbar button asks through its bar's window (here the middle one).
    VEzaToolControlBar bar;
    bar.Attach(windows.child);
    VEzaBarButton button(&bar);
    for (bool on : {false, true}) {
        pm.m_nOptions = BYTE(on ? VEzaPaintManager::OptCustomBackgroundInheritance : 0);
        const struct {
            CObject* object;
            const char* visited;
        } askers[] = {{&leaf, "01"}, {&button, "1"}};
        for (const auto& asker : askers) {
            Chain chain{".h..", ""};
            g_chain = &chain;
            dib.Fill(RGB(1, 2, 3));
            const bool painted = pm.RenderCustomBackground(true, dc, asker.object, 0);
            g_chain = nullptr;
            WCHECK_EQ(painted, on);
            WCHECK_EQ(chain.visited, std::string(on ? asker.visited : ""));
            WCHECK_EQ(dib.At(2, 2) == RGB(10, 200, 30), on);
        }
        // The date picker's background comes from the parent when it can.
        Chain chain{".h..", ""};
        g_chain = &chain;
        dib.Fill(RGB(1, 2, 3));
        pm.PaintDatePickerClientArea(dc, CRect(0, 0, 40, 30), CRect(5, 5, 35, 25), &leaf, 0);
        g_chain = nullptr;
        WCHECK_EQ(dib.At(1, 1), on ? RGB(10, 200, 30) : InjectedSystem::Chosen(COLOR_BTNFACE));
        WCHECK_EQ(dib.At(10, 10), InjectedSystem::Chosen(COLOR_WINDOW));
    }
    WCHECK(!pm.RenderCustomBackground(true, dc, nullptr, 0));
    bar.Detach();
    leaf.Detach();
    dc.Detach();
}

WTEST(which_child_controls_let_the_parent_background_through) {
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    const WORD saved = g_PaintManager.m_wOsFlags;
    const struct {
        const char* cls;
        DWORD style;
        bool plain, themed;  // without and with theme colours
    } cases[] = {
        {"Static", 0, true, true},
        {"SysTabControl32", 0, true, true},
        {"msctls_trackbar32", 0, true, true},
        {"Button", BS_PUSHBUTTON, true, true},
        {"Button", BS_AUTOCHECKBOX, true, true},
        {"Button", BS_USERBUTTON, false, true},
        {"Button", BS_OWNERDRAW, false, true},
        {"Button", 15, false, true},
        {"Edit", 0, false, false},
        {"ListBox", 0, false, false},
    };
    for (const auto& c : cases) {
        HWND wnd = ::CreateWindowExA(0, c.cls, "", WS_CHILD | c.style, 0, 0, 50, 20, parent, nullptr,
                                     ::GetModuleHandleA(nullptr), nullptr);
        WCHECK(wnd != nullptr);
        // The button class drops a user-button type at creation; set it
        // afterwards as a program would.
        ::SetWindowLongA(wnd, GWL_STYLE, LONG(WS_CHILD | c.style));
        g_PaintManager.m_wOsFlags = WORD(saved & ~VEzaPaintManager::VEzaPaintManagerAutoPtr::OsThemeColorsRead);
        if (VEzaPaintManager::stat_IsInheritedBackgroundWnd(wnd) != c.plain)
            wtest::fail(__FILE__, __LINE__, std::string(c.cls) + " " + std::to_string(c.style) + " without theme");
        g_PaintManager.m_wOsFlags = WORD(saved | VEzaPaintManager::VEzaPaintManagerAutoPtr::OsThemeColorsRead);
        if (VEzaPaintManager::stat_IsInheritedBackgroundWnd(wnd) != c.themed)
            wtest::fail(__FILE__, __LINE__, std::string(c.cls) + " " + std::to_string(c.style) + " with theme");
        ::DestroyWindow(wnd);
    }
    g_PaintManager.m_wOsFlags = saved;
    WCHECK(!VEzaPaintManager::stat_IsInheritedBackgroundWnd(nullptr));
    ::DestroyWindow(parent);
}

WTEST(floating_caption_of_a_fixed_size_bar_is_cut_not_ellipsed) {
    InjectedSystem system(8);
    // A floating frame whose first child holds a toolbar (fixed size).
    HWND frameWnd = ::CreateWindowExA(0, ChainClass(), "", WS_POPUP, 0, 0, 200, 60, nullptr, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
    HWND holder = ::CreateWindowExA(0, ChainClass(), "", WS_CHILD, 0, 0, 200, 60, frameWnd, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    HWND barWnd = ::CreateWindowExA(0, ChainClass(), "", WS_CHILD, 0, 0, 200, 60, holder, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    VEzaMiniDockFrameWnd frame;
    frame.Attach(frameWnd);
    VEzaToolControlBar bar;
    bar.Attach(barWnd);
    using G = VEzaPaintManager::PAINTGRIPPERDATA;
    const COLORREF fill = InjectedSystem::Chosen(COLOR_HIGHLIGHT);
    for (bool xp : {false, true}) {
        VEzaPaintManager classic;
        VEzaPaintManagerXP xpManager;
        VEzaPaintManager& pm = xp ? static_cast<VEzaPaintManager&>(xpManager) : classic;
        pm.OnSysColorChange();
        const COLORREF back = xp ? InjectedSystem::Chosen(COLOR_BTNSHADOW) : fill;
        // The same long caption, for the fixed-size bar's frame and for no
        // window: both keep inside the caption rectangle, and differ (cut
        // against ended with an ellipsis).
        std::vector<unsigned> pictures[2];
        for (int i = 0; i < 2; ++i) {
            Dib dib(120, 20, RGB(1, 2, 3));
            CDC dc;
            dc.Attach(dib.dc());
            G data(i == 0 ? static_cast<CObject*>(&frame) : nullptr, CRect(0, 0, 120, 20), CRect(4, 2, 64, 18), true,
                   true, false, false, "A caption much too long for it");
            pm.PaintGripper(dc, data);
            dc.Detach();
            CRect ink(0, 0, 0, 0);
            for (int y = 0; y < 20; ++y)
                for (int x = 0; x < 120; ++x)
                    if (dib.At(x, y) != back) ink.UnionRect(ink, CRect(x, y, x + 1, y + 1));
            WCHECK(!ink.IsRectEmpty());
            WCHECK(ink.left >= 4 && ink.right <= 64);
            pictures[i] = dib.Pixels();
        }
        WCHECK(pictures[0] != pictures[1]);
        // So narrow that no character is left: nothing is drawn.
        Dib dib(120, 20, RGB(1, 2, 3));
        CDC dc;
        dc.Attach(dib.dc());
        G data(&frame, CRect(0, 0, 120, 20), CRect(4, 2, 6, 18), true, true, false, false, "Wide");
        pm.PaintGripper(dc, data);
        dc.Detach();
        WCHECK_EQ(dib.CountOther({0, 0, 120, 20}, back), 0);
    }
    bar.Detach();
    frame.Detach();
    ::DestroyWindow(frameWnd);
}

// The splitter that hosts two windows and the layout helpers of dialogs:
// the bar stays centred until the user drags it, the focus comes back after
// a drag, and rectangles and footer buttons are laid out as asked.
#include "afxwin.h"
#include "gridwnd/splitter_ctrl.h"
#include "wtest.h"

namespace {

struct SplitFixture {
    CWnd parent;
    CSplitterCtrl splitter;
    CWnd left, right;

    SplitFixture()
    {
        parent.CreateEx(0, "STATIC", "parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0);
    }
    ~SplitFixture() { parent.DestroyWindow(); }
    int LeftWidth()
    {
        CRect r;
        left.GetWindowRect(&r);
        return r.Width();
    }
};

CRect ChildRect(CWnd& parent, UINT id)
{
    CRect r;
    parent.GetDlgItem(int(id))->GetWindowRect(&r);
    parent.ScreenToClient(&r);
    return r;
}

}  // namespace

WTEST(splitter_stays_centred_until_the_user_drags_its_bar)
{
    SplitFixture f;
    WCHECK_EQ(CreateHorzSplitter(&f.parent, f.splitter, &f.left, &f.right, 0, "EDIT", "", 0), 0);
    WCHECK(f.splitter.GetPane(0, 0) == &f.left);
    WCHECK(f.splitter.GetPane(0, 1) == &f.right);
    WCHECK(f.splitter.GetStyle() & WS_TABSTOP);
    WCHECK(f.splitter.GetExStyle() & WS_EX_CONTROLPARENT);
    CRect rect(0, 0, 400, 200);
    LayoutHorzSplitter(f.splitter, rect);
    const int half = (400 - f.splitter.m_cxSplitterGap) / 2;
    WCHECK_EQ(f.LeftWidth(), half);
    WCHECK(!f.splitter.IsSplitterMoved());
    CRect wide(0, 0, 300, 200);
    LayoutHorzSplitter(f.splitter, wide);
    WCHECK_EQ(f.LeftWidth(), (300 - f.splitter.m_cxSplitterGap) / 2);

    // The user drags the bar 40 pixels right; the focus goes back to the
    // right pane, which had it.
    f.right.SetFocus();
    const int bar = f.LeftWidth() + 2;
    f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar, 100));
    WCHECK(f.splitter.IsSplitterMoved());
    f.splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar + 40, 100));
    f.splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(bar + 40, 100));
    const int moved = f.LeftWidth();
    WCHECK_EQ(moved, (300 - f.splitter.m_cxSplitterGap) / 2 + 40);
    WCHECK(::GetFocus() == f.right.m_hWnd);
    // Later layouts keep the user's position.
    LayoutHorzSplitter(f.splitter, rect);
    WCHECK_EQ(f.LeftWidth(), moved);

    // A cancelled drag gives the focus back as well.
    f.left.SetFocus();
    f.splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(moved + 2, 100));
    f.splitter.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    WCHECK(::GetFocus() == f.left.m_hWnd);
    WCHECK_EQ(f.LeftWidth(), moved);
}

WTEST(rectangles_split_and_footer_buttons_are_laid_out)
{
    CRect left, right;
    SplitRectHorz(CRect(10, 0, 111, 20), left, right, false);
    WCHECK(left == CRect(10, 0, 60, 20));
    WCHECK(right == CRect(60, 0, 110, 20));
    SplitRectHorz(CRect(10, 0, 111, 20), left, right, true);
    WCHECK(left == CRect(15, 5, 55, 15));
    WCHECK(right == CRect(65, 5, 105, 15));

    CWnd dialog;
    dialog.CreateEx(0, "STATIC", "dialog", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0);
    const UINT ids[3] = {11, 12, 13};
    CWnd buttons[3];
    for (int i = 0; i < 3; ++i)
        buttons[i].CreateEx(0, "BUTTON", "b", WS_CHILD, CRect(0, 0, 60, 20), &dialog, ids[i]);
    LayoutFooterButtons(&dialog, CRect(0, 150, 200, 180), ids, 3, false);
    WCHECK(ChildRect(dialog, 11) == CRect(0, 150, 67, 180));
    WCHECK(ChildRect(dialog, 12) == CRect(67, 150, 134, 180));
    WCHECK(ChildRect(dialog, 13) == CRect(133, 150, 200, 180));
    LayoutFooterButtons(&dialog, CRect(0, 150, 300, 180), ids, 3, true);
    WCHECK(ChildRect(dialog, 12) == CRect(105, 155, 195, 175));
    LayoutFooterButtons(&dialog, CRect(0, 150, 300, 180), ids, 0, true);
    WCHECK(ChildRect(dialog, 12) == CRect(105, 155, 195, 175));

    for (int i = 0; i < 3; ++i) buttons[i].MoveWindow(0, 0, 60, 20);
    LayoutFooterButtons2(&dialog, CRect(0, 150, 300, 180), ids, 3);
    WCHECK(ChildRect(dialog, 11) == CRect(95, 155, 155, 175));
    WCHECK(ChildRect(dialog, 12) == CRect(160, 155, 220, 175));
    WCHECK(ChildRect(dialog, 13) == CRect(225, 155, 285, 175));
    WCHECK(::IsWindowVisible(buttons[2].m_hWnd) || !::IsWindowVisible(dialog.m_hWnd));
    WCHECK(buttons[2].GetStyle() & WS_VISIBLE);
    dialog.DestroyWindow();
}

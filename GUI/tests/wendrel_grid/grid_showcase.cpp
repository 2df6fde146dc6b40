// A filled grid window with a column's filter popup open, for a person to
// look at (scripts/wine-screenshot.sh ... -- grid_showcase.exe --stay). Run
// as a test it opens the popup by synthetic input and checks what it lists
// and where it lies; "--stay" then keeps the window up until it is closed.
#include <set>
#include <string>
#include <vector>

#include "afxwin.h"
#include "grid/grid_filter_list.h"
#include "grid_test_util.h"
#include "gridwnd/filter_dlg.h"
#include "gridwnd/filter_tool.h"
#include "gridwnd/grid_ctrl.h"
#include "wtest.h"

namespace {

const char* const kTypes[] = {"Router", "Switch", "", "Printer", "Server", "Switch", "Access point", "Server"};
const char* const kPlaces[] = {"Lyon", "Paris", "Osaka", "Tokyo", "Leeds"};

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

}  // namespace

WTEST(showcase_grid_with_a_filter_popup_open)
{
    CWnd frame;
    WCHECK(frame.CreateEx(0, nullptr, "Hosts", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                          CRect(20, 20, 780, 560), nullptr, 0));
    CRect client;
    frame.GetClientRect(&client);
    CDefGridCtrl grid;
    HIMAGELIST glyphs = gt::MakeArrowGlyphs();
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 300; ++i)
        rows.push_back({"host-" + std::to_string(100 + i),
                        "10.1." + std::to_string(i / 50) + "." + std::to_string(i % 250 + 1), kTypes[i % 8],
                        kPlaces[(i * 7) % 5], std::to_string(1 + (i * 37) % 400) + " days"});
    gt::Chain chain = gt::MakeChain({{"Name", COLUMN_TYPE_TEXT},
                                     {"Address", COLUMN_TYPE_TEXT},
                                     {"Type", COLUMN_TYPE_TEXT},
                                     {"Location", COLUMN_TYPE_TEXT},
                                     {"Uptime", COLUMN_TYPE_TEXT}},
                                    rows);
    WCHECK(grid.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, client, &frame, 1));
    for (GRAPHIC_CELL_STYLE& s : *grid.GetStyles())
        s.elementImages = glyphs;
    grid.SetView(chain.owner.release());
    const int widths[] = {130, 120, 200, 110, 90};
    for (int c = 0; c < 5; ++c)
        grid.SetColumnWidth(c, widths[c]);
    Pump();

    // The Type column's filter button, found as the mouse finds it.
    const COLUMN_INFO& type = grid.GetColumns()[2];
    const int y = 1 + grid.GetRows()[0].height / 2;
    CPoint button(-1, -1);
    for (int x = grid.GetGridOrg().x + type.position; x < grid.GetGridOrg().x + type.position + type.width; ++x) {
        grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        if (dynamic_cast<const CFilterTool*>(grid.GetCurrentTool())) {
            button = CPoint(x + 2, y);
            break;
        }
    }
    WCHECK(button.x >= 0);
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(button.x, button.y));
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.x, button.y));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(button.x, button.y));
    Pump();
    auto* dlg = dynamic_cast<CFilterDlg*>(grid.GetPopupWindow());
    WCHECK(dlg != nullptr);
    if (dlg) {
        std::vector<std::string> listed;
        for (int k = 0; k < dlg->GetValueList()->GetSize().row; ++k)
            listed.push_back(dlg->GetValueList()->GetItemText(k));
        WCHECK_EQ(gt::Join(listed),
                  std::string("(All)|(Blanks)|(NonBlanks)|Access point|Printer|Router|Server|Switch"));
        // Under the Type cell, as wide as it (plus a pixel each side), its
        // list fully shown.
        CRect popup;
        dlg->GetWindowRect(&popup);
        CPoint cell(grid.GetGridOrg().x + type.position, 0);
        grid.ClientToScreen(&cell);
        WCHECK_EQ(popup.left, cell.x - 1);
        WCHECK_EQ(popup.Width(), type.width + 1);
        WCHECK(dlg->GetDiff().cy >= 0 || popup.bottom >= ::GetSystemMetrics(SM_CYSCREEN) - 1);
        // Two types chosen, as a user would before Apply.
        CDefGridCtrl& list = dlg->GetListGrid();
        for (int k : {5, 7}) {
            const ROW_INFO& r = list.GetRows()[size_t(k + 1)];
            const LPARAM at = MAKELPARAM(30, list.GetGridOrg().y + r.position + r.height / 2);
            const WPARAM ctrl = k == 5 ? 0 : MK_CONTROL;
            list.SendMessage(WM_MOUSEMOVE, ctrl, at);
            list.SendMessage(WM_LBUTTONDOWN, ctrl | MK_LBUTTON, at);
            list.SendMessage(WM_LBUTTONUP, ctrl, at);
        }
        Pump();
        WCHECK(list.IsCellSelected(CELL_COORD(0, 6)) && list.IsCellSelected(CELL_COORD(0, 8)));
        WCHECK(!list.IsCellSelected(CELL_COORD(0, 1)));
    }

    if (wtest::has_arg("--stay")) {
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    grid.DestroyWindow();
    Pump();
    frame.DestroyWindow();
    ImageList_Destroy(glyphs);
}

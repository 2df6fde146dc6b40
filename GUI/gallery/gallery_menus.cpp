// The menus page: a popup menu of items in every state (selected, disabled,
// checked, radio, icon, accelerator, submenu arrows, rarely used, extra
// marks, in-place strips, right to left), its separator, the menu's scroll
// and expand buttons, the toolbar's chevron buttons and the date picker's
// client background.
#include <string>

#include "gallery_page.h"
#include "icons/cmd_icon.h"
#include "toolkit/menu_types.h"

namespace {

using PM = VEzaPaintManager;
using Item = PM::PAINTMENUITEMDATA;

// A popup menu laid out right to left, for the items that mirror.
class RtlMenu : public VEzaPopupMenuWnd {
public:
    bool OnQueryLayoutRTL() const override { return true; }
};

struct Row {
    const char* text;
    const char* accel;
    BYTE state;   // Item's first group
    BYTE state2;  // Item's second group
    bool icon;
    bool inplace;
};

void PaintMenus(GalleryCanvas& canvas, const CRect& area) {
    CDC& dc = canvas.dc;
    PM& pm = canvas.pm;
    const std::string& look = canvas.look;
    dc.FillSolidRect(&area, RGB(176, 186, 204));
    const int x = area.left + 10;
    int y = area.top + 6;
    canvas.Label(x, y, "Popup menu items", true);
    y += 18;

    const BYTE E = Item::Enabled, S = Item::Selected;
    const Row rows[] = {
        {"&Open", "Ctrl+O", E, 0, false, false},
        {"&Save selected", "Ctrl+S", BYTE(E | S), 0, false, false},
        {"Disabled", "F5", 0, 0, false, false},
        {"Disabled, selected", nullptr, S, 0, false, false},
        {"Checked", nullptr, BYTE(E | Item::Checked), 0, false, false},
        {"Radio, selected", nullptr, BYTE(E | S | Item::Radio), 0, false, false},
        {"Icon, selected", nullptr, BYTE(E | S), 0, true, false},
        {"Icon, checked", nullptr, BYTE(E | Item::Checked), 0, true, false},
        {"Submenu", nullptr, BYTE(E | Item::Popup), 0, false, false},
        {"Separated submenu", nullptr, BYTE(E | Item::Popup), Item::SeparatedPopup, false, false},
        {"Separated, selected", nullptr, BYTE(E | S | Item::Popup), Item::SeparatedPopup, false, false},
        {"Extra glyph", nullptr, BYTE(E | Item::Popup), Item::ExtraGlyph, false, false},
        {"Rarely used", "Alt+R", BYTE(E | Item::RarelyUsed), Item::RarelyUsedNext, false, false},
        {"Rarely used, selected", nullptr, BYTE(E | S | Item::RarelyUsed | Item::RarelyUsedPrev), 0, false, false},
        {"Extra mark", nullptr, E, BYTE(Item::ExtraMark | Item::ExtraMarkChecked), true, false},
        {"Find:", nullptr, BYTE(E | S | Item::Popup), 0, false, true},
        {"Size:", nullptr, E, 0, false, true},
        {"Zoom:", nullptr, BYTE(Item::Popup), 0, false, true},
    };
    const int width = 250, height = 20, gutter = 24, count = int(sizeof rows / sizeof rows[0]);
    const CRect menu(x, y, x + width, y + count * height + 4 + 8);
    const CRect border = pm.GetMenuBorderMetrics(nullptr, 0);
    dc.FillSolidRect(&menu, pm.GetMenuFrameFillColor(nullptr, 0));
    pm.PaintMenuBorder(dc, menu, nullptr, 0);
    VEzaCmdIcon icon;
    pm.LoadWinXpTreeBox(icon, true);
    int top = menu.top + border.top;
    for (int i = 0; i < count; ++i) {
        const Row& row = rows[i];
        if (i == 12) {
            // A separator before the rarely used items.
            pm.PaintMenuSeparator(dc, CRect(menu.left + border.left, top, menu.right - border.right, top + 8),
                                  gutter, false, nullptr, 0);
            top += 8;
        }
        const CRect r(menu.left + border.left, top, menu.right - border.right, top + height);
        // The extra mark sits beside the icon in a gutter twice as wide.
        const bool extraMark = (row.state2 & Item::ExtraMark) != 0;
        Item item(nullptr, r, r, extraMark ? 2 * gutter : gutter, row.text, row.accel, row.icon ? &icon : nullptr, (row.state & Item::Popup) != 0,
                  (row.state & S) != 0, (row.state & Item::Checked) != 0, (row.state & Item::Radio) != 0, false,
                  (row.state & E) != 0, (row.state & Item::RarelyUsed) != 0,
                  (row.state & Item::RarelyUsedPrev) != 0, (row.state2 & Item::RarelyUsedNext) != 0, 0, nullptr);
        item.m_nState2 = BYTE(item.m_nState2 | row.state2);
        if (row.inplace) {
            item.m_rcInPlaceWnd.SetRect(r.left + 70, r.top + 4, r.right - 40, r.bottom - 5);
            item.m_sInPlaceText = "text";
        }
        pm.PaintMenuItem(dc, item);
        top += height;
    }
    // The selected item's fill: the highlight (classic) or the XP selection.
    const int selectedTop = menu.top + border.top + height;
    canvas.Expect(CRect(x + 150, selectedTop + 3, x + 151, selectedTop + 4),
                  pm.GetColor(look == "XP" ? 1001 : COLOR_HIGHLIGHT), look + " selected item");

    // Right to left and the gutterless XP item beside the menu.
    int right = x + width + 10;
    int ry = area.top + 24;
    canvas.Label(right, ry, "Right to left");
    ry += 16;
    RtlMenu rtl;
    const struct {
        const char* text;
        BYTE state;
        BYTE state2;
    } rtlRows[] = {{"&Open", E, 0}, {"Checked", BYTE(E | S | Item::Checked), 0}, {"Submenu", BYTE(E | Item::Popup), 0},
                   {"Mark", E, BYTE(Item::ExtraMark | Item::ExtraMarkChecked)}};
    for (const auto& row : rtlRows) {
        const CRect r(right, ry, right + 150, ry + height);
        Item item(&rtl, r, r, gutter, row.text, "F2", nullptr, (row.state & Item::Popup) != 0, (row.state & S) != 0,
                  (row.state & Item::Checked) != 0, false, false, true, false, false, false, 0, nullptr);
        item.m_nState2 = row.state2;
        pm.PaintMenuItem(dc, item);
        ry += height;
    }
    pm.PaintMenuSeparator(dc, CRect(right, ry, right + 150, ry + 8), gutter, false, &rtl, 0);
    ry += 16;
    canvas.Label(right, ry, "No gutter");
    ry += 16;
    {
        const CRect r(right, ry, right + 150, ry + height);
        Item item(nullptr, r, r, gutter, "Gutterless", nullptr, nullptr, false, false, false, false, false, true, false,
                  false, false, 0, nullptr);
        item.m_nState2 = Item::NoGutter;
        pm.PaintMenuItem(dc, item);
        ry += height + 8;
    }

    canvas.Label(right, ry, "Scroll buttons, expand");
    ry += 16;
    pm.PaintMenuScrollButton(dc, false, false, true, CRect(right, ry, right + 70, ry + 14), nullptr, 0);
    pm.PaintMenuScrollButton(dc, true, false, false, CRect(right + 80, ry, right + 150, ry + 14), nullptr, 0);
    ry += 20;
    pm.PaintMenuExpandButton(dc, CRect(right, ry, right + 70, ry + 14), false, false, nullptr, 0);
    pm.PaintMenuExpandButton(dc, CRect(right + 80, ry, right + 150, ry + 14), true, false, nullptr, 0);
    ry += 24;

    canvas.Label(right, ry, "Toolbar chevrons");
    ry += 16;
    dc.FillSolidRect(right, ry, 160, 48, pm.GetColor(1000));
    const struct {
        bool enabled, pushed, hover, firstOnly;
    } chevrons[] = {{true, false, false, false}, {true, false, true, false}, {true, true, true, false},
                    {false, false, false, false}, {true, false, false, true}};
    for (int i = 0; i < 5; ++i) {
        const auto& c = chevrons[i];
        pm.PaintToolbarExpandButton(dc, CRect(right + i * 20, ry, right + i * 20 + 14, ry + 24), true, c.firstOnly,
                                    c.enabled, c.pushed, c.hover, nullptr, 0);
    }
    // Vertical, given upside down: normalised.
    pm.PaintToolbarExpandButton(dc, CRect(right + 124, ry + 14, right + 100, ry), false, false, true, false, false,
                                nullptr, 0);
    pm.PaintToolbarExpandButton(dc, CRect(right + 130, ry, right + 154, ry + 14), false, false, true, true, true,
                                nullptr, 0);
    ry += 56;

    canvas.Label(right, ry, "Date picker client area");
    ry += 16;
    pm.PaintDatePickerClientArea(dc, CRect(right, ry, right + 150, ry + 40), CRect(right + 6, ry + 6, right + 144, ry + 34),
                                 nullptr, 0);
    canvas.Expect(CRect(right + 70, ry + 20, right + 71, ry + 21), pm.GetColor(COLOR_WINDOW), look + " date picker");
    canvas.Expect(CRect(right + 2, ry + 2, right + 3, ry + 3), pm.GetColor(1000), look + " date picker border");
}

}  // namespace

GALLERY_PAGE("menus", &PaintMenus, nullptr);

// The page "tabs": tab strips on all four sides (selected, unselected, with
// an icon, grouped), the tabbed bar's strip, the strip buttons in every
// state, the shortcut list, the toolbar text field, the undo caption and the
// spin buttons.
#include <algorithm>
#include <cstring>
#include <string>

#include "gallery_page.h"
#include "icons/cmd_icon.h"
#include "toolkit/bar_types.h"

namespace {

using PM = VEzaPaintManager;

// A tab window object for the painters that ask for one (never created as a
// window).
VEzaTabWnd& TabWndObject() {
    static VEzaTabWnd tabWnd;
    return tabWnd;
}

VEzaCmdIcon& ItemIcon(PM& pm) {
    static VEzaCmdIcon icon;
    if (icon.IsEmpty()) icon.CreateCheckMarkBitmap(16, 16, COLORREF(-1), pm.GetColor(1010));
    return icon;
}

struct TabSpec {
    const char* text;
    bool selected;
    bool icon;
};
const TabSpec kTabs[] = {{"General", true, false}, {"Pages", false, false}, {"Icon", false, true}};

CSize TextSize(CDC& dc, PM& pm, const char* text) {
    CFont* old = dc.SelectObject(&pm.m_FontNormal);
    const CSize size = dc.GetTextExtent(text, int(std::strlen(text)));
    dc.SelectObject(old);
    return size;
}

// One tab strip as a tab window draws it: the client area, then each item.
// Horizontal strips run along rect's width, vertical ones along its height;
// the items area is 24 pixels across the strip and the near border 4.
void Strip(GalleryCanvas& canvas, const CRect& rect, DWORD orientation, bool grouped, bool inverted = false) {
    CDC& dc = canvas.dc;
    PM& pm = canvas.pm;
    const bool horizontal = orientation < 2, topLeft = orientation == 0 || orientation == 2;
    CRect client = rect, items = rect, nearBorder = rect;
    switch (orientation) {
    case 0: items.bottom = rect.top + 24, nearBorder.SetRect(rect.left, items.bottom, rect.right, items.bottom + 4); break;
    case 1: nearBorder.bottom = rect.top + 4, items.SetRect(rect.left, nearBorder.bottom, rect.right, nearBorder.bottom + 24); break;
    case 2: items.right = rect.left + 24, nearBorder.SetRect(items.right, rect.top, items.right + 4, rect.bottom); break;
    default: nearBorder.right = rect.left + 4, items.SetRect(nearBorder.right, rect.top, nearBorder.right + 24, rect.bottom); break;
    }
    pm.PaintTabClientArea(dc, client, items, nearBorder, orientation, grouped, &TabWndObject(), 0);
    CFont* font = horizontal ? &pm.m_FontNormal : inverted ? &pm.m_FontNormalVertX : &pm.m_FontNormalVert;
    int at = (horizontal ? items.left : items.top) + 4;
    for (const TabSpec& tab : kTabs) {
        // Measured as the tab window measures its items.
        CSize text = TextSize(dc, pm, tab.text);
        const CSize icon = tab.icon ? CSize(ItemIcon(pm).GetSize()) : CSize(0, 0);
        int length;
        if (horizontal) {
            length = std::max<int>(24, (icon.cx > 0 ? icon.cx + 3 : 0) + text.cx + 7);
        } else {
            text.cx += 10;
            text.cy += 2;
            length = std::max<int>(24, (icon.cy > 0 ? icon.cy + 3 : 0) + text.cx + 17);
        }
        CRect item = horizontal ? CRect(at, items.top + 2, at + length, items.bottom - 2)
                                : CRect(items.left + 2, at, items.right - 2, at + length);
        if (horizontal && topLeft) item.top += 2, item.bottom += 2;
        if (!horizontal && topLeft) item.left += 2, item.right += 2;
        pm.PaintTabItem(dc, items, topLeft, horizontal, tab.selected && !grouped, false, grouped, tab.selected,
                        inverted, item, text, font, tab.text, tab.icon ? &ItemIcon(pm) : nullptr, &TabWndObject(), 0);
        at += length + (grouped ? 6 : 0);
    }
}

void PaintTabs(GalleryCanvas& canvas, const CRect& area) {
    CDC& dc = canvas.dc;
    PM& pm = canvas.pm;
    const std::string& look = canvas.look;
    const int x = area.left + 10;
    int y = area.top + 8;
    canvas.Label(x, y, pm.GetRuntimeClass()->m_lpszClassName, true);
    y += 22;

    // Strips on four sides: top and bottom on the left, left and right
    // (turned text, the right one reading upwards) beside them.
    canvas.Label(x, y, "Tabs: top, bottom; left, right (inverted), grouped");
    y += 18;
    const CRect top(x, y, x + 250, y + 28), bottom(x, y + 46, x + 250, y + 74);
    Strip(canvas, top, 0, false);
    Strip(canvas, bottom, 1, false);
    const CRect left(x + 270, y, x + 298, y + 200), right(x + 320, y, x + 348, y + 200);
    Strip(canvas, left, 2, false);
    Strip(canvas, right, 3, false, true);
    // Grouped items on a vertical strip.
    Strip(canvas, CRect(x + 370, y, x + 398, y + 200), 3, true, true);
    // The page border line and the selected tab's fill over it.
    canvas.Expect(CRect(x + 200, y + 24, x + 201, y + 25), pm.GetColor(COLOR_BTNHIGHLIGHT), look + " top line");
    canvas.Expect(CRect(x + 8, y + 24, x + 9, y + 25),
                  pm.GetColor(look == "XP" ? 2000 : COLOR_BTNFACE), look + " selected fill over the line");
    canvas.Expect(CRect(x + 1, y + 47, x + 2, y + 48), pm.GetColor(look == "XP" ? 2000 : COLOR_BTNFACE),
                  look + " bottom near border");
    y += 92;

    canvas.Label(x, y, "Grouped; tabbed bar strip");
    y += 18;
    Strip(canvas, CRect(x, y, x + 250, y + 28), 0, true);
    {
        CRect client(x, y + 40, x + 250, y + 70), items(x + 10, y + 40, x + 240, y + 62), none(0, 0, 0, 0);
        pm.PaintTabbedTabClientArea(dc, client, items, none, 0, false, &TabWndObject(), 0);
        pm.PaintTabItem(dc, items, true, true, true, false, false, true, false, CRect(x + 14, y + 42, x + 80, y + 62),
                        TextSize(dc, pm, "Tabbed"), &pm.m_FontNormal, "Tabbed", nullptr, &TabWndObject(), 0);
        canvas.Expect(CRect(x + 200, y + 62, x + 201, y + 63), pm.GetColor(COLOR_BTNHIGHLIGHT), look + " tabbed line");
    }
    y += 80;

    // The strip buttons: a row per state, a column per kind.
    canvas.Label(x, y, "Strip buttons: normal, hover, pushed, disabled; vertical");
    y += 18;
    const int kinds[] = {PM::TabButtonScrollBack, PM::TabButtonScrollForward, PM::TabButtonHelp, PM::TabButtonClose,
                         PM::TabButtonList,       PM::TabButtonFirst,         PM::TabButtonLast};
    const struct {
        bool enabled, hover, pushed, horizontal;
    } states[] = {{true, false, false, true}, {true, true, false, true}, {true, false, true, true},
                  {false, false, false, true}, {true, false, false, false}, {false, false, false, false}};
    for (int s = 0; s < 6; ++s) {
        const int column = s < 3 ? 0 : 1, row = s % 3;
        for (int k = 0; k < 7; ++k) {
            CRect button(CPoint(x + column * 150 + k * 19, y + row * 19), CSize(17, 17));
            pm.PaintTabButton(dc, button, kinds[k], true, states[s].horizontal, states[s].enabled, states[s].hover,
                              states[s].pushed, false, &TabWndObject(), 0);
        }
    }
    canvas.Expect(CRect(x, y + 19 + 8, x + 1, y + 19 + 9), pm.GetColor(COLOR_BTNHIGHLIGHT),
                  look + " hover button frame");
    y += 3 * 19 + 10;

    // The shortcut list: background, scroll buttons, items.
    canvas.Label(x, y, "Shortcut list; text fields");
    y += 18;
    const CRect list(x, y, x + 120, y + 200);
    pm.PaintShortcutListBkgnd(dc, list, nullptr, 0);
    canvas.Expect(CRect(x + 2, y + 100, x + 3, y + 101), pm.GetColor(look == "XP" ? 1000 : COLOR_BTNSHADOW),
                  look + " shortcut list");
    pm.PaintShortcutListScrollButton(dc, false, CRect(x + 100, y + 2, x + 118, y + 20), true, false, false, nullptr, 0);
    pm.PaintShortcutListScrollButton(dc, false, CRect(x + 100, y + 178, x + 118, y + 196), false, true, false, nullptr,
                                     0);
    pm.PaintShortcutListScrollButton(dc, true, CRect(x + 2, y + 178, x + 20, y + 196), true, false, true, nullptr, 0);
    const char* names[] = {"Inbox", "Hover", "Pressed"};
    for (int i = 0; i < 3; ++i) {
        PM::PAINTSHORTCUTLISTITEMSDATA item;
        item.m_pBigIcon = &ItemIcon(pm);
        item.m_rcItem.SetRect(x + 10, y + 6 + i * 46, x + 96, y + 50 + i * 46);
        item.m_rcIcon.SetRect(x + 45, y + 10 + i * 46, x + 61, y + 26 + i * 46);
        item.m_rcText.SetRect(x + 10, y + 30 + i * 46, x + 96, y + 46 + i * 46);
        item.m_rcClient = list;
        item.m_sText = names[i];
        item.m_nState = BYTE(PM::PAINTSHORTCUTLISTITEMSDATA::BigIconView | (i == 1 ? 0x01 : i == 2 ? 0x02 : 0));
        item.m_hFont = static_cast<HFONT>(pm.m_FontNormal.GetSafeHandle());
        pm.PaintShortcutListItem(dc, item);
    }
    {
        // An expanded caption: its background pass, then its text.
        PM::PAINTSHORTCUTLISTITEMSDATA item;
        item.m_rcItem.SetRect(x + 10, y + 144, x + 96, y + 172);
        item.m_rcText.SetRect(x + 12, y + 150, x + 92, y + 166);
        item.m_rcClient = list;
        item.m_sText = "Expanded";
        item.m_hFont = static_cast<HFONT>(pm.m_FontNormal.GetSafeHandle());
        item.m_nState = PM::PAINTSHORTCUTLISTITEMSDATA::Expanded | PM::PAINTSHORTCUTLISTITEMSDATA::ExpandedBackgroundPass;
        pm.PaintShortcutListItem(dc, item);
        item.m_nState = PM::PAINTSHORTCUTLISTITEMSDATA::Expanded;
        pm.PaintShortcutListItem(dc, item);
        canvas.Expect(CRect(x + 12, y + 149, x + 13, y + 150), pm.GetColor(COLOR_INFOBK), look + " expanded caption");
    }

    // Toolbar text fields: plain and with a drop-down, four states each.
    const char* fieldStates[] = {"idle", "hover", "pushed", "disabled"};
    // A pressed field is under the mouse too.
    const BYTE bits[] = {0x08, 0x08 | 0x02, 0x08 | 0x02 | 0x04, 0};
    for (int combo = 0; combo < 2; ++combo)
        for (int s = 0; s < 4; ++s) {
            PM::PAINTTOOLBARTEXTFIELDDATA field;
            const int left = x + 140 + combo * 140, top = y + s * 28;
            field.m_rcField.SetRect(left, top, left + 130, top + 22);
            field.m_rcText.SetRect(left + 3, top + 3, left + 127 - (combo ? 17 : 0), top + 19);
            field.m_sText = fieldStates[s];
            field.m_nDrawTextFlags = DT_SINGLELINE | DT_LEFT | DT_TOP;
            field.m_nState = BYTE(bits[s] | (combo ? 0x01 : 0));
            pm.PaintToolbarTextField(dc, field);
        }

    // A list laid out across, with turned captions: from the top (normal,
    // hover), then from the bottom (normal, pressed).
    {
        const CRect across(x, y + 208, x + 230, y + 290);
        pm.PaintShortcutListBkgnd(dc, across, nullptr, 0);
        for (int i = 0; i < 4; ++i) {
            PM::PAINTSHORTCUTLISTITEMSDATA item;
            const int left = across.left + 8 + i * 54;
            item.m_pSmallIcon = &ItemIcon(pm);
            item.m_rcItem.SetRect(left, across.top + 4, left + 44, across.bottom - 4);
            item.m_rcIcon.SetRect(left + 14, across.top + 6, left + 30, across.top + 22);
            item.m_rcText.SetRect(left + 12, across.top + 26, left + 32, across.bottom - 6);
            item.m_rcClient = across;
            item.m_sText = i < 2 ? "Top" : "Bottom";
            item.m_dwListStyle = i < 2 ? DWORD(PM::PAINTSHORTCUTLISTITEMSDATA::ListStyleTextTop) : 0;
            item.m_nState = BYTE(PM::PAINTSHORTCUTLISTITEMSDATA::VerticalText | (i == 1 ? 0x01 : i == 3 ? 0x02 : 0));
            item.m_hFont = static_cast<HFONT>((i < 2 ? pm.m_FontNormalVert : pm.m_FontNormalVertX).GetSafeHandle());
            pm.PaintShortcutListItem(dc, item);
        }
    }

    // Undo caption and spin buttons beside the shortcut list.
    const int sy = y + 118;
    pm.PaintUndoRedoCaption(dc, CRect(x + 140, sy, x + 330, sy + 24), "Undo 3 Actions", nullptr, 0);
    canvas.Expect(CRect(x + 141, sy + 1, x + 142, sy + 2), pm.GetMenuFrameFillColor(&pm, 0), look + " undo caption");
    const struct {
        bool enabled, flat, border, pushed, hover, highlighted;
    } spins[] = {{true, false, false, false, false, false}, {true, false, false, false, true, false},
                 {true, false, false, true, true, false},  {false, false, false, true, true, false},
                 {true, true, false, false, false, false}, {true, true, true, false, true, true},
                 {true, true, true, true, true, false}};
    for (int i = 0; i < 7; ++i) {
        const auto& s = spins[i];
        const int left = x + 140 + i * 26, top = sy + 34;
        pm.PaintSpinButton(dc, CRect(left, top, left + 18, top + 12), true, false, s.enabled, s.flat, s.border,
                           s.pushed, s.hover, s.highlighted, nullptr, 0);
        pm.PaintSpinButton(dc, CRect(left, top + 12, left + 18, top + 24), false, false, s.enabled, s.flat, s.border,
                           false, s.hover, s.highlighted, nullptr, 0);
        pm.PaintSpinButton(dc, CRect(left, top + 30, left + 10, top + 46), true, true, s.enabled, s.flat, s.border,
                           s.pushed, s.hover, s.highlighted, nullptr, 0);
        pm.PaintSpinButton(dc, CRect(left + 10, top + 30, left + 20, top + 46), false, true, s.enabled, s.flat,
                           s.border, false, s.hover, s.highlighted, nullptr, 0);
    }
}

}  // namespace

GALLERY_PAGE("tabs", &PaintTabs, nullptr);

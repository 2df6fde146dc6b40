// The live page "buttons": real themed buttons in both looks (push, default,
// disabled, hovered, pressed, check boxes, radio buttons, push-like check,
// split drop-down with either part pressed, and a whole-button menu). The
// hovered and pressed rows are put in their state before the snapshot; every
// button still follows the mouse when the page is shown.
#include <string>

#include "button/ext_button.h"
#include "gallery_page.h"

namespace {

// A themed button painting with one column's manager; frees itself with
// its window.
class GalleryButton : public VEzaButton {
public:
    explicit GalleryButton(VEzaPaintManager& pm) : m_pm(pm) {}
    VEzaPaintManager* PmBridge_GetPM() const override { return &m_pm; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    VEzaPaintManager& m_pm;
};

struct Row {
    const char* label;
    const char* text;
    DWORD style;
    BYTE state;      // state bits set before the snapshot
    int pressedPart;
    int check;
    bool menu;
    bool enabled;
    // The face colour left of the caption, classic and XP (colour indices of
    // the manager; -1: a halftone or the box is there, not checked).
    int faceClassic;
    int faceXp;
};

const BYTE kSplit = VEzaButton::STATE_SPLIT;
const BYTE kHover = VEzaButton::STATE_HOVER;
const BYTE kPushed = VEzaButton::STATE_PUSHED;

const Row kRows[] = {
    {"push", "&Push", BS_PUSHBUTTON, 0, 0, 0, false, true, 1000, COLOR_BTNFACE},
    {"default", "&Default", BS_DEFPUSHBUTTON, 0, 0, 0, false, true, 1000, COLOR_BTNFACE},
    {"disabled", "Disa&bled", BS_PUSHBUTTON, 0, 0, 0, false, false, 1000, COLOR_BTNFACE},
    {"hovered", "&Hovered", BS_PUSHBUTTON, kHover, 0, 0, false, true, 1001, 1001},
    {"pressed", "P&ressed", BS_PUSHBUTTON, kHover | kPushed, VEzaButton::PART_MAIN, 0, false, true, -1, 2003},
    {"check", "&Check", BS_AUTOCHECKBOX, 0, 0, 0, false, true, 1000, 1000},
    {"check, checked", "Chec&ked", BS_AUTOCHECKBOX, 0, 0, 1, false, true, 1000, 1000},
    {"radio, checked", "R&adio", BS_AUTORADIOBUTTON, 0, 0, 1, false, true, 1000, 1000},
    {"push-like, checked", "Push-&like", BS_AUTOCHECKBOX | BS_PUSHLIKE, 0, 0, 1, false, true, 1001, 1001},
    {"split", "&Split", BS_PUSHBUTTON, kSplit, 0, 0, true, true, 1000, COLOR_BTNFACE},
    {"split, main hovered", "Spli&t", BS_PUSHBUTTON, kSplit | kHover, VEzaButton::PART_MAIN, 0, true, true, 1001,
     1001},
    {"split, drop-down pressed", "Split &2", BS_PUSHBUTTON, kSplit | kHover | kPushed, VEzaButton::PART_DROPDOWN, 0,
     true, true, 1001, 1001},
    {"whole menu", "&Menu", BS_PUSHBUTTON, 0, 0, 0, true, true, 1000, COLOR_BTNFACE},
};

const int kTop = 36;
const int kRowHeight = 34;
const int kLabelWidth = 170;
const CSize kButton(140, 24);

CRect ButtonRect(const CRect& area, int row)
{
    return CRect(CPoint(area.left + 10 + kLabelWidth, area.top + kTop + row * kRowHeight), kButton);
}

void PaintButtons(GalleryCanvas& canvas, const CRect& area)
{
    canvas.Label(area.left + 10, area.top + 8, canvas.pm.GetRuntimeClass()->m_lpszClassName, true);
    for (int i = 0; i < int(std::size(kRows)); ++i) {
        const CRect button = ButtonRect(area, i);
        canvas.Label(area.left + 10, button.top + 5, kRows[i].label);
        const int face = canvas.look == "XP" ? kRows[i].faceXp : kRows[i].faceClassic;
        if (face >= 0)
            canvas.Expect(CRect(CPoint(button.left + 3, button.top + 3), CSize(3, 3)), canvas.pm.GetColor(face),
                          std::string(canvas.look) + " " + kRows[i].label + " face");
    }
}

void CreateColumn(HWND parent, VEzaPaintManager& pm, const CRect& area)
{
    for (int i = 0; i < int(std::size(kRows)); ++i) {
        const Row& row = kRows[i];
        const CRect r = ButtonRect(area, i);
        HWND wnd = ::CreateWindowExA(0, "BUTTON", row.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | row.style, r.left,
                                     r.top, r.Width(), r.Height(), parent, HMENU(UINT_PTR(100 + i)),
                                     ::GetModuleHandleA(nullptr), nullptr);
        if (wnd == nullptr) continue;
        ::SendMessageA(wnd, WM_SETFONT, WPARAM(pm.m_FontNormal.GetSafeHandle()), FALSE);
        if (row.check != 0) ::SendMessageA(wnd, BM_SETCHECK, WPARAM(row.check), 0);
        if (!row.enabled) ::EnableWindow(wnd, FALSE);
        auto* button = new GalleryButton(pm);
        if (!button->SubclassWindow(wnd)) {
            delete button;
            continue;
        }
        if (row.menu) {
            button->m_menu.CreatePopupMenu();
            button->m_menu.AppendMenu(MF_STRING, 201, "First");
            button->m_menu.AppendMenu(MF_STRING, 202, "Second");
        }
        button->m_nState |= row.state;
        button->m_nPressedPart = row.pressedPart;
        button->Invalidate(FALSE);
    }
}

void CreateButtons(HWND parent, VEzaPaintManager& classic, VEzaPaintManager& xp)
{
    CreateColumn(parent, classic, CRect(0, 0, kGalleryColumnWidth, kGalleryHeight));
    CreateColumn(parent, xp, CRect(kGalleryColumnWidth, 0, 2 * kGalleryColumnWidth, kGalleryHeight));
}

}  // namespace

GALLERY_PAGE("buttons", PaintButtons, CreateButtons);

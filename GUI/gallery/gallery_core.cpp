// The core painters in every state: icons beside their text, bar caption
// buttons, system-command glyphs, push buttons (flat and raised, drop-down,
// right to left, vertical, with icon) and check and radio buttons.
#include <cstring>
#include <string>
#include <vector>

#include "gallery_page.h"
#include "icons/cmd_icon.h"

namespace {

using PM = VEzaPaintManager;
using PushData = PM::PAINTPUSHBUTTONDATA;
using BoxData = PM::PAINTCHECKRADIOBUTTONDATA;

// A 16 by 16 picture: a blue square with a yellow diagonal band and a
// magenta (transparent) corner.
void SampleIcon(VEzaCmdIcon& icon) {
    std::vector<unsigned> px(16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            unsigned c = 0x2050C0;
            if (std::abs(x - y) <= 2) c = 0xF0D020;
            if (x + y > 25) c = 0xFF00FF;
            if (x == 0 || y == 0 || x == 15 || y == 15) c = x + y > 25 ? 0xFF00FF : 0x102040;
            px[size_t(y) * 16 + size_t(x)] = c;
        }
    icon.AssignFromHBITMAP(::CreateBitmap(16, 16, 1, 32, px.data()), RGB(255, 0, 255), nullptr, false);
}

// The text of an item in its caption rectangle, as the callers of PaintIcon do.
void ItemText(GalleryCanvas& canvas, const CRect& r, const char* text) {
    CDC& dc = canvas.dc;
    CFont* old = dc.SelectObject(&canvas.pm.m_FontNormal);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    CRect t(r);
    dc.DrawText(text, -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    dc.SelectObject(old);
}

void PaintIcons(GalleryCanvas& canvas, int x, int& y, VEzaCmdIcon& icon) {
    canvas.Label(x, y, "PaintIcon: normal, hover, pushed, disabled, after text, no text");
    y += 18;
    struct State {
        bool pushed, enabled, hover, after;
        const char* text;
    };
    const State states[] = {{false, true, false, false, "Item"}, {false, true, true, false, "Item"},
                            {true, true, true, false, "Item"},   {false, false, false, false, "Item"},
                            {false, true, false, true, "Item"},  {false, true, true, false, ""}};
    int left = x;
    for (const State& s : states) {
        const CRect item(left, y, left + 64, y + 24);
        canvas.dc.FillSolidRect(&item, canvas.pm.GetColor(COLOR_BTNFACE));
        RECT caption = {};
        canvas.pm.PaintIcon(canvas.dc, true, s.text, &icon, item, caption, s.pushed, s.enabled, s.hover, 8, s.after);
        if (*s.text != '\0') ItemText(canvas, CRect(caption), s.text);
        left += 68;
    }
    y += 32;
}

void PaintCaptionButtons(GalleryCanvas& canvas, int x, int& y) {
    canvas.Label(x, y, "Caption buttons: normal, hover, pushed, disabled; active bar");
    y += 18;
    const int glyphs[] = {PM::GlyphClose,    PM::GlyphOptions,     PM::GlyphMinimize, PM::GlyphRestore,
                          PM::GlyphMaximize, PM::GlyphContextHelp, PM::GlyphAutoHide, PM::GlyphAutoHidden};
    struct State {
        bool hover, pushed, enabled, active;
    };
    const State states[] = {{false, false, true, false},
                            {true, false, true, false},
                            {false, true, true, false},
                            {true, false, false, false},
                            {false, false, true, true}};
    int row = 0;
    for (const State& s : states) {
        const int top = y + (row / 3) * 22, startX = x + (row % 3) * 140;
        // The bar caption behind them: in the XP look a grey caption when the
        // bar is inactive, the light face when it is active (and behind the
        // disabled ones, which are drawn in that grey).
        const bool xp = canvas.look == "XP";
        const COLORREF back =
            canvas.pm.GetColor(xp ? (s.active || !s.enabled ? 2000 : COLOR_BTNSHADOW) : COLOR_BTNFACE);
        canvas.dc.FillSolidRect(startX - 3, top - 3, 8 * 16 + 4, 20, back);
        for (int i = 0; i < 8; ++i) {
            const CRect r(startX + i * 16, top, startX + i * 16 + 13, top + 13);
            PM::PAINTDOCKINGCAPTIONBUTTONDATA data(nullptr, r, glyphs[i], s.hover, s.pushed, s.enabled, s.active,
                                                   false, false);
            canvas.pm.PaintDockingCaptionButton(canvas.dc, data);
            if (i == 0 && row == 1 && xp)
                canvas.Expect(CRect(r.left, r.top, r.left + 1, r.top + 1), canvas.pm.GetColor(1001),
                              canvas.look + " hovered caption button");
        }
        ++row;
    }
    y += 2 * 22 + 8;
}

void PaintSysCmdGlyphs(GalleryCanvas& canvas, int x, int& y) {
    canvas.Label(x, y, "System-command glyphs: normal, hover, pushed, disabled");
    y += 18;
    const UINT commands[] = {SC_MINIMIZE, SC_RESTORE, SC_MAXIMIZE, SC_CLOSE, SC_CONTEXTHELP};
    struct State {
        bool hover, pushed, enabled;
    };
    const State states[] = {{false, false, true}, {true, false, true}, {true, true, true}, {false, false, false}};
    int left = x;
    for (const State& s : states) {
        for (UINT command : commands) {
            const CRect r(left, y, left + 18, y + 18);
            // The face the menu bar gives them.
            canvas.dc.FillSolidRect(&r, canvas.pm.GetColor(s.hover ? 1001 : 1000));
            canvas.pm.PaintSysCmdGlyph(canvas.dc, command, r, s.hover, s.pushed, s.enabled);
            left += 20;
        }
        left += 4;
    }
    y += 26;
}

void PaintPushButtons(GalleryCanvas& canvas, int x, int& y, VEzaCmdIcon& icon) {
    PM& pm = canvas.pm;
    const std::string& look = canvas.look;
    canvas.Label(x, y, "Push buttons: raised, then flat toolbar buttons");
    y += 18;
    struct State {
        const char* text;
        bool flat, hover, pushed, enabled, focus, isDefault;
    };
    const State states[] = {
        {"&Normal", false, false, false, true, false, false}, {"&Hover", false, true, false, true, false, false},
        {"&Pushed", false, false, true, true, false, false},  {"Hov+Push", false, true, true, true, false, false},
        {"&Disabled", false, false, false, false, false, false}, {"De&fault", false, false, false, true, true, true},
        {"Flat", true, false, false, true, false, false},     {"Flat hov", true, true, false, true, false, false},
        {"Flat push", true, false, true, true, false, false}, {"Flat h+p", true, true, true, true, false, false},
    };
    int i = 0;
    for (const State& s : states) {
        const CRect r(x + (i % 5) * 82, y + (i / 5) * 28, x + (i % 5) * 82 + 78, y + (i / 5) * 28 + 24);
        PushData d(nullptr, true, r, s.text, nullptr, s.flat, s.hover, s.pushed, false, s.enabled, true, s.focus,
                   s.isDefault, 9);
        pm.PaintPushButton(canvas.dc, d);
        ++i;
    }
    // The faces the painters must give (a swatch at a corner inside the frame).
    const CRect normal(x + 3, y + 3, x + 4, y + 4), hover(x + 82 + 3, y + 3, x + 82 + 4, y + 4);
    canvas.Expect(normal, pm.GetColor(look == "XP" ? COLOR_BTNFACE : 1000), look + " push button face");
    canvas.Expect(hover, pm.GetColor(1001), look + " hovered push button face");
    y += 2 * 28 + 4;

    canvas.Label(x, y, "Drop-down: whole, split, part pressed, right to left; icons");
    y += 18;
    struct Drop {
        const char* text;
        bool separated, hover, pushed, dropPushed, rtl, withIcon;
    };
    const Drop drops[] = {
        {"Menu", false, false, false, false, false, false}, {"Split", true, true, false, false, false, false},
        {"Split", true, true, false, true, false, false},   {"Split", true, false, true, false, false, false},
        {"Split", true, true, false, false, true, false},   {"Icon", false, false, false, false, false, true},
        {"Icon", false, true, false, false, false, true},   {"Icon", false, true, true, false, false, true},
        {"Icon", false, false, false, false, false, true},  {"", true, true, false, false, false, true},
    };
    i = 0;
    for (const Drop& s : drops) {
        const CRect r(x + (i % 5) * 82, y + (i / 5) * 28, x + (i % 5) * 82 + 78, y + (i / 5) * 28 + 24);
        const bool enabled = i != 8;
        PushData d(nullptr, true, r, s.text, s.withIcon ? &icon : nullptr, i >= 5, s.hover, s.pushed, false, enabled,
                   true, false, false, 9, nullptr, i < 5 || i == 9);
        d.m_bSeparatedDropDown = s.separated;
        d.m_bDropDownPushed = s.dropPushed;
        d.m_bForceRtl = s.rtl;
        pm.PaintPushButton(canvas.dc, d);
        ++i;
    }
    y += 2 * 28 + 4;

    canvas.Label(x, y, "Vertical: normal, hover, pushed, disabled, drop-down; system glyph");
    y += 18;
    struct Vertical {
        const char* text;
        bool hover, pushed, enabled, drop;
    };
    const Vertical verticals[] = {{"&Vertical", false, false, true, false},
                                  {"&Vertical", true, false, true, false},
                                  {"&Vertical", false, true, true, false},
                                  {"&Vertical", false, false, false, false},
                                  {"Drop", true, false, true, true}};
    i = 0;
    for (const Vertical& s : verticals) {
        const CRect r(x + i * 30, y, x + i * 30 + 24, y + 86);
        PushData d(nullptr, false, r, s.text, nullptr, false, s.hover, s.pushed, false, s.enabled, true, false, false,
                   9, nullptr, s.drop);
        d.m_bSeparatedDropDown = s.drop;
        pm.PaintPushButton(canvas.dc, d);
        ++i;
    }
    // Caption buttons of a maximised document as push buttons with glyphs.
    const UINT commands[] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};
    for (int k = 0; k < 3; ++k) {
        const CRect r(x + 160 + k * 26, y, x + 160 + k * 26 + 22, y + 20);
        PushData d(nullptr, true, r, "", nullptr, true, k == 1, false, false, true, true, false, false, 9, nullptr,
                   false, commands[k]);
        pm.PaintPushButton(canvas.dc, d);
    }
    // A multi-line caption.
    {
        const CRect r(x + 250, y, x + 400, y + 44);
        PushData d(nullptr, true, r, "A caption broken into two lines", nullptr, false, false, false, false, true,
                   true, false, false, 9);
        d.m_bWordBreak = true;
        pm.PaintPushButton(canvas.dc, d);
    }
    y += 94;
}

void PaintBoxes(GalleryCanvas& canvas, int x, int& y) {
    PM& pm = canvas.pm;
    canvas.Label(x, y, "Check and radio: normal, hover, pushed, disabled; focus");
    y += 18;
    struct State {
        bool hover, pushed, enabled, focus;
    };
    const State states[] = {{false, false, true, false},
                            {true, false, true, false},
                            {true, true, true, false},
                            {false, false, false, false}};
    const PM::eBoxState_t checks[] = {PM::BoxUnchecked, PM::BoxChecked, PM::BoxIndeterminate};
    for (int c = 0; c < 3; ++c) {
        for (int s = 0; s < 4; ++s) {
            const CRect r(x + s * 102, y, x + s * 102 + 98, y + 18);
            const char* names[] = {"Check", "Checked", "Mixed"};
            BoxData d(nullptr, r, names[c], checks[c], false, false, states[s].hover, states[s].pushed,
                      states[s].enabled, c == 0 && s == 0);
            pm.PaintCheckButton(canvas.dc, d);
        }
        y += 20;
    }
    for (int c = 0; c < 2; ++c) {
        for (int s = 0; s < 4; ++s) {
            const CRect r(x + s * 102, y, x + s * 102 + 98, y + 18);
            BoxData d(nullptr, r, c == 0 ? "Radio" : "Chosen", checks[c], s == 3, false, states[s].hover,
                      states[s].pushed, states[s].enabled, c == 1 && s == 0, s == 3 ? 2 : 0);
            pm.PaintRadioButton(canvas.dc, d);
        }
        y += 20;
    }
}

void PaintCore(GalleryCanvas& canvas, const CRect& area) {
    static VEzaCmdIcon icon;
    if (icon.IsEmpty()) SampleIcon(icon);
    const int x = area.left + 10;
    int y = area.top + 6;
    canvas.Label(x, y, canvas.pm.GetRuntimeClass()->m_lpszClassName, true);
    y += 22;
    PaintIcons(canvas, x, y, icon);
    PaintCaptionButtons(canvas, x, y);
    PaintSysCmdGlyphs(canvas, x, y);
    PaintPushButtons(canvas, x, y, icon);
    PaintBoxes(canvas, x, y);
}

}  // namespace

GALLERY_PAGE("core", PaintCore, nullptr);

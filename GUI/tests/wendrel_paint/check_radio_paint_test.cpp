// Check boxes and radio buttons: box and label layout without drawing, the
// state table of the boxes through fake visual-style functions and through
// DrawFrameControl, the label's colour, alignment and focus frame as pixels.
#include <climits>
#include <cstring>

#include "paint_test_util.h"

using namespace pt;

namespace {

using PM = VEzaPaintManager;
using Data = PM::PAINTCHECKRADIOBUTTONDATA;
const COLORREF kBack = RGB(1, 2, 3), kInk = RGB(9, 99, 199);

// Visual-style functions that record what is drawn.
namespace fake {
bool themed = true;
HRESULT drawResult = S_OK;
std::vector<std::pair<int, int>> drawn;  // part, state
HTHEME const kTheme = reinterpret_cast<HTHEME>(0x5150);
BOOL WINAPI IsAppThemed() { return themed; }
HTHEME WINAPI OpenThemeData(HWND, LPCWSTR list) { return ::lstrcmpW(list, L"BUTTON") == 0 ? kTheme : nullptr; }
HRESULT WINAPI CloseThemeData(HTHEME) { return S_OK; }
HRESULT WINAPI DrawThemeBackground(HTHEME, HDC, int part, int state, const RECT*, const RECT*) {
    drawn.emplace_back(part, state);
    return drawResult;
}
FARPROC Resolve(void*, const char* name) {
    const struct {
        const char* name;
        void* fn;
    } table[] = {{"IsAppThemed", (void*)&IsAppThemed},
                 {"OpenThemeData", (void*)&OpenThemeData},
                 {"CloseThemeData", (void*)&CloseThemeData},
                 {"DrawThemeBackground", (void*)&DrawThemeBackground}};
    for (const auto& e : table)
        if (std::strcmp(e.name, name) == 0) return reinterpret_cast<FARPROC>(e.fn);
    return nullptr;
}
FARPROC Missing(void*, const char*) { return nullptr; }
}  // namespace fake

// Binds the fake (or no) visual style while it lives.
struct BoundTheme {
    explicit BoundTheme(bool present) : saved(g_PaintManager.m_UxTheme.m_dwComCtlVersion) {
        g_PaintManager.m_UxTheme.Bind(present ? &fake::Resolve : &fake::Missing, nullptr);
        g_PaintManager.m_UxTheme.m_dwComCtlVersion = MAKELONG(0, 6);
        fake::drawn.clear();
        fake::themed = true;
        fake::drawResult = S_OK;
    }
    ~BoundTheme() {
        g_PaintManager.m_UxTheme.Bind(nullptr, nullptr);
        g_PaintManager.m_UxTheme.BindModule();
        g_PaintManager.m_UxTheme.m_dwComCtlVersion = saved;
    }
    DWORD saved;
};

Data Record(const CRect& rect, LPCSTR text, PM::eBoxState_t state, bool enabled = true, bool hover = false,
            bool pushed = false, bool focused = false, bool boxAtRight = false, int alignment = 0) {
    return Data(nullptr, rect, text, state, boxAtRight, false, hover, pushed, enabled, focused, alignment);
}

}  // namespace

WTEST(check_radio_layout_of_box_and_label) {
    struct Case {
        CRect client;
        bool boxAtRight;
        CRect box, label;
    };
    const Case cases[] = {
        {CRect(0, 0, 100, 20), false, CRect(0, 0, 13, 13), CRect(18, 1, 99, 19)},
        {CRect(0, 0, 100, 20), true, CRect(87, 0, 100, 13), CRect(2, 1, 84, 19)},
        {CRect(10, 5, 60, 40), false, CRect(10, 5, 23, 18), CRect(28, 6, 59, 39)},
    };
    for (const Case& c : cases) {
        const PM::check_radio_layout_t layout = PM::stat_LayoutCheckRadio(c.client, CSize(13, 13), c.boxAtRight);
        WCHECK_EQ(Str(layout.box), Str(c.box));
        WCHECK_EQ(Str(layout.label), Str(c.label));
    }
    PM pm;
    WCHECK_EQ(Str(CRect(CPoint(0, 0), pm.GetCheckButtonBoxSize())), Str(CRect(0, 0, 13, 13)));
    WCHECK_EQ(Str(CRect(CPoint(0, 0), pm.GetRadioButtonBoxSize())), Str(CRect(0, 0, 13, 13)));
}

WTEST(check_radio_box_states_through_the_visual_style) {
    InjectedSystem sys(32);
    PM pm;
    pm.OnSysColorChange();
    BoundTheme theme(true);
    struct Case {
        PM::eBoxState_t state;
        bool enabled, hover, pushed;
        int check, radio;  // theme states; 0: nothing themed
    };
    const Case cases[] = {
        {PM::BoxUnchecked, true, false, false, 1, 1},      {PM::BoxChecked, true, false, false, 5, 5},
        {PM::BoxIndeterminate, true, false, false, 9, 0},  {PM::BoxUnchecked, true, false, true, 3, 3},
        {PM::BoxChecked, true, true, true, 7, 7},          {PM::BoxIndeterminate, true, false, true, 11, 0},
        {PM::BoxUnchecked, true, true, false, 2, 2},       {PM::BoxChecked, true, true, false, 6, 6},
        {PM::BoxIndeterminate, true, true, false, 10, 0},  {PM::BoxUnchecked, false, true, true, 4, 4},
        {PM::BoxChecked, false, false, false, 8, 8},       {PM::BoxIndeterminate, false, false, false, 12, 0},
    };
    for (const Case& c : cases) {
        Dib dib(40, 20, kBack);
        DibCDC dc(dib);
        Data d = Record(CRect(0, 0, 40, 20), "", c.state, c.enabled, c.hover, c.pushed);
        fake::drawn.clear();
        pm.PaintCheckButton(dc, d);
        pm.PaintRadioButton(dc, d);
        std::vector<std::pair<int, int>> expected = {{3, c.check}};
        if (c.radio != 0) expected.emplace_back(2, c.radio);
        WCHECK(fake::drawn == expected);
    }
    // A failing theme call falls back to the frame control.
    fake::drawResult = E_FAIL;
    Dib dib(40, 20, kBack);
    DibCDC dc(dib);
    Data d = Record(CRect(0, 0, 40, 20), "", PM::BoxChecked);
    pm.PaintCheckButton(dc, d);
    WCHECK(dib.CountOther(d.m_rcBox, kBack) > 0);
}

WTEST(check_radio_boxes_without_visual_style_use_frame_controls) {
    InjectedSystem sys(32);
    PM pm;
    pm.OnSysColorChange();
    BoundTheme theme(false);
    struct Case {
        PM::eBoxState_t state;
        bool enabled, pushed, radio, flat;
        UINT flags;
    };
    const Case cases[] = {
        {PM::BoxUnchecked, true, false, false, false, DFCS_BUTTONCHECK},
        {PM::BoxChecked, true, false, false, true, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT},
        {PM::BoxIndeterminate, true, true, false, false,
         DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_PUSHED | DFCS_BUTTON3STATE},
        {PM::BoxChecked, false, false, false, false, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE},
        {PM::BoxChecked, true, true, true, false, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_PUSHED},
        {PM::BoxUnchecked, false, false, true, false, DFCS_BUTTONRADIO | DFCS_INACTIVE},
        // A radio box has no mixed state: an empty frame control.
        {PM::BoxIndeterminate, true, false, true, false, DFCS_BUTTONRADIO},
    };
    for (const Case& c : cases) {
        Dib painted(40, 20, kBack), expected(40, 20, kBack);
        Data d = Record(CRect(0, 0, 40, 20), "", c.state, c.enabled, false, c.pushed);
        d.m_bFlat = c.flat;
        {
            DibCDC dc(painted);
            if (c.radio)
                pm.PaintRadioButton(dc, d);
            else
                pm.PaintCheckButton(dc, d);
        }
        WCHECK_EQ(Str(d.m_rcBox), Str(CRect(0, 3, 13, 16)));
        RECT box = d.m_rcBox;
        ::DrawFrameControl(expected.dc(), &box, DFC_BUTTON, c.flags);
        WCHECK(painted.Pixels() == expected.Pixels());
        WCHECK(painted.CountOther(CRect(0, 0, 40, 20), kBack) > 0);
    }
}

WTEST(check_radio_label_colour_alignment_and_focus) {
    InjectedSystem sys(32);
    PM pm;
    pm.OnSysColorChange();
    BoundTheme theme(false);
    const CRect client(0, 0, 160, 40);
    const COLORREF text = pm.GetColor(COLOR_BTNTEXT), shadow = pm.GetColor(COLOR_BTNSHADOW);
    struct Case {
        int alignment;
        bool boxAtRight, enabled, hover, pushed;
        COLORREF hoverColour, ink;
        CRect box;
    };
    const Case cases[] = {
        {0, false, true, false, false, COLORREF(-1), text, CRect(0, 13, 13, 26)},
        {1, false, true, true, false, kInk, kInk, CRect(0, 13, 13, 26)},
        {2 | 4, true, true, true, true, kInk, kInk, CRect(147, 0, 160, 13)},
        {0x10, false, false, true, false, kInk, shadow, CRect(0, 27, 13, 40)},
    };
    for (const Case& c : cases) {
        Dib dib(160, 40, kBack);
        DibCDC dc(dib);
        Data d = Record(client, "Label", PM::BoxUnchecked, c.enabled, c.hover, c.pushed, false, c.boxAtRight,
                        c.alignment);
        d.m_clrHoverText = c.hoverColour;
        pm.PaintCheckButton(dc, d);
        WCHECK_EQ(Str(d.m_rcBox), Str(c.box));
        const CRect ink = Bounds(dib, c.ink);
        const CRect label = PM::stat_LayoutCheckRadio(client, CSize(13, 13), c.boxAtRight).label;
        WCHECK(!ink.IsRectEmpty());
        WCHECK(ink.left >= label.left && ink.right <= label.right && ink.top >= label.top &&
               ink.bottom <= label.bottom);
        switch (c.alignment & 3) {
        case 0: WCHECK(ink.left - label.left <= 2); break;
        case 1: WCHECK(std::abs((ink.left + ink.right) / 2 - (label.left + label.right) / 2) <= 2); break;
        default: {
            // Right: the same ink as at the left, moved by the free width.
            Dib left(160, 40, kBack);
            DibCDC leftDc(left);
            Data l = d;
            l.m_nTextAlignment = c.alignment & ~3;
            pm.PaintCheckButton(leftDc, l);
            CRect measured(0, 0, 0, 0);
            CFont* old = dc.SelectObject(&pm.m_FontNormal);
            dc.DrawText("Label", -1, &measured, DT_CALCRECT | DT_SINGLELINE);
            dc.SelectObject(old);
            const CRect leftInk = Bounds(left, c.ink);
            WCHECK_EQ(ink.left - leftInk.left, label.Width() - measured.Width());
            WCHECK_EQ(ink.Width(), leftInk.Width());
            break;
        }
        }
        if ((c.alignment & 0x1C) == 4) WCHECK(ink.top - label.top <= 4);
        if ((c.alignment & 0x1C) == 0x10) WCHECK(label.bottom - ink.bottom <= 5);
        if ((c.alignment & 0x1C) == 0)
            WCHECK(std::abs((ink.top + ink.bottom) / 2 - (label.top + label.bottom) / 2) <= 2);
    }
    // Focus: a frame round the text, none when disabled; an empty label draws
    // only the box.
    for (bool enabled : {true, false}) {
        Dib with(160, 40, kBack), without(160, 40, kBack);
        for (Dib* target : {&with, &without}) {
            DibCDC dc(*target);
            Data d = Record(client, "Label", PM::BoxChecked, enabled, false, false, target == &with);
            pm.PaintCheckButton(dc, d);
        }
        WCHECK_EQ(with.Pixels() != without.Pixels(), enabled);
    }
    Dib dib(160, 40, kBack);
    DibCDC dc(dib);
    Data d = Record(client, "", PM::BoxChecked, true, false, false, true);
    pm.PaintCheckButton(dc, d);
    WCHECK_EQ(dib.CountOther(client, kBack), dib.CountOther(d.m_rcBox, kBack));
}

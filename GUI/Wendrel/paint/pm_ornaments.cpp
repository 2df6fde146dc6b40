// The small ornaments of menus and bars: the XP menu separator, the XP
// gripper and bar caption, the menu scroll and expand buttons, the toolbar's
// chevron button and the date picker's client background.
#include "paint/paint_manager.h"
#include "paint/pm_frame_draw.h"
#include "toolkit/bar_types.h"
#include "toolkit/menu_types.h"

#include <algorithm>

namespace {

bool IsRtlMenu(CObject* object) {
    return object != nullptr && object->IsKindOf(RUNTIME_CLASS(VEzaPopupMenuWnd)) &&
           static_cast<VEzaPopupMenuWnd*>(object)->OnQueryLayoutRTL();
}

// A floating frame whose bar keeps a fixed size cuts its caption instead of
// ending it with an ellipsis.
bool IsFixedModeMiniFrame(CObject* object) {
    if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(VEzaMiniDockFrameWnd))) return false;
    HWND frame = static_cast<CWnd*>(object)->GetSafeHwnd();
    HWND first = frame != nullptr ? ::GetWindow(frame, GW_CHILD) : nullptr;
    HWND inner = first != nullptr ? ::GetWindow(first, GW_CHILD) : nullptr;
    CWnd* bar = inner != nullptr ? CWnd::FromHandlePermanent(inner) : nullptr;
    return bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(VEzaControlBar)) &&
           static_cast<VEzaControlBar*>(bar)->IsFixedMode();
}

// An item with no text, icon or mark: the menu's background under a button.
VEzaPaintManager::PAINTMENUITEMDATA EmptyItem(CObject* source, LPARAM lParam, const CRect& r, int gutter) {
    VEzaPaintManager::PAINTMENUITEMDATA item(source, r, r, gutter, "", "", nullptr, false, false, false, false,
                                             false, true, false, false, false, 0, nullptr);
    item.m_lParam = lParam;
    return item;
}

}  // namespace

void VEzaPaintManagerXP::PaintMenuSeparator(CDC& dc, const RECT& rect, int gutterWidth, bool rarelyUsed,
                                            CObject* object, LPARAM lParam) {
    const CRect r(rect);
    if (r.IsRectEmpty()) return;
    const bool rtl = IsRtlMenu(object);
    CRect gutter(r), rest(r);
    if (rtl) {
        gutter.left = r.right - gutterWidth;
        rest.right = gutter.left;
    } else {
        gutter.right = r.left + gutterWidth;
        rest.left = gutter.right;
    }
    pmdraw::Fill(dc, gutter, GetColor(rarelyUsed ? 2005 : 1000, object, lParam));
    pmdraw::Fill(dc, rest, GetColor(2001, object, lParam));
    const int y = r.top + r.Height() / 2 - 1;
    const CRect line = rtl ? CRect(r.left, y, rest.right - 3, y + 1) : CRect(rest.left + 3, y, r.right, y + 1);
    pmdraw::Fill(dc, line, GetColor(2002, object, lParam));
}

void VEzaPaintManagerXP::PaintGripper(CDC& dc, PAINTGRIPPERDATA& data) {
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    const bool active = data.Has(PAINTGRIPPERDATA::Active), floating = data.Has(PAINTGRIPPERDATA::Floating);
    const bool horzBar = data.Has(PAINTGRIPPERDATA::HorzBar), sideBar = data.Has(PAINTGRIPPERDATA::SideBar);
    const CRect gripper(data.m_rcGripper);
    if (sideBar || floating) {
        const COLORREF back =
            sideBar ? GetColor(active ? COLOR_HIGHLIGHT : 2000, object, lParam) : GetColor(COLOR_BTNSHADOW, object, lParam);
        const bool background = !data.Has2(PAINTGRIPPERDATA::NoBackground);
        if (background) pmdraw::Fill(dc, gripper, back);
        if (sideBar && background && !active && !floating) {
            const COLORREF shadow = GetColor(COLOR_BTNSHADOW, object, lParam);
            stat_PaintFrameWithoutCorners(dc, gripper, shadow, shadow);
        }
        const CRect caption(data.m_rcText);
        if (data.m_sCaption == nullptr || data.m_sCaption[0] == '\0' || caption.right <= caption.left ||
            caption.bottom <= caption.top)
            return;
        const COLORREF text = GetColor(active || !sideBar ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT, object, lParam);
        CFont& font = horzBar ? (sideBar ? m_FontNormalVertXBC : m_FontBoldVertXBC)
                              : (sideBar ? m_FontNormalBC : m_FontBoldBC);
        CFont* oldFont = dc.SelectObject(&font);
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        const COLORREF oldText = dc.SetTextColor(text);
        if (horzBar) {
            LOGFONTA lf = {};
            font.GetLogFont(&lf);
            CRect t(caption);
            t.OffsetRect(caption.left + 1 + (caption.Width() - std::abs(lf.lfHeight)) / 2 - t.left,
                         caption.bottom - t.top);
            t.DeflateRect(2, 2);
            const int saved = dc.SaveDC();
            dc.ExcludeClipRect(gripper.left, gripper.top, gripper.right, caption.top);
            t.OffsetRect(-2, -3);
            dc.DrawText(data.m_sCaption, -1, &t, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
            dc.RestoreDC(saved);
        } else {
            const UINT align = data.Has2(PAINTGRIPPERDATA::RightToLeft) ? DT_RIGHT : DT_LEFT;
            CRect r(caption);
            if (IsFixedModeMiniFrame(object)) {
                CString s(data.m_sCaption);
                while (!s.IsEmpty() && dc.GetTextExtent(s).cx > r.Width()) s.Delete(s.GetLength() - 1);
                if (!s.IsEmpty()) dc.DrawText(s, &r, align | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
            } else {
                dc.DrawText(data.m_sCaption, -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
            }
        }
        dc.SetTextColor(oldText);
        dc.SetBkMode(oldMode);
        dc.SelectObject(oldFont);
        return;
    }

    // The toolbar gripper: a dotted strip.
    const COLORREF face = GetColor(1000, object, lParam);
    if (!pmdraw::IsToolbarInheritingBackground(object))
        pmdraw::Fill(dc, CRect(gripper.left + 1, gripper.top + 1, gripper.right - 1, gripper.bottom - 1), face);
    CBitmap pattern;
    if (stat_GetBPP() > 8) {
        CDC memory;
        if (!memory.CreateCompatibleDC(&dc) || !pattern.CreateCompatibleBitmap(&dc, 8, 8)) return;
        CBitmap* old = memory.SelectObject(&pattern);
        memory.FillSolidRect(0, 0, 8, 8, face);
        const COLORREF shadow = GetColor(COLOR_BTNSHADOW, object, lParam);
        const COLORREF btnFace = GetColor(COLOR_BTNFACE, object, lParam);
        const COLORREF dots = memory.GetNearestColor(RGB((GetRValue(shadow) + 2 * GetRValue(btnFace)) / 3,
                                                         (GetGValue(shadow) + 2 * GetGValue(btnFace)) / 3,
                                                         (GetBValue(shadow) + 2 * GetBValue(btnFace)) / 3));
        for (int i = 0; i < 8; i += 2) {
            if (horzBar)
                pmdraw::Line(memory, 0, i, 8, i, dots);
            else
                pmdraw::Line(memory, i, 0, i, 8, dots);
        }
        memory.SelectObject(old);
    } else {
        static const WORD kRows[8] = {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00};
        static const WORD kColumns[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
        if (!pattern.CreateBitmap(8, 8, 1, 1, horzBar ? kRows : kColumns)) return;
    }
    CBrush brush;
    if (!brush.CreatePatternBrush(&pattern)) return;
    CRect strip(gripper);
    if (horzBar) {
        strip.DeflateRect(5, 2);
        strip.right = strip.left + 5;
        strip.DeflateRect(1, 0);
    } else {
        strip.OffsetRect(1, 0);
        strip.DeflateRect(2, 5);
        strip.bottom = strip.top + 5;
        strip.DeflateRect(0, 1);
    }
    if (strip.IsRectEmpty()) return;
    const COLORREF oldBack = dc.SetBkColor(GetColor(2001, object, lParam));
    CBrush* oldBrush = dc.SelectObject(&brush);
    dc.PatBlt(strip.left, strip.top, strip.Width(), strip.Height(), 0x00A000C9);
    dc.SelectObject(oldBrush);
    dc.SetBkColor(oldBack);
}

void VEzaPaintManager::PaintMenuScrollButton(CDC& dc, bool pushed, bool tracking, bool direction, const RECT& rect,
                                             CObject* source, LPARAM lParam) {
    PAINTPUSHBUTTONDATA button(source, true, rect, direction ? "t" : "u", nullptr, true, false, pushed || tracking,
                               false, true, true, false, false, 9, HFONT(m_FontMarlett.GetSafeHandle()), false, 0,
                               false);
    button.m_lParam = lParam;
    PaintPushButton(dc, button);
}

void VEzaPaintManager::PaintMenuExpandButton(CDC& dc, const RECT& rect, bool pushed, bool, CObject* source,
                                             LPARAM lParam) {
    CRect r(rect);
    r.DeflateRect(1, 0);
    if (pushed) {
        pmdraw::Fill(dc, r, m_brushHelper[0]);
        pmdraw::Edge(dc, r, GetColor(1004, source, lParam), GetColor(1006, source, lParam));
    } else {
        PAINTMENUITEMDATA item = EmptyItem(source, lParam, r, 0);
        PaintMenuItem(dc, item);
    }
    const COLORREF colours[2] = {0, GetColor(1010, source, lParam)};
    PaintGlyphCentered(dc, r, GlyphExpandRight2Turned(), colours);
}

void VEzaPaintManagerXP::PaintMenuExpandButton(CDC& dc, const RECT& rect, bool pushed, bool, CObject* source,
                                               LPARAM lParam) {
    CRect r(rect);
    CRect glyph(r);
    if (pushed) {
        PAINTPUSHBUTTONDATA button(source, true, r, "", nullptr, true, false, true, false, false, true, false,
                                   false, 9, nullptr, false, 0, false);
        button.m_lParam = lParam;
        PaintPushButton(dc, button);
        glyph.OffsetRect(GetPushedOffset());
    } else {
        // The menu's items tell no gutter width here: the item spans the
        // whole button.
        PAINTMENUITEMDATA item = EmptyItem(source, lParam, r, 0);
        PaintMenuItem(dc, item);
    }
    const COLORREF colours[2] = {0, GetColor(1010, source, lParam)};
    PaintGlyphCentered(dc, glyph, m_glyphExpandRight2Turned, colours);
}

namespace {

// The chevron button of a toolbar: a flat push button and two glyphs, the
// first at the far end (bottom or left), the second at the near end.
void PaintChevron(VEzaPaintManager& pm, CDC& dc, const RECT& given, bool horizontal, bool firstGlyphOnly,
                  bool enabled, bool pushed, bool hover, CObject* object, LPARAM lParam, bool transparent,
                  const VEzaPaintManager::glyph_t& first, const VEzaPaintManager::glyph_t& second) {
    CRect r(given);
    r.NormalizeRect();
    if (!dc.RectVisible(&r)) return;
    VEzaPaintManager::PAINTPUSHBUTTONDATA button(object, true, r, "", nullptr, true, hover, pushed, false, enabled,
                                                 true, false, false, 9, nullptr, false, 0, transparent);
    button.m_lParam = lParam;
    pm.PaintPushButton(dc, button);

    const CSize offset = pm.GetPushedOffset();
    CRect a, b;
    if (horizontal) {
        const int distance = 3 * std::max(offset.cy, LONG(1));
        a = CRect(CPoint(r.left + (r.Width() - int(first.GetWidth())) / 2, r.bottom - distance - int(first.GetHeight())),
                  first.Size());
        b = CRect(CPoint(r.left + (r.Width() - int(second.GetWidth())) / 2, r.top + distance), second.Size());
    } else {
        const int distance = 3 * std::max(offset.cx, LONG(1));
        a = CRect(CPoint(r.left + distance, r.top + (r.Height() - int(first.GetHeight())) / 2), first.Size());
        b = CRect(CPoint(r.right - distance - int(second.GetWidth()), r.top + (r.Height() - int(second.GetHeight())) / 2),
                  second.Size());
    }
    if (!enabled) {
        const COLORREF light[2] = {0, pm.GetColor(COLOR_BTNHIGHLIGHT, object, lParam)};
        const COLORREF shadow[2] = {0, pm.GetColor(COLOR_BTNSHADOW, object, lParam)};
        pm.PaintGlyph(dc, a.TopLeft() + CSize(1, 1), first, light);
        pm.PaintGlyph(dc, a.TopLeft(), first, shadow);
        return;
    }
    if (pushed) {
        a.OffsetRect(offset);
        b.OffsetRect(offset);
    }
    const COLORREF colours[2] = {0, pm.GetColor(1010, object, lParam)};
    pm.PaintGlyph(dc, a.TopLeft(), first, colours);
    if (!firstGlyphOnly) pm.PaintGlyph(dc, b.TopLeft(), second, colours);
}

}  // namespace

void VEzaPaintManager::PaintToolbarExpandButton(CDC& dc, const RECT& rect, bool horizontal, bool firstGlyphOnly,
                                                bool enabled, bool pushed, bool hover, CObject* object, LPARAM lParam,
                                                bool transparentBackground) {
    PaintChevron(*this, dc, rect, horizontal, firstGlyphOnly, enabled, pushed, hover, object, lParam,
                 transparentBackground, horizontal ? GlyphExpandBottom() : GlyphExpandBottomTurned(),
                 horizontal ? GlyphExpandRight2() : GlyphExpandRight2Turned());
}

void VEzaPaintManagerXP::PaintToolbarExpandButton(CDC& dc, const RECT& rect, bool horizontal, bool firstGlyphOnly,
                                                  bool enabled, bool pushed, bool hover, CObject* object,
                                                  LPARAM lParam, bool transparentBackground) {
    PaintChevron(*this, dc, rect, horizontal, firstGlyphOnly, enabled, pushed, hover, object, lParam,
                 transparentBackground, horizontal ? m_glyphExpandBottom : m_glyphExpandBottomTurned,
                 horizontal ? m_glyphExpandRight2 : m_glyphExpandRight2Turned);
}

void VEzaPaintManager::PaintDatePickerClientArea(CDC& dc, const RECT& client, const RECT& area, CObject* object,
                                                 LPARAM lParam) {
    if (!dc.RectVisible(&client)) return;
    if (!RenderCustomBackground(true, dc, object, lParam)) pmdraw::Fill(dc, client, GetColor(1000, object, lParam));
    pmdraw::Fill(dc, area, GetColor(COLOR_WINDOW, object, lParam));
}

// Separators, borders and frames of the classic look: three-dimensional
// edges drawn from the translated colours.
#include "paint/paint_manager.h"
#include "paint/pm_frame_draw.h"
#include "toolkit/bar_types.h"

namespace pmdraw {

bool IsToolbarInheritingBackground(CObject* object) {
    auto* toolbar = object != nullptr && object->IsKindOf(RUNTIME_CLASS(VEzaToolControlBar))
                        ? static_cast<VEzaToolControlBar*>(object)
                        : nullptr;
    return toolbar != nullptr && toolbar->IsBackgroundInherited();
}

}  // namespace pmdraw

namespace {

// A floating frame whose bar keeps a fixed size cuts its caption instead of
// ending it with an ellipsis.
bool IsFixedModeMiniFrame(CObject* object) {
    if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(VEzaMiniDockFrameWnd))) return false;
    auto* frame = static_cast<CWnd*>(object);
    if (frame->GetSafeHwnd() == nullptr) return false;
    HWND first = ::GetWindow(frame->GetSafeHwnd(), GW_CHILD);
    HWND inner = first != nullptr ? ::GetWindow(first, GW_CHILD) : nullptr;
    CWnd* bar = inner != nullptr ? CWnd::FromHandlePermanent(inner) : nullptr;
    return bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(VEzaControlBar)) &&
           static_cast<VEzaControlBar*>(bar)->IsFixedMode();
}

}  // namespace

void VEzaPaintManager::PaintSeparator(CDC& dc, const RECT& rect, bool horizontal, bool transparent,
                                      CObject* object, LPARAM lParam) {
    CRect r(rect);
    if (!transparent) pmdraw::Fill(dc, r, GetColor(1000, object, lParam));
    if (horizontal) {
        const int mid = (r.left + r.right) / 2;
        r.left = mid - 1;
        r.right = mid + 1;
        r.bottom -= 1;
    } else {
        const int mid = (r.top + r.bottom) / 2;
        r.top = mid - 1;
        r.bottom = mid + 1;
        r.right -= 1;
    }
    pmdraw::Edge(dc, r, GetColor(1006, object, lParam), GetColor(1004, object, lParam));
}

void VEzaPaintManager::PaintMenuSeparator(CDC& dc, const RECT& rect, int, bool rarelyUsed, CObject* object,
                                          LPARAM lParam) {
    CRect r(rect);
    if (r.IsRectEmpty()) return;
    if (rarelyUsed)
        pmdraw::Fill(dc, r, m_brushHelper[1]);
    else
        pmdraw::Fill(dc, r, GetColor(1000, object, lParam));
    r.DeflateRect(::GetSystemMetrics(SM_CXSMICON) / 2, 0);
    r.top += (r.Height() - 2) / 2;
    r.bottom = r.top + 2;
    pmdraw::Edge(dc, r, GetColor(rarelyUsed ? 1000 : 1006, object, lParam), GetColor(1004, object, lParam));
}

void VEzaPaintManager::PaintMenuBorder(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam) {
    CRect r(rect);
    if (r.IsRectEmpty()) return;
    static const int kRings[4][2] = {{1000, 1008}, {1004, 1006}, {1000, 1000}, {1000, 1000}};
    for (const auto& ring : kRings) {
        pmdraw::Edge(dc, r, GetColor(ring[0], object, lParam), GetColor(ring[1], object, lParam));
        r.DeflateRect(1, 1);
    }
}

void VEzaPaintManager::PaintMenuCombinedArea(CDC& dc, const RECT& rect, const RECT& exclude, int areaType,
                                             CObject* object, LPARAM lParam) {
    CRect r(rect);
    if (r.IsRectEmpty()) return;
    const CRect border = GetMenuBorderMetrics(dynamic_cast<CWnd*>(object), lParam);
    auto extend = [&](CRect& x) {
        switch (areaType) {
        case 1: x.bottom += border.bottom; break;
        case 2: x.top -= border.top; break;
        case 3: x.left -= border.left; break;
        case 4: x.right += border.right; break;
        default: break;
        }
    };
    extend(r);
    pmdraw::Fill(dc, r, GetColor(1000, object, lParam));
    CRect cut(exclude);
    if (areaType == 1 || areaType == 2)
        cut.DeflateRect(border.left, 0, border.right, 0);
    else
        cut.DeflateRect(0, border.top, 0, border.bottom);
    const int saved = dc.SaveDC();
    dc.ExcludeClipRect(&cut);
    // The lines run through the menu's border rows, as far as the fill, and
    // so meet the menu's own rings; reaching further would draw into the
    // menu's items.
    const bool top = areaType != 2, bottom = areaType != 1, left = areaType != 3, right = areaType != 4;
    static const int kRings[2][2] = {{1000, 1006}, {1004, 1008}};
    for (int ring = 0; ring < 2; ++ring) {
        const COLORREF tl = GetColor(kRings[ring][0], object, lParam), br = GetColor(kRings[ring][1], object, lParam);
        // An open side lets the lines of its neighbours run to the edge.
        const CRect x(r.left + (left ? ring : 0), r.top + (top ? ring : 0), r.right - (right ? ring : 0),
                      r.bottom - (bottom ? ring : 0));
        if (x.IsRectEmpty()) break;
        if (right) pmdraw::Fill(dc, CRect(x.right - 1, x.top, x.right, x.bottom), br);
        if (bottom) pmdraw::Fill(dc, CRect(x.left, x.bottom - 1, x.right, x.bottom), br);
        if (top) pmdraw::Fill(dc, CRect(x.left, x.top, x.right - (right ? 1 : 0), x.top + 1), tl);
        if (left) pmdraw::Fill(dc, CRect(x.left, x.top, x.left + 1, x.bottom - (bottom ? 1 : 0)), tl);
    }
    dc.RestoreDC(saved);
}

void VEzaPaintManager::PaintControlBarBorders(CDC& dc, PAINTCONTROLBARBORDERSDATA& data) {
    if (data.m_eBorderStyle == 2) {
        pmdraw::Edge(dc, data.m_rc, GetColor(1006, data.m_pHelperSrc, data.m_lParam),
                     GetColor(1004, data.m_pHelperSrc, data.m_lParam));
        return;
    }
    const DWORD style = data.m_dwBarStyle;
    if ((style & CBRS_BORDER_ANY) == 0) return;
    const CRect& r = data.m_rc;
    const COLORREF colour = GetColor(1000, data.m_pHelperSrc, data.m_lParam);
    const bool is3d = (style & CBRS_BORDER_3D) != 0;
    // The side lines stop short of a top or bottom border, by the doubled
    // border height the bar's layout keeps for it.
    const int sideTop = r.top + ((style & CBRS_BORDER_TOP) != 0 ? 2 : 0);
    const int sideBottom = r.bottom - ((style & CBRS_BORDER_BOTTOM) != 0 ? 2 : 0);
    const int rightEdge = r.right - (is3d ? 1 : 0), bottomEdge = r.bottom - (is3d ? 1 : 0);
    auto vertical = [&](int x) { pmdraw::Fill(dc, CRect(x, sideTop, x + 1, sideBottom), colour); };
    auto across = [&](int y) { pmdraw::Fill(dc, CRect(r.left, y, r.right, y + 1), colour); };
    if ((style & CBRS_BORDER_LEFT) != 0) vertical(r.left);
    if ((style & CBRS_BORDER_TOP) != 0) across(r.top);
    if ((style & CBRS_BORDER_RIGHT) != 0) vertical(rightEdge - 1);
    if ((style & CBRS_BORDER_BOTTOM) != 0) across(bottomEdge - 1);
    if (!is3d) return;
    if ((style & CBRS_BORDER_LEFT) != 0) vertical(r.left + 1);
    if ((style & CBRS_BORDER_TOP) != 0) across(r.top + 1);
    if ((style & CBRS_BORDER_RIGHT) != 0) vertical(r.right - 1);
    if ((style & CBRS_BORDER_BOTTOM) != 0) across(r.bottom - 1);
}

void VEzaPaintManager::PaintDockingFrame(CDC& dc, PAINTDOCKINGFRAMEDATA& data) {
    CRect r(data.m_rcWindow);
    if (r.IsRectEmpty()) return;
    dc.ExcludeClipRect(&data.m_rcClient);
    if (pmdraw::IsToolbarInheritingBackground(data.m_pHelperSrc)) return;
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    pmdraw::Fill(dc, r, GetColor(1000, object, lParam));
    bool inner = true;
    if (data.Has(PAINTDOCKINGFRAMEDATA::Floating)) {
        pmdraw::Edge(dc, r, GetColor(1000, object, lParam), GetColor(1008, object, lParam));
        r.DeflateRect(1, 1);
    } else if (data.Has(PAINTDOCKINGFRAMEDATA::ExtBar)) {
        inner = false;
    }
    if (inner) pmdraw::Edge(dc, r, GetColor(1004, object, lParam), GetColor(1006, object, lParam));
    dc.IntersectClipRect(&data.m_rcWindow);
}

void VEzaPaintManager::PaintGripper(CDC& dc, PAINTGRIPPERDATA& data) {
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    const COLORREF shadow = GetColor(1006, object, lParam), light = GetColor(1004, object, lParam);
    const bool floating = data.Has(PAINTGRIPPERDATA::Floating), sideBar = data.Has(PAINTGRIPPERDATA::SideBar);
    const bool horzBar = data.Has(PAINTGRIPPERDATA::HorzBar);
    CRect r(data.m_rcGripper);
    if (!floating && !sideBar) {
        // The toolbar gripper: two raised bars side by side.
        CRect bar;
        CPoint step;
        if (horzBar) {
            bar.SetRect(r.left + 4, r.top + 1, r.left + 7, r.bottom);
            step.SetPoint(3, 0);
        } else {
            r.OffsetRect(1, 0);
            bar.SetRect(r.left, r.top + 4, r.right - 1, r.top + 7);
            step.SetPoint(0, 3);
        }
        pmdraw::Edge(dc, bar, light, shadow);
        bar.OffsetRect(step);
        pmdraw::Edge(dc, bar, light, shadow);
        return;
    }
    if (!floating) r.DeflateRect(1, 1);
    COLORREF text = GetColor(COLOR_HIGHLIGHTTEXT, object, lParam);
    if (sideBar) {
        const bool active = data.Has(PAINTGRIPPERDATA::Active) || floating;
        text = GetColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT, object, lParam);
        COLORREF first = GetColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION, object, lParam);
        COLORREF second =
            GetColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION, object, lParam);
        if (!data.Has2(PAINTGRIPPERDATA::NoBackground)) {
            if (stat_GetBPP() > 8) {
                if (!horzBar && data.Has2(PAINTGRIPPERDATA::RightToLeft)) std::swap(first, second);
                stat_PaintGradientRect(dc, r, first, second, horzBar, 256);
            } else {
                pmdraw::Fill(dc, r, first);
            }
        }
    } else {
        pmdraw::Fill(dc, r, GetColor(COLOR_HIGHLIGHT, object, lParam));
    }
    CRect caption(data.m_rcText);
    if (data.m_sCaption == nullptr || data.m_sCaption[0] == '\0' || caption.IsRectEmpty()) return;

    const bool bold = !sideBar || floating;
    CFont& font = horzBar ? (bold ? m_FontBoldVertXBC : m_FontNormalVertXBC) : (bold ? m_FontBoldBC : m_FontNormalBC);
    CFont* oldFont = dc.SelectObject(&font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldText = dc.SetTextColor(text);
    if (horzBar) {
        TEXTMETRICA tm = {};
        dc.GetTextMetrics(&tm);
        CRect t(caption);
        t.OffsetRect(caption.left + 1 + (caption.Width() - tm.tmHeight) / 2 - t.left, caption.bottom - t.top);
        t.DeflateRect(2, 2);
        t.OffsetRect(-2, -3);
        const int saved = dc.SaveDC();
        dc.ExcludeClipRect(data.m_rcGripper.left, data.m_rcGripper.top, data.m_rcGripper.right, caption.top);
        dc.DrawText(data.m_sCaption, -1, &t, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        dc.RestoreDC(saved);
    } else {
        const UINT align = data.Has2(PAINTGRIPPERDATA::RightToLeft) ? DT_RIGHT : DT_LEFT;
        if (IsFixedModeMiniFrame(object)) {
            CString s(data.m_sCaption);
            while (!s.IsEmpty() && dc.GetTextExtent(s).cx > caption.Width()) s.Delete(s.GetLength() - 1);
            if (!s.IsEmpty()) dc.DrawText(s, &caption, align | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
        } else {
            dc.DrawText(data.m_sCaption, -1, &caption, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        }
    }
    dc.SetTextColor(oldText);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void VEzaPaintManager::PaintResizingGripper(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam) {
    if (rect.right < rect.left || rect.bottom < rect.top || !dc.RectVisible(&rect)) return;
    const COLORREF shadow = GetColor(COLOR_BTNSHADOW, object, lParam), window = GetColor(COLOR_WINDOW, object, lParam);
    const int right = rect.right, bottom = rect.bottom;
    int x = right - 2, y = bottom - 3;
    for (int group = 0; group < 3; ++group, x -= 4, y -= 4) {
        pmdraw::Line(dc, x, bottom - 1, right, y, shadow);
        pmdraw::Line(dc, x - 1, bottom - 1, right, y - 1, shadow);
        pmdraw::Line(dc, x - 2, bottom - 1, right, y - 2, window);
    }
}

void VEzaPaintManager::PaintControlFrame(CDC& dc, PAINTCONTROLFRAMEDATA& data) {
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    CRect r(data.m_rcClient);
    const COLORREF window = GetColor(COLOR_WINDOW, object, lParam);
    for (int i = 0; i < 3; ++i) {
        r.InflateRect(1, 1);
        pmdraw::Frame(dc, r, window);
    }
    // Fourth and fifth frames by state: plain, highlighted, or sunken deep.
    int fourth[2] = {1000, 1000}, fifth[2] = {1000, 1000};
    const bool hover = data.Has(PAINTCONTROLFRAMEDATA::Hover), focus = data.Has(PAINTCONTROLFRAMEDATA::Focus);
    if (data.Has(PAINTCONTROLFRAMEDATA::Enabled) && (hover || focus)) {
        if (hover && focus) {
            fourth[0] = COLOR_3DDKSHADOW, fourth[1] = COLOR_BTNFACE;
            fifth[0] = COLOR_BTNSHADOW, fifth[1] = COLOR_BTNHIGHLIGHT;
        } else {
            fourth[0] = COLOR_BTNSHADOW, fourth[1] = COLOR_BTNHIGHLIGHT;
        }
    }
    r.InflateRect(1, 1);
    pmdraw::Edge(dc, r, GetColor(fourth[0], object, lParam), GetColor(fourth[1], object, lParam));
    r.InflateRect(1, 1);
    pmdraw::Edge(dc, r, GetColor(fifth[0], object, lParam), GetColor(fifth[1], object, lParam));
}

// Icon placement and painting, the caption buttons of bars and the
// system-command glyphs, classic look; the built-in glyph table they draw.
#include <cstring>
#include <string>
#include <vector>

#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "paint/paint_system.h"

using glyph_t = VEzaPaintManager::glyph_t;

namespace {

const int kIconGap = 3;

// A glyph drawn as rows of '#' (colour 1) and '.' (left as it is).
struct GlyphPicture {
    int position;
    std::vector<const char*> rows;
};

const GlyphPicture kPictures[] = {
    {VEzaPaintManager::GlyphClose,
     {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"}},
    {VEzaPaintManager::GlyphOptions, {"#######", ".#####.", "..###..", "...#..."}},
    {VEzaPaintManager::GlyphMinimize,
     {"........", "........", "........", "........", "........", ".######.", ".######."}},
    {VEzaPaintManager::GlyphRestore,
     {"..#######", "..#######", "..#.....#", "#######.#", "#######.#", "#.....###", "#.....#..", "#.....#..",
      "#######.."}},
    {VEzaPaintManager::GlyphMaximize,
     {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
      "#########"}},
    {VEzaPaintManager::GlyphContextHelp,
     {".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..", "..##.."}},
    {VEzaPaintManager::GlyphAutoHide,
     {".#####.", ".#..##.", ".#..##.", ".#..##.", ".#..##.", "#######", "...#...", "...#...", "...#..."}},
    {VEzaPaintManager::GlyphCloseXP, {"#.....#", ".#...#.", "..#.#..", "...#...", "..#.#..", ".#...#.", "#.....#"}},
    {VEzaPaintManager::GlyphCloseClassic,
     {"##...##", ".##.##.", "..###..", "...#...", "..###..", ".##.##.", "##...##"}},
};

// The table, built once from the pictures; its glyphs point into pixel
// storage that lives as long as the table.
struct GlyphTable {
    GlyphTable() {
        for (const GlyphPicture& picture : kPictures) {
            const UINT width = UINT(std::strlen(picture.rows[0])), height = UINT(picture.rows.size());
            std::vector<UINT>& pixels = storage[picture.position];
            for (const char* row : picture.rows)
                for (UINT x = 0; x < width; ++x) pixels.push_back(row[x] == '#' ? 1 : 0);
            glyphs[picture.position] = glyph_t(width, height, 2, pixels.data());
        }
        // The pin lying down is the standing pin turned a quarter.
        glyphs[VEzaPaintManager::GlyphAutoHidden] = glyph_t(glyphs[VEzaPaintManager::GlyphAutoHide], 270);
    }
    std::vector<UINT> storage[32];
    glyph_t glyphs[32];
};

int SysCmdGlyphPosition(UINT command) {
    switch (command) {
    case SC_CLOSE: return VEzaPaintManager::GlyphClose;
    case SC_RESTORE: return VEzaPaintManager::GlyphRestore;
    case SC_CONTEXTHELP: return VEzaPaintManager::GlyphContextHelp;
    case SC_MINIMIZE: return VEzaPaintManager::GlyphMinimize;
    case SC_MAXIMIZE: return VEzaPaintManager::GlyphMaximize;
    default: return 0;
    }
}

// Odd sizes lose a pixel at the left (top) so that glyphs centre on whole
// pixels.
void EvenOut(CRect& r) {
    r.NormalizeRect();
    if (r.Width() % 2 != 0) ++r.left;
    if (r.Height() % 2 != 0) ++r.top;
}

}  // namespace

const glyph_t& VEzaPaintManager::stat_GetBuiltinGlyph(int position) {
    static const GlyphTable table;
    static const glyph_t empty;
    if (position < 0 || position >= 32) return empty;
    return table.glyphs[position];
}

CRect VEzaPaintManager::stat_PlaceIcon(bool horizontal, bool emptyText, CSize iconSize, const RECT& item,
                                       int alignment, bool iconAfterText, RECT& caption) {
    caption = item;
    const CRect rcItem(item);
    const int cx = iconSize.cx, cy = iconSize.cy;
    CPoint at = rcItem.TopLeft();
    const int centredX = rcItem.left + (rcItem.Width() - cx) / 2, centredY = rcItem.top + (rcItem.Height() - cy) / 2;
    if (horizontal) {
        if ((alignment & 1) != 0 || (alignment & 2) == 0) {
            if (emptyText) {
                at.x = centredX;
            } else if (!iconAfterText) {
                at.x = rcItem.left + kIconGap;
                caption.left += cx + kIconGap;
            } else {
                at.x = rcItem.right - cx - kIconGap;
                caption.right -= cx + kIconGap;
            }
        } else if (emptyText) {
            at.x = centredX;
        } else {
            at.y = centredY;
            if (!iconAfterText) {
                at.x = caption.right - cx - kIconGap;
                caption.right -= cx + kIconGap;
                caption.left += kIconGap;
            } else {
                at.x = caption.left + kIconGap;
                caption.right -= kIconGap;
                caption.left += cx + kIconGap;
            }
        }
        if ((alignment & 8) != 0) at.y = centredY;
    } else {
        // Alignment 0 takes the icon to the top, as bit 0 does: otherwise the
        // icon would cover the text.
        if ((alignment & 1) != 0 || (alignment & 2) == 0) {
            if (emptyText) {
                at.y = centredY;
            } else {
                at.y = rcItem.top + kIconGap;
                caption.top += cy + kIconGap;
            }
        } else if (emptyText) {
            at.y = centredY;
        } else {
            // The icon stands at the bottom, below the text, inside the item.
            at.x = centredX;
            at.y = rcItem.bottom - cy - kIconGap;
            caption.bottom -= cy + kIconGap;
        }
        if ((alignment & 8) != 0) at.x = centredX;
    }
    return CRect(at, iconSize);
}

void VEzaPaintManager::PaintIcon(CDC& dc, bool horizontal, LPCSTR text, VEzaCmdIcon* icon, const RECT& item,
                                 RECT& caption, bool pushed, bool enabled, bool, int alignment, bool iconAfterText,
                                 COLORREF background) {
    caption = item;
    if (icon == nullptr || icon->IsEmpty()) return;
    const bool emptyText = text == nullptr || *text == '\0';
    CRect at = stat_PlaceIcon(horizontal, emptyText, CSize(icon->GetSize()), item, alignment, iconAfterText, caption);
    if (pushed) at.OffsetRect(GetPushedOffset());

    CBrush brush;
    if (!enabled && background != COLORREF(-1)) brush.CreateSolidBrush(background);
    // An item smaller than its icon shows only the part inside it.
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(&item);
    icon->Paint(dc.GetSafeHdc(), at.TopLeft(), enabled ? 0 : 1, HBRUSH(brush.GetSafeHandle()));
    dc.RestoreDC(saved);
}

void VEzaPaintManager::PaintDockingCaptionButton(CDC& dc, PAINTDOCKINGCAPTIONBUTTONDATA& data) {
    CRect r(data.m_rcButton);
    r.NormalizeRect();
    if (r.IsRectEmpty()) return;
    const VEzaPaintSystem& system = VEzaGetPaintSystem();
    const COLORREF face = system.pfnGetSysColor(COLOR_BTNFACE), shadow = system.pfnGetSysColor(COLOR_BTNSHADOW),
                   light = system.pfnGetSysColor(COLOR_BTNHIGHLIGHT), dark = system.pfnGetSysColor(COLOR_3DDKSHADOW);
    const COLORREF colours[2] = {RGB(0, 0, 0), data.m_bEnabled ? RGB(0, 0, 0) : shadow};

    EvenOut(r);
    if (!data.m_bNoOutset) r.InflateRect(1, 1);
    --r.left;
    --r.top;
    dc.FillSolidRect(&r, face);

    CRect glyphRect(r);
    if (data.m_bPushed) glyphRect.OffsetRect(1, 1);
    const int position = data.m_nGlyph == GlyphClose ? GlyphCloseClassic : data.m_nGlyph;
    PaintGlyphCentered(dc, glyphRect, stat_GetBuiltinGlyph(position), colours);

    if (data.m_bEnabled && data.m_bPushed) {
        dc.Draw3dRect(&r, shadow, light);
        return;
    }
    if (data.m_bEnabled && data.m_bHover) {
        dc.Draw3dRect(&r, face, dark);
        r.DeflateRect(1, 1);
    }
    dc.Draw3dRect(&r, light, shadow);
}

void VEzaPaintManager::PaintSysCmdGlyph(CDC& dc, UINT command, const RECT& rect, bool hover, bool pushed,
                                        bool enabled) {
    const int position = SysCmdGlyphPosition(command);
    if (position == 0) return;
    const glyph_t& glyph = stat_GetBuiltinGlyph(position);
    CRect r(rect);
    if (pushed) r.OffsetRect(GetPushedOffset());
    if (enabled) {
        const COLORREF colours[2] = {0, GetColor(hover ? COLOR_HIGHLIGHTTEXT : 1010)};
        PaintGlyphCentered(dc, r, glyph, colours);
        return;
    }
    const COLORREF light[2] = {0, GetColor(1004)}, dark[2] = {0, GetColor(1006)};
    CRect below(r);
    below.OffsetRect(1, 1);
    PaintGlyphCentered(dc, below, glyph, light);
    PaintGlyphCentered(dc, r, glyph, dark);
}

// Dock markers: the marker objects (pictures, shape, placement and groups),
// regions from bitmaps, and the paint manager's docking feedback (marker
// outlines and the tint of the docking area).
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "paint/dock_marker.h"
#include "paint/paint_log.h"
#include "paint/paint_system.h"
#include "resources/resource_manager.h"
#include "resources/wendrel_res.h"
#include "toolkit/bar_types.h"

namespace {

VEzaDockMarkerWndFactory* g_pMarkerWndFactory = nullptr;

// A rectangle w by h centred in r on one axis or both.
int Centred(int from, int length, int size)
{
    return from + (length - size) / 2;
}

HBITMAP LoadPicture(LPCSTR name, LPCSTR type, HINSTANCE module)
{
    if (module == nullptr)
        module = AfxFindResourceHandle(name, type);
    if (module == nullptr)
        return nullptr;
    return VEzaPaintManager::stat_LoadBitmapFromResource(module, ::FindResourceA(module, name, type));
}

CSize BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObject(bitmap, sizeof info, &info) == 0)
        return CSize(0, 0);
    return CSize(info.bmWidth, info.bmHeight);
}

bool IsUsableRegion(HRGN region)
{
    RECT box;
    return region != nullptr && ::GetRgnBox(region, &box) != NULLREGION && ::GetRgnBox(region, &box) != ERROR;
}

}  // namespace

void VEzaDockMarkerWndFactory::Install(VEzaDockMarkerWndFactory* factory)
{
    g_pMarkerWndFactory = factory;
}

VEzaDockMarkerWndFactory* VEzaDockMarkerWndFactory::Installed()
{
    return g_pMarkerWndFactory;
}

// ---- Regions from bitmaps

HRGN VEzaPaintManager::stat_GetRegionFromBitmap(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance)
{
    const CSize size = BitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (dc == nullptr)
        return nullptr;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;  // rows from the top
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> bits(size_t(size.cx) * size_t(size.cy));
    const int rows = ::GetDIBits(dc, bitmap, 0, UINT(size.cy), bits.data(), &bi, DIB_RGB_COLORS);
    ::DeleteDC(dc);
    if (rows != size.cy)
        return nullptr;

    auto low = [&](int shift) { return int((transparent >> shift) & 0xFF); };
    auto high = [&](int shift) { return std::min(255, low(shift) + int((tolerance >> shift) & 0xFF)); };
    // DIB pixels hold blue low, COLORREF red low.
    const int rLow = low(0), rHigh = high(0), gLow = low(8), gHigh = high(8), bLow = low(16), bHigh = high(16);
    auto isTransparent = [&](DWORD p) {
        const int r = int((p >> 16) & 0xFF), g = int((p >> 8) & 0xFF), b = int(p & 0xFF);
        return r >= rLow && r <= rHigh && g >= gLow && g <= gHigh && b >= bLow && b <= bHigh;
    };

    HRGN result = ::CreateRectRgn(0, 0, 0, 0);
    // Runs are gathered in blocks and merged every kFlushAt rectangles, so
    // that no single region-data block grows without bound.
    const size_t kGrowBy = 200, kFlushAt = 2000;
    std::vector<RECT> runs;
    runs.reserve(kGrowBy);
    auto flush = [&] {
        if (runs.empty())
            return;
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = DWORD(runs.size());
        header->nRgnSize = DWORD(runs.size() * sizeof(RECT));
        RECT bound = runs.front();
        for (const RECT& r : runs) {
            bound.left = std::min(bound.left, r.left);
            bound.top = std::min(bound.top, r.top);
            bound.right = std::max(bound.right, r.right);
            bound.bottom = std::max(bound.bottom, r.bottom);
        }
        header->rcBound = bound;
        std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
        HRGN part = ::ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
        if (part != nullptr) {
            ::CombineRgn(result, result, part, RGN_OR);
            ::DeleteObject(part);
        } else {
            PaintLogFailure("stat_GetRegionFromBitmap: ExtCreateRegion failed for %u runs", unsigned(runs.size()));
        }
        runs.clear();
    };
    for (int y = 0; y < size.cy; ++y) {
        const DWORD* row = bits.data() + size_t(y) * size_t(size.cx);
        for (int x = 0; x < size.cx;) {
            if (isTransparent(row[x])) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < size.cx && !isTransparent(row[x]))
                ++x;
            if (runs.size() == runs.capacity())
                runs.reserve(runs.size() + kGrowBy);
            runs.push_back(RECT{start, y, x, y + 1});
            if (runs.size() == kFlushAt)
                flush();
        }
    }
    flush();
    return result;
}

// ---- Marker objects

VEzaPaintManager::DockMarkerBase::~DockMarkerBase()
{
    DeleteChildren();
    ClearPictures();
}

void VEzaPaintManager::DockMarkerBase::DeleteChildren()
{
    for (DockMarkerBase* child : m_children)
        delete child;
    m_children.clear();
}

void VEzaPaintManager::DockMarkerBase::ReleaseWithoutDeleting()
{
    m_bmpHover.Detach();
    m_bmpIdle.Detach();
    m_rgn.Detach();
}

void VEzaPaintManager::DockMarkerBase::ClearPictures()
{
    m_bmpHover.DeleteObject();
    m_bmpIdle.DeleteObject();
    m_bmpFrame.DeleteObject();
    m_rgn.DeleteObject();
    m_ptPictureOffset = CPoint(0, 0);
    m_nType = -1;
    m_size = CSize(0, 0);
    m_rect.SetRectEmpty();
}

void VEzaPaintManager::DockMarkerBase::Clear()
{
    ClearPictures();
    DeleteChildren();
}

bool VEzaPaintManager::DockMarkerBase::LoadFromResources(int left, int top, int right, int bottom, int kind,
                                                         COLORREF transparent, LPCSTR name, LPCSTR type,
                                                         LPCSTR secondName, LPCSTR secondType, HINSTANCE module,
                                                         HINSTANCE secondModule)
{
    if (secondName == nullptr) {
        secondName = name;
        secondType = type;
    }
    if (secondType == nullptr)
        secondType = type;
    HBITMAP hover = LoadPicture(name, type, module);
    if (hover == nullptr)
        return false;
    HBITMAP idle = LoadPicture(secondName, secondType, secondModule);
    if (idle == nullptr) {
        ::DeleteObject(hover);
        return false;
    }
    return TakePictures(left, top, right, bottom, kind, transparent, hover, idle);
}

bool VEzaPaintManager::DockMarkerBase::TakePictures(int left, int top, int right, int bottom, int kind,
                                                    COLORREF transparent, HBITMAP hover, HBITMAP idle)
{
    const CSize size = BitmapSize(hover);
    HRGN region = nullptr;
    if (hover != nullptr && idle != nullptr && size == BitmapSize(idle))
        region = stat_GetRegionFromBitmap(hover, transparent, 0);
    if (!IsUsableRegion(region)) {
        // A picture with no visible pixel would make a window of no shape.
        if (region != nullptr)
            ::DeleteObject(region);
        if (hover != nullptr)
            ::DeleteObject(hover);
        if (idle != nullptr)
            ::DeleteObject(idle);
        return false;
    }
    m_bmpHover.DeleteObject();
    m_bmpIdle.DeleteObject();
    m_rgn.DeleteObject();
    m_size = size;
    m_bmpHover.Attach(hover);
    m_bmpIdle.Attach(idle);
    m_rgn.Attach(region);
    m_nType = kind;
    Position(kind, CRect(left, top, right, bottom), nullptr);
    g_PaintManager->DockMarker_AdjustBmps(kind, m_bmpHover, transparent, m_bmpIdle, transparent);
    return true;
}

UINT VEzaPaintManager::DockMarkerBase::GetPictureId(int kind) const
{
    // Top, bottom, left, right, centre and tab area of each set.
    static const int kinds[6] = {0, 1, 2, 3, 4, 8};
    static const UINT first[6] = {IDB_WENDREL_MARKER_TOP,   IDB_WENDREL_MARKER_BOTTOM, IDB_WENDREL_MARKER_LEFT,
                                  IDB_WENDREL_MARKER_RIGHT, IDB_WENDREL_MARKER_CENTRE, IDB_WENDREL_MARKER_TAB};
    static const UINT second[6] = {IDB_WENDREL_MARKER2_TOP,   IDB_WENDREL_MARKER2_BOTTOM, IDB_WENDREL_MARKER2_LEFT,
                                   IDB_WENDREL_MARKER2_RIGHT, IDB_WENDREL_MARKER2_CENTRE, IDB_WENDREL_MARKER2_TAB};
    for (int i = 0; i < 6; ++i)
        if (kinds[i] == kind)
            return m_bSecondSet ? second[i] : first[i];
    return 0;
}

bool VEzaPaintManager::DockMarkerBase::Create(bool createWindows, int kind, const CRect& rect)
{
    Clear();
    if (kind == -1)
        return true;
    if (const UINT id = GetPictureId(kind); id != 0) {
        // The pictures are the library's own, even where the program has
        // resources of the same numbers.
        VEzaToolkitResourceScope scope;
        return LoadFromResources(rect.left, rect.top, rect.right, rect.bottom, kind, kDockMarkerTransparent,
                                 MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    }
    if (kind == 5) {
        std::vector<DockMarkerBase*> sides;
        bool ok = true;
        for (int side = 0; side < 4 && ok; ++side) {
            DockMarkerBase* marker = g_PaintManager->DockMarker_CreateObject();
            sides.push_back(marker);
            if (!createWindows)
                marker->m_dwFlags |= FlagSeparate;
            ok = marker->Create(createWindows, side, rect);
        }
        if (!ok) {
            for (DockMarkerBase* marker : sides)
                delete marker;
            return false;
        }
        m_children = sides;
        m_nType = 5;
        return true;
    }
    if (kind == 6) {
        if (!Create(true, 5, rect))
            return false;
        DockMarkerBase* centre = g_PaintManager->DockMarker_CreateObject();
        if (!centre->Create(true, 4, rect)) {
            delete centre;
            Clear();
            return false;
        }
        const CSize size = centre->m_size;
        CRect around(
            CPoint(rect.left + (rect.Width() - size.cx - 12) / 2, rect.top + (rect.Height() - size.cy - 12) / 2),
            CSize(size.cx + 12, size.cy + 12));
        for (DockMarkerBase* side : m_children) {
            side->m_dwFlags &= ~DWORD(FlagSeparate);
            side->Position(side->m_nType, around, centre);
        }
        m_children.insert(m_children.begin(), centre);
        m_nType = 6;
        return true;
    }
    if (kind == 7) {
        if (!Create(true, 6, rect))
            return false;
        DockMarkerBase* tabArea = g_PaintManager->DockMarker_CreateObject();
        if (!tabArea->Create(true, 8, rect)) {
            delete tabArea;
            Clear();
            return false;
        }
        m_children.push_back(tabArea);
        m_nType = 7;
        return true;
    }
    return false;
}

bool VEzaPaintManager::DockMarkerBase::CreateWnds(HWND parent, DockMarkerWndArray& windows)
{
    bool ok = true;
    if (m_bmpHover.GetSafeHandle() != nullptr) {
        VEzaDockMarkerWndFactory* factory = VEzaDockMarkerWndFactory::Installed();
        if (factory == nullptr) {
            PaintLogFailure("DockMarkerBase::CreateWnds: no marker window factory installed");
            ok = false;
        } else {
            VEzaDockMarkerWndParams params;
            params.parent = parent;
            params.kind = m_nType;
            params.hover = HBITMAP(m_bmpHover.GetSafeHandle());
            params.idle = HBITMAP(m_bmpIdle.GetSafeHandle());
            params.frame =
                m_bmpFrame.GetSafeHandle() != nullptr ? stat_CloneBitmap(HBITMAP(m_bmpFrame.GetSafeHandle())) : nullptr;
            params.region = HRGN(m_rgn.GetSafeHandle());
            params.rect = m_rect;
            params.pictureOffset = m_ptPictureOffset;
            params.outline = (m_dwFlags & FlagSeparate) != 0;
            // The window owns the pictures and the region from here on.
            ReleaseWithoutDeleting();
            ClearPictures();
            VEzaDynDockMarkerWnd* wnd = factory->CreateMarkerWnd(params);
            if (wnd != nullptr && wnd->GetSafeHwnd() != nullptr) {
                windows.Add(wnd);
            } else {
                delete wnd;
                ok = false;
            }
        }
    }
    for (DockMarkerBase* child : m_children)
        if (!child->CreateWnds(parent, windows))
            ok = false;
    return ok;
}

void VEzaPaintManager::DockMarkerBase::Position(int kind, const CRect& rect, const DockMarkerBase*)
{
    const int w = m_size.cx, h = m_size.cy;
    CRect r = rect;
    switch (kind) {
    case 0:
        r = CRect(CPoint(Centred(rect.left, rect.Width(), w), rect.top), CSize(w, h));
        break;
    case 1:
        r = CRect(CPoint(Centred(rect.left, rect.Width(), w), rect.bottom - h), CSize(w, h));
        break;
    case 2:
        r = CRect(CPoint(rect.left, Centred(rect.top, rect.Height(), h)), CSize(w, h));
        break;
    case 3:
        r = CRect(CPoint(rect.right - w, Centred(rect.top, rect.Height(), h)), CSize(w, h));
        break;
    case 4:
    case 8:
        r = CRect(CPoint(Centred(rect.left, rect.Width(), w), Centred(rect.top, rect.Height(), h)), CSize(w, h));
        break;
    default:
        break;
    }
    m_rect = r;
}

void VEzaPaintManager::DockMarkerBeta2::Position(int kind, const CRect& rect, const DockMarkerBase* centre)
{
    DockMarkerBase::Position(kind, rect, nullptr);
    if ((m_dwFlags & FlagSeparate) != 0 && m_bmpFrame.GetSafeHandle() == nullptr && kind >= 0 && kind <= 3) {
        const CRect d = g_PaintManager->DockMarker_GetOuterDistance();
        HBITMAP frame;
        {
            VEzaToolkitResourceScope scope;
            static const UINT frames[4] = {IDB_WENDREL_MARKER_FRAME_TOP, IDB_WENDREL_MARKER_FRAME_BOTTOM,
                                           IDB_WENDREL_MARKER_FRAME_LEFT, IDB_WENDREL_MARKER_FRAME_RIGHT};
            frame = LoadPicture(MAKEINTRESOURCEA(frames[kind]), MAKEINTRESOURCEA(2) /* RT_BITMAP */, nullptr);
        }
        if (frame != nullptr) {
            const int W = m_rect.Width(), H = m_rect.Height();
            const CSize f = BitmapSize(frame);
            m_size = f;
            CRect r = m_rect;
            switch (kind) {
            case 0: {
                const int m = (f.cx - W) / 2;
                r = CRect(r.left - m, r.top, r.left - m + f.cx, r.top + f.cy);
                m_ptPictureOffset = CPoint(m + 1, 4);
                r.OffsetRect(0, d.top);
                break;
            }
            case 1: {
                const int m = (f.cx - W) / 2;
                r = CRect(r.left - m, r.bottom - f.cy, r.left - m + f.cx, r.bottom);
                m_ptPictureOffset = CPoint(m + 1, 3);
                r.OffsetRect(0, -d.bottom);
                break;
            }
            case 2: {
                const int m = (f.cy - H) / 2;
                r = CRect(r.left, r.top - m, r.left + f.cx, r.top - m + f.cy);
                m_ptPictureOffset = CPoint(4, m + 1);
                r.OffsetRect(d.left, 0);
                break;
            }
            default: {
                const int m = (f.cy - H) / 2;
                r = CRect(r.right - f.cx, r.top - m, r.right, r.top - m + f.cy);
                m_ptPictureOffset = CPoint(3, m + 1);
                r.OffsetRect(-d.right, 0);
                break;
            }
            }
            m_rect = r;
            m_bmpFrame.Attach(frame);
            HRGN region = stat_GetRegionFromBitmap(frame, kDockMarkerTransparent, 0);
            if (IsUsableRegion(region)) {
                m_rgn.DeleteObject();
                m_rgn.Attach(region);
            } else if (region != nullptr) {
                ::DeleteObject(region);
            }
        }
    }
    CPoint shift(0, 0);
    if (centre != nullptr) {
        switch (kind) {
        case 0:
            shift = CPoint(1, 10);
            break;
        case 1:
            shift = CPoint(1, -8);
            break;
        case 2:
            shift = CPoint(10, 1);
            break;
        case 3:
            shift = CPoint(-8, 1);
            break;
        case 8:
            shift = CPoint(1, 1);
            break;
        default:
            break;
        }
    } else if (kind == 8) {
        shift = CPoint(1, 1);
    }
    m_rect.OffsetRect(shift);
}

// ---- The paint manager's marker operations

VEzaPaintManager::DockMarkerBase* VEzaPaintManager::DockMarker_CreateObject()
{
    switch (m_nDockMarkerType) {
    case 1:
        return new DockMarkerBase;
    case 2:
    case 3:
        return new DockMarkerBeta2;
    default:
        AfxThrowNotSupportedException();
    }
}

bool VEzaPaintManager::DockMarker_CreateWnds(HWND parent, int kind, CRect rect, DockMarkerWndArray& windows)
{
    windows.RemoveAll();
    DockMarkerBase marker;
    if (!marker.Create(false, kind, rect))
        return false;
    return marker.CreateWnds(parent, windows);
}

void VEzaPaintManager::DockMarker_PostRender(CDC& dc, CRect rect, int kind, bool highlighted, CObject* object, LPARAM)
{
    if (m_nDockMarkerType != 2 && m_nDockMarkerType != 3)
        return;
    if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(VEzaDynDockMarkerWnd)))
        return;
    const auto* state = dynamic_cast<const VEzaDockMarkerWndState*>(object);
    if (state == nullptr)
        return;
    const COLORREF colour =
        ::GetNearestColor(dc.m_hAttribDC != nullptr ? dc.m_hAttribDC : dc.GetSafeHdc(), RGB(0, 96, 196));
    CBrush brush(colour);
    auto line = [&](int x, int y, int cx, int cy) {
        const CRect r(CPoint(x, y), CSize(cx, cy));
        dc.FillRect(&r, &brush);
    };
    if (highlighted && state->DockMarker_IsOutlined()) {
        const bool top = kind == 0 || kind == 2 || kind == 3, bottom = kind == 1 || kind == 2 || kind == 3,
                   left = kind == 0 || kind == 1 || kind == 2, right = kind == 0 || kind == 1 || kind == 3;
        if (kind < 0 || kind > 3)
            return;
        if (top)
            line(rect.left, rect.top, rect.Width(), 1);
        if (bottom)
            line(rect.left, rect.bottom - 1, rect.Width(), 1);
        if (left)
            line(rect.left, rect.top, 1, rect.Height());
        if (right)
            line(rect.right - 1, rect.top, 1, rect.Height());
        return;
    }
    if (kind != 4)
        return;
    const HWND armWnd = state->DockMarker_GetHoverArm();
    if (armWnd == nullptr || !::IsWindow(armWnd))
        return;
    CWnd* arm = CWnd::FromHandlePermanent(armWnd);
    if (arm == nullptr || !arm->IsKindOf(RUNTIME_CLASS(VEzaDynDockMarkerWnd)))
        return;
    const auto* armState = dynamic_cast<const VEzaDockMarkerWndState*>(arm);
    if (armState == nullptr)
        return;
    switch (armState->DockMarker_GetKind()) {
    case 0:
        line(29, 0, 29, 1), line(29, 0, 1, 23), line(57, 0, 1, 23);
        break;
    case 1:
        line(29, 87, 29, 1), line(29, 64, 1, 24), line(57, 64, 1, 24);
        break;
    case 2:
        line(0, 29, 23, 1), line(0, 57, 23, 1), line(0, 29, 1, 29);
        break;
    case 3:
        line(64, 29, 24, 1), line(64, 57, 24, 1), line(87, 29, 1, 29);
        break;
    case 8: {
        CPen pen(PS_SOLID, 1, colour);
        CPen* old = dc.SelectObject(&pen);
        const POINT strokes[4][2] = {
            {{23, 28}, {29, 22}}, {{58, 23}, {64, 29}}, {{58, 63}, {64, 57}}, {{23, 58}, {29, 64}}};
        for (const auto& s : strokes) {
            dc.MoveTo(s[0]);
            dc.LineTo(s[1]);
        }
        dc.SelectObject(old);
        break;
    }
    default:
        break;
    }
}

void VEzaPaintManager::DockMarker_AdjustHighlightedArea(COLORREF* pixels, int width, int height, bool tabShape,
                                                        bool tabAbove, const CRect& main, const CRect& tab,
                                                        COLORREF fill, COLORREF border, int bw)
{
    if (pixels == nullptr || width <= 0 || height <= 0)
        return;
    const CRect R = tabShape ? main : CRect(0, 0, width, height);
    const CRect& M = main;
    const CRect& B = tab;
    if (stat_GetBPP() <= 8) {
        const COLORREF c = GetColor(COLOR_BTNSHADOW, this);
        const COLORREF dib = RGB(GetBValue(c), GetGValue(c), GetRValue(c));  // 0x00RRGGBB
        for (int r = 0; r < height; ++r) {
            const int y = height - 1 - r;
            for (int x = 0; x < width; ++x) {
                const CPoint pt(x, y);
                if (tabShape && !M.PtInRect(pt) && !B.PtInRect(pt))
                    continue;
                if ((r + x) % 2 == 1)
                    pixels[size_t(r) * size_t(width) + size_t(x)] = dib;
            }
        }
        return;
    }
    const VEzaPaintSystem& system = VEzaGetPaintSystem();
    if (fill == COLORREF(-1))
        fill = system.pfnGetSysColor(COLOR_HIGHLIGHT);
    if (m_nDockMarkerType == 2 || m_nDockMarkerType == 3)
        fill = RGB(0, 64, 196);
    if (bw > 0 && border == COLORREF(-1))
        border = system.pfnGetSysColor(COLOR_BTNFACE);
    for (int r = 0; r < height; ++r) {
        const int y = height - 1 - r;
        for (int x = 0; x < width; ++x) {
            const CPoint pt(x, y);
            if (tabShape && !M.PtInRect(pt) && !B.PtInRect(pt))
                continue;
            bool onBorder = false;
            if (bw > 0) {
                if (tabShape && B.PtInRect(pt) &&
                    ((tabAbove ? y <= B.top + bw : y >= B.bottom - bw) || x < B.left + bw || x >= B.right - bw))
                    onBorder = true;
                else if (R.PtInRect(pt) &&
                         ((tabAbove ? y > R.bottom - bw : y < R.top + bw) || x < R.left + bw || x >= R.right - bw))
                    onBorder = true;
                else if (R.PtInRect(pt) && (tabAbove ? y <= R.top + bw : y >= R.bottom - bw) &&
                         (!tabShape || x < B.left + bw || x >= B.right - bw))
                    onBorder = true;
            }
            const COLORREF c = onBorder ? border : fill;
            COLORREF& p = pixels[size_t(r) * size_t(width) + size_t(x)];
            const int pr = int((p >> 16) & 0xFF), pg = int((p >> 8) & 0xFF), pb = int(p & 0xFF);
            const COLORREF mixed = RGB(pr + (int(GetRValue(c)) - pr) / 2, pg + (int(GetGValue(c)) - pg) / 2,
                                       pb + (int(GetBValue(c)) - pb) / 2);
            const COLORREF light = stat_AdjustColorHLS(mixed, 0.0, 0.1, 0.0);
            p = (p & 0xFF000000u) | (COLORREF(GetRValue(light)) << 16) | (COLORREF(GetGValue(light)) << 8) |
                COLORREF(GetBValue(light));
        }
    }
}

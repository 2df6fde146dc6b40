#include "icons/cmd_icon.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "icons/bitmap.h"
#include "paint/paint_manager.h"
#include "toolkit/toolkit_log.h"

namespace {

VEzaCmdIcon::AlphaQuery g_alphaQuery = nullptr;

// Pixels of a 32-bit top-down DIB section as 0x00RRGGBB words.
struct Dib32 {
    HBITMAP bitmap = nullptr;
    DWORD* bits = nullptr;
    int cx = 0, cy = 0;
};

Dib32 NewDib32(int cx, int cy) {
    Dib32 dib;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = -cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dib.bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib.bitmap == nullptr || bits == nullptr) {
        if (dib.bitmap) ::DeleteObject(dib.bitmap);
        ToolkitLogFailure("VEzaCmdIcon: CreateDIBSection %dx%d failed (error %lu)", cx, cy, ::GetLastError());
        return Dib32{};
    }
    dib.bits = static_cast<DWORD*>(bits);
    dib.cx = cx;
    dib.cy = cy;
    return dib;
}

// COLORREF (0x00BBGGRR) and DIB word (0x00RRGGBB) are mirror images.
DWORD ToDib(COLORREF c) { return DWORD(GetRValue(c)) << 16 | DWORD(GetGValue(c)) << 8 | GetBValue(c); }
COLORREF FromDib(DWORD p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

SIZE BitmapSize(HBITMAP h) {
    BITMAP bm{};
    if (h == nullptr || ::GetObjectA(h, sizeof bm, &bm) != int(sizeof bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

SIZE IconSize(HICON icon) {
    ICONINFO ii{};
    if (icon == nullptr || !::GetIconInfo(icon, &ii)) return SIZE{0, 0};
    SIZE size{0, 0};
    if (ii.xHotspot != 0 && ii.yHotspot != 0) {
        size = SIZE{BYTE(ii.xHotspot * 2), BYTE(ii.yHotspot * 2)};
    } else if (ii.hbmColor != nullptr) {
        size = BitmapSize(ii.hbmColor);
    } else {
        size = BitmapSize(ii.hbmMask);
        size.cy /= 2;  // a monochrome icon's mask holds AND and XOR halves
    }
    if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
    return size;
}

}  // namespace

VEzaCmdIcon::AlphaQuery VEzaCmdIcon::SetPaintManagerAlphaQuery(AlphaQuery query) {
    const AlphaQuery previous = g_alphaQuery;
    g_alphaQuery = query;
    return previous;
}

VEzaCmdIcon::~VEzaCmdIcon() { Empty(); }

void VEzaCmdIcon::DropVariant() {
    if (m_hVariant != nullptr) ::DestroyIcon(m_hVariant);
    m_hVariant = nullptr;
    m_cxVariant = m_cyVariant = 0;
}

void VEzaCmdIcon::DropIcon() {
    if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
    m_cxIcon = m_cyIcon = 0;
}

void VEzaCmdIcon::Empty() {
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_cxBitmap = m_cyBitmap = 0;
    m_clrTransparent = COLORREF(-1);
    DropIcon();
    DropVariant();
    m_dVariantLightness = 1.4;
    m_clrVariant = COLORREF(-1);
}

HBITMAP VEzaCmdIcon::Copy32(HBITMAP bitmap, const RECT* part) {
    const SIZE full = BitmapSize(bitmap);
    RECT r = part ? *part : RECT{0, 0, full.cx, full.cy};
    const int cx = r.right - r.left, cy = r.bottom - r.top;
    if (cx <= 0 || cy <= 0) return nullptr;
    Dib32 dib = NewDib32(cx, cy);
    if (dib.bitmap == nullptr) return nullptr;
    HDC src = ::CreateCompatibleDC(nullptr), dst = ::CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = ::SelectObject(src, bitmap), oldDst = ::SelectObject(dst, dib.bitmap);
    ::BitBlt(dst, 0, 0, cx, cy, src, r.left, r.top, SRCCOPY);
    ::SelectObject(src, oldSrc);
    ::SelectObject(dst, oldDst);
    ::DeleteDC(src);
    ::DeleteDC(dst);
    return dib.bitmap;
}

void VEzaCmdIcon::AssignFromHBITMAP(HBITMAP bitmap, COLORREF transparent, const RECT* part, bool copy) {
    HBITMAP taken = nullptr;
    if (bitmap != nullptr) taken = (copy || part != nullptr) ? Copy32(bitmap, part) : bitmap;
    if (taken != bitmap && !copy && bitmap != nullptr) ::DeleteObject(bitmap);
    DropIcon();
    DropVariant();
    if (m_hBitmap != nullptr && m_hBitmap != taken) ::DeleteObject(m_hBitmap);
    m_hBitmap = taken;
    const SIZE size = BitmapSize(taken);
    m_cxBitmap = size.cx;
    m_cyBitmap = size.cy;
    m_clrTransparent = taken ? transparent : COLORREF(-1);
}

void VEzaCmdIcon::AssignFromHICON(HICON icon, bool copy) {
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_cxBitmap = m_cyBitmap = 0;
    m_clrTransparent = COLORREF(-1);
    DropVariant();
    HICON taken = (icon != nullptr && copy) ? ::CopyIcon(icon) : icon;
    if (m_hIcon != taken) DropIcon();
    m_hIcon = taken;
    const SIZE size = IconSize(taken);
    m_cxIcon = size.cx;
    m_cyIcon = size.cy;
}

void VEzaCmdIcon::AssignFromOther(const VEzaCmdIcon& other) {
    if (&other == this) return;
    Empty();
    if (other.m_hBitmap != nullptr)
        AssignFromHBITMAP(other.m_hBitmap, other.m_clrTransparent, nullptr, true);
    else if (other.m_hIcon != nullptr)
        AssignFromHICON(other.m_hIcon, true);
    m_clrVariant = other.m_clrVariant;
    m_dVariantLightness = other.m_dVariantLightness;
}

SIZE VEzaCmdIcon::GetSize() const {
    if (m_hBitmap != nullptr) return SIZE{m_cxBitmap, m_cyBitmap};
    if (m_hIcon != nullptr) return SIZE{m_cxIcon, m_cyIcon};
    return SIZE{0, 0};
}

HICON VEzaCmdIcon::BitmapToIcon(HBITMAP bitmap, COLORREF transparent) {
    HBITMAP copy = Copy32(bitmap, nullptr);
    if (copy == nullptr) return nullptr;
    DIBSECTION ds{};
    ::GetObjectA(copy, sizeof ds, &ds);
    const int cx = ds.dsBm.bmWidth, cy = ds.dsBm.bmHeight;
    auto* px = static_cast<DWORD*>(ds.dsBm.bmBits);
    // Monochrome mask rows are padded to 16 bits.
    const int maskRow = ((cx + 15) / 16) * 2;
    std::vector<BYTE> mask(size_t(maskRow) * cy, 0);
    const DWORD key = ToDib(transparent);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x) {
            DWORD& p = px[size_t(y) * cx + x];
            if (transparent != COLORREF(-1) && (p & 0xFFFFFF) == key) {
                mask[size_t(y) * maskRow + x / 8] |= BYTE(0x80 >> (x % 8));
                p = 0;
            } else {
                p |= 0xFF000000u;
            }
        }
    }
    HBITMAP maskBitmap = ::CreateBitmap(cx, cy, 1, 1, mask.data());
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = copy;
    ii.hbmMask = maskBitmap;
    HICON icon = ::CreateIconIndirect(&ii);
    if (icon == nullptr) ToolkitLogFailure("VEzaCmdIcon: CreateIconIndirect failed (error %lu)", ::GetLastError());
    ::DeleteObject(maskBitmap);
    ::DeleteObject(copy);
    return icon;
}

HICON VEzaCmdIcon::GetIcon(bool) {
    if (m_hIcon == nullptr && m_hBitmap != nullptr) {
        m_hIcon = BitmapToIcon(m_hBitmap, m_clrTransparent);
        m_cxIcon = m_cxBitmap;
        m_cyIcon = m_cyBitmap;
    }
    return m_hIcon;
}

HICON VEzaCmdIcon::DetachIcon(bool) {
    HICON icon = GetIcon();
    m_hIcon = nullptr;
    m_cxIcon = m_cyIcon = 0;
    if (m_hBitmap != nullptr) ::DeleteObject(m_hBitmap);
    m_hBitmap = nullptr;
    m_cxBitmap = m_cyBitmap = 0;
    m_clrTransparent = COLORREF(-1);
    DropVariant();
    return icon;
}

int VEzaCmdIcon::GetBitmapColorMap(CMap<COLORREF, COLORREF, DWORD, DWORD>& map) {
    map.RemoveAll();
    if (m_hBitmap == nullptr) return 0;
    HBITMAP copy = Copy32(m_hBitmap, nullptr);
    if (copy == nullptr) return 0;
    DIBSECTION ds{};
    ::GetObjectA(copy, sizeof ds, &ds);
    auto* px = static_cast<const DWORD*>(ds.dsBm.bmBits);
    for (size_t i = 0, n = size_t(ds.dsBm.bmWidth) * ds.dsBm.bmHeight; i < n; ++i) {
        const COLORREF c = FromDib(px[i]);
        DWORD count = 0;
        map.Lookup(c, count);
        map.SetAt(c, count + 1);
    }
    ::DeleteObject(copy);
    return GetBitmapBitsPerPixel();
}

int VEzaCmdIcon::GetBitmapBitsPerPixel() const {
    BITMAP bm{};
    if (m_hBitmap == nullptr || ::GetObjectA(m_hBitmap, sizeof bm, &bm) != int(sizeof bm)) return 0;
    return bm.bmBitsPixel * bm.bmPlanes;
}

COLORREF VEzaCmdIcon::ChooseTransparentColor(const CMap<COLORREF, COLORREF, DWORD, DWORD>& used) {
    DWORD count;
    for (COLORREF c : {RGB(255, 0, 255), RGB(0, 255, 0), RGB(192, 192, 192)})
        if (!used.Lookup(c, count)) return c;
    for (COLORREF c = 1; c < 0xFFFFFF; ++c)
        if (!used.Lookup(c, count)) return c;
    return COLORREF(-1);
}

bool VEzaCmdIcon::ExtractBitmap32(HBITMAP* result, COLORREF* transparent, CArray<COLORREF, COLORREF>* colors,
                                  bool wantBits) {
    if (result != nullptr) *result = nullptr;
    if (IsEmpty()) return false;
    const SIZE size = GetSize();
    CMap<COLORREF, COLORREF, DWORD, DWORD> used;
    Dib32 dib{};
    if (m_hBitmap != nullptr) {
        HBITMAP copy = Copy32(m_hBitmap, nullptr);
        if (copy == nullptr) return false;
        DIBSECTION ds{};
        ::GetObjectA(copy, sizeof ds, &ds);
        dib = Dib32{copy, static_cast<DWORD*>(ds.dsBm.bmBits), ds.dsBm.bmWidth, ds.dsBm.bmHeight};
    } else {
        dib = NewDib32(size.cx, size.cy);
        if (dib.bitmap == nullptr) return false;
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, dib.bitmap);
        ::DrawIconEx(dc, 0, 0, m_hIcon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
        ::SelectObject(dc, old);
        // Pixels white in the icon's mask are outside the picture.
        ICONINFO ii{};
        if (::GetIconInfo(m_hIcon, &ii)) {
            HDC mdc = ::CreateCompatibleDC(nullptr);
            HGDIOBJ mold = ::SelectObject(mdc, ii.hbmMask);
            for (int y = 0; y < dib.cy; ++y)
                for (int x = 0; x < dib.cx; ++x)
                    if (::GetPixel(mdc, x, y) == RGB(255, 255, 255)) dib.bits[size_t(y) * dib.cx + x] = 0xFFFFFFFF;
            ::SelectObject(mdc, mold);
            ::DeleteDC(mdc);
            if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
            if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
        }
        ::DeleteDC(dc);
    }
    ::GdiFlush();
    const size_t n = size_t(dib.cx) * dib.cy;
    const bool fromIcon = m_hBitmap == nullptr;
    for (size_t i = 0; i < n; ++i) {
        if (fromIcon && dib.bits[i] == 0xFFFFFFFF) continue;
        if (!fromIcon && m_clrTransparent != COLORREF(-1) && (dib.bits[i] & 0xFFFFFF) == ToDib(m_clrTransparent))
            continue;
        used.SetAt(FromDib(dib.bits[i]), 1);
    }
    COLORREF chosen = m_clrTransparent;
    if (wantBits || fromIcon) {
        chosen = ChooseTransparentColor(used);
    } else if (chosen == COLORREF(-1)) {
        ::DeleteObject(dib.bitmap);
        return false;
    }
    const DWORD oldKey = fromIcon ? 0xFFFFFFFF : ToDib(m_clrTransparent);
    for (size_t i = 0; i < n; ++i) {
        bool isOld = fromIcon ? dib.bits[i] == 0xFFFFFFFF
                              : (m_clrTransparent != COLORREF(-1) && (dib.bits[i] & 0xFFFFFF) == oldKey);
        if (isOld) dib.bits[i] = ToDib(chosen);
        dib.bits[i] &= 0x00FFFFFF;
    }
    if (transparent != nullptr) *transparent = chosen;
    if (colors != nullptr) {
        colors->RemoveAll();
        colors->Add(chosen);
        POSITION pos = used.GetStartPosition();
        while (pos != nullptr) {
            COLORREF c;
            DWORD count;
            used.GetNextAssoc(pos, c, count);
            if (c != chosen) colors->Add(c);
        }
    }
    if (result != nullptr)
        *result = dib.bitmap;
    else
        ::DeleteObject(dib.bitmap);
    return true;
}

COLORREF VEzaCmdIcon::VariantPixel(COLORREF pixel, COLORREF variant, double d) {
    double e = (0.3 * GetRValue(pixel) + 0.5 * GetGValue(pixel) + 0.2 * GetBValue(pixel)) / 255.0;
    if (d > 0)
        e = e + d * (1.0 - e);
    else if (d < 0)
        e = e * (1.0 + d);
    e = std::clamp(e, 0.0, 1.0);
    const int n = int(e * 255.0);
    auto channel = [&](int c) { return BYTE((n + 3 * ::MulDiv(c, n, 255)) / 4); };
    return RGB(channel(GetRValue(variant)), channel(GetGValue(variant)), channel(GetBValue(variant)));
}

void VEzaCmdIcon::GenerateVariant() {
    DropVariant();
    if (m_clrVariant == COLORREF(-1) || IsEmpty()) return;
    HBITMAP dib = nullptr;
    COLORREF transparent = COLORREF(-1);
    if (!ExtractBitmap32(&dib, &transparent, nullptr, true)) return;
    DIBSECTION ds{};
    ::GetObjectA(dib, sizeof ds, &ds);
    auto* px = static_cast<DWORD*>(ds.dsBm.bmBits);
    const DWORD key = ToDib(transparent);
    for (size_t i = 0, n = size_t(ds.dsBm.bmWidth) * ds.dsBm.bmHeight; i < n; ++i) {
        if ((px[i] & 0xFFFFFF) == key) continue;
        px[i] = ToDib(VariantPixel(FromDib(px[i]), m_clrVariant, m_dVariantLightness));
    }
    m_hVariant = BitmapToIcon(dib, transparent);
    m_cxVariant = ds.dsBm.bmWidth;
    m_cyVariant = ds.dsBm.bmHeight;
    ::DeleteObject(dib);
}

HICON VEzaCmdIcon::GetVariantIcon() {
    if (m_clrVariant == COLORREF(-1)) return nullptr;
    if (m_hVariant == nullptr) GenerateVariant();
    return m_hVariant;
}

void VEzaCmdIcon::SetVariantColor(COLORREF color) {
    if (color == m_clrVariant) return;
    m_clrVariant = color;
    DropVariant();
}

void VEzaCmdIcon::SetVariantLightness(double lightness) {
    if (lightness == m_dVariantLightness) return;
    m_dVariantLightness = lightness;
    DropVariant();
}

void VEzaCmdIcon::SyncSysColors() {
    COLORREF color = COLORREF(-1);
    double percent = 0.0;
    if (g_alphaQuery != nullptr) g_alphaQuery(&color, &percent);
    SetVariantColor(color);
    SetVariantLightness(percent);
    if (m_hBitmap != nullptr) DropIcon();
}

void VEzaCmdIcon::Paint(HDC dc, POINT at, int look, HBRUSH brush) {
    if (dc == nullptr || IsEmpty()) return;
    const SIZE size = GetSize();
    if (look == 3) {
        HICON variant = ::GetDeviceCaps(dc, BITSPIXEL) > 8 ? GetVariantIcon() : nullptr;
        if (variant != nullptr) {
            ::DrawStateA(dc, brush, nullptr, LPARAM(variant), 0, at.x, at.y, size.cx, size.cy, DST_ICON);
            return;
        }
        look = 2;
    }
    HICON icon = GetIcon();
    if (icon == nullptr) return;
    UINT flags = DST_ICON;
    if (look == 1) flags |= DSS_DISABLED;
    if (look == 2) flags |= DSS_MONO;
    ::DrawStateA(dc, brush, nullptr, LPARAM(icon), 0, at.x, at.y, size.cx, size.cy, flags);
}

bool VEzaCmdIcon::CreateScaledCopy(const VEzaCmdIcon& other, int cx, int cy, COLORREF transparent) {
    const SIZE size = other.GetSize();
    if (&other == this) return size.cx == cx && size.cy == cy;
    if (size.cx == cx && size.cy == cy) {
        AssignFromOther(other);
        return true;
    }
    if (other.IsEmpty() || cx <= 0 || cy <= 0) return false;
    VEzaCmdIcon source(other);
    HBITMAP src = nullptr;
    COLORREF key = COLORREF(-1);
    if (!source.ExtractBitmap32(&src, &key, nullptr, other.m_hBitmap == nullptr)) return false;
    if (transparent == COLORREF(-1)) transparent = key;
    Dib32 dst = NewDib32(cx, cy);
    if (dst.bitmap == nullptr) {
        ::DeleteObject(src);
        return false;
    }
    std::fill(dst.bits, dst.bits + size_t(cx) * cy, ToDib(transparent));
    HDC sdc = ::CreateCompatibleDC(nullptr), ddc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ so = ::SelectObject(sdc, src), dobj = ::SelectObject(ddc, dst.bitmap);
    ::TransparentBlt(ddc, 0, 0, cx, cy, sdc, 0, 0, size.cx, size.cy, key);
    ::SelectObject(sdc, so);
    ::SelectObject(ddc, dobj);
    ::DeleteDC(sdc);
    ::DeleteDC(ddc);
    ::DeleteObject(src);
    if (other.m_hBitmap != nullptr) {
        AssignFromHBITMAP(dst.bitmap, transparent, nullptr, false);
    } else {
        HICON icon = BitmapToIcon(dst.bitmap, transparent);
        ::DeleteObject(dst.bitmap);
        AssignFromHICON(icon, false);
    }
    return !IsEmpty();
}

void VEzaCmdIcon::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        if (m_hBitmap != nullptr) {
            ar << BYTE(1);
            VEzaBitmap bmp;
            bmp.FromBitmap(m_hBitmap, true);
            bmp.Serialize(ar);
            ar << DWORD(m_clrTransparent);
        } else if (m_hIcon != nullptr) {
            ar << BYTE(2);
            ICONINFO ii{};
            if (!::GetIconInfo(m_hIcon, &ii)) AfxThrowUserException();
            BYTE flags = BYTE((ii.fIcon ? 1 : 0) | (ii.hbmColor ? 2 : 0) | (ii.hbmMask ? 4 : 0));
            ar << flags << DWORD(ii.xHotspot) << DWORD(ii.yHotspot);
            for (HBITMAP part : {ii.hbmColor, ii.hbmMask}) {
                if (part == nullptr) continue;
                VEzaBitmap bmp;
                bool ok = bmp.FromBitmap(part, false);
                ::DeleteObject(part);
                if (!ok) AfxThrowUserException();
                bmp.Serialize(ar);
            }
        } else {
            ar << BYTE(0);
        }
        return;
    }
    BYTE kind = 0;
    ar >> kind;
    Empty();
    if (kind == 1) {
        VEzaBitmap bmp;
        bmp.Serialize(ar);
        DWORD transparent;
        ar >> transparent;
        HBITMAP h = bmp.CreateBitmap(nullptr, true);
        if (h != nullptr) AssignFromHBITMAP(h, COLORREF(transparent), nullptr, false);
    } else if (kind == 2) {
        BYTE flags;
        DWORD hx, hy;
        ar >> flags >> hx >> hy;
        VEzaBitmap color, mask;
        if (flags & 2) color.Serialize(ar);
        if (flags & 4) mask.Serialize(ar);
        ICONINFO ii{};
        ii.fIcon = (flags & 1) != 0;
        ii.xHotspot = hx;
        ii.yHotspot = hy;
        ii.hbmColor = color.IsEmpty() ? nullptr : color.CreateBitmap(nullptr, true);
        ii.hbmMask = nullptr;
        if (!mask.IsEmpty()) {
            // Masks are monochrome GDI bitmaps.
            const SIZE ms = mask.GetSize();
            VEzaBitmap one(mask);
            std::vector<BYTE> rows(size_t(((ms.cx + 15) / 16) * 2) * ms.cy, 0);
            for (int y = 0; y < ms.cy; ++y)
                for (int x = 0; x < ms.cx; ++x)
                    if ((one.GetPixelRGB(x, y) & 0xFFFFFF) != 0)
                        rows[size_t(y) * ((ms.cx + 15) / 16) * 2 + x / 8] |= BYTE(0x80 >> (x % 8));
            ii.hbmMask = ::CreateBitmap(ms.cx, ms.cy, 1, 1, rows.data());
        }
        HICON icon = ii.hbmMask ? ::CreateIconIndirect(&ii) : nullptr;
        if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
        if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
        if (icon != nullptr) AssignFromHICON(icon, false);
    } else if (kind != 0) {
        AfxThrowArchiveException(CArchiveException::badSchema);
    }
}

bool VEzaCmdIcon::CreateMarkBitmap(int cx, int cy, COLORREF background, COLORREF mark,
                                   void (*paint)(CDC& dc, int x, int y, COLORREF colour)) {
    if (cx <= 0 || cy <= 0) return false;
    if (mark == COLORREF(-1)) mark = g_PaintManager.GetPM() != nullptr ? g_PaintManager->GetColor(1010) : RGB(0, 0, 0);
    if (background == COLORREF(-1)) background = mark == RGB(255, 0, 255) ? RGB(0x80, 0xFF, 0x80) : RGB(255, 0, 255);
    Dib32 dib = NewDib32(cx, cy);
    if (dib.bitmap == nullptr) return false;
    HDC memory = ::CreateCompatibleDC(nullptr);
    if (memory == nullptr) {
        ToolkitLogFailure("VEzaCmdIcon: no memory DC for a mark (error %lu)", ::GetLastError());
        ::DeleteObject(dib.bitmap);
        return false;
    }
    HGDIOBJ old = ::SelectObject(memory, dib.bitmap);
    {
        CDC dc;
        dc.Attach(memory);
        dc.FillSolidRect(0, 0, cx, cy, background);
        paint(dc, cx / 2 - 3, cy / 2 - 3, mark);
        dc.Detach();
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    AssignFromHBITMAP(dib.bitmap, background, nullptr, false);
    return true;
}

bool VEzaCmdIcon::CreateCheckMarkBitmap(int cx, int cy, COLORREF background, COLORREF mark) {
    return CreateMarkBitmap(cx, cy, background, mark, &VEzaPaintManager::stat_PaintCheckMark);
}

bool VEzaCmdIcon::CreateRadioMarkBitmap(int cx, int cy, COLORREF background, COLORREF mark) {
    return CreateMarkBitmap(cx, cy, background, mark, &VEzaPaintManager::stat_PaintRadioDot);
}

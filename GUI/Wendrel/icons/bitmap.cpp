#include "icons/bitmap.h"

#include <malloc.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

#include "toolkit/toolkit_log.h"

namespace {

// Larger images are refused: no toolkit picture comes near, and the limit
// keeps every size computation far from overflow.
constexpr int kMaxSide = 0x8000;
constexpr unsigned long long kMaxPixelBytes = 0x10000000ull;

DWORD Le32(const BYTE* p) { return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24; }
WORD Le16(const BYTE* p) { return WORD(p[0] | p[1] << 8); }
void Put32(std::vector<BYTE>& out, DWORD v) {
    for (int i = 0; i < 4; ++i) out.push_back(BYTE(v >> (8 * i)));
}
void Put16(std::vector<BYTE>& out, WORD v) {
    out.push_back(BYTE(v));
    out.push_back(BYTE(v >> 8));
}

[[noreturn]] void Malformed(const char* why) {
    ToolkitLogFailure("BMP refused: %s", why);
    AfxThrowArchiveException(CArchiveException::badSchema);
}

bool ValidDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

void DefaultMasks(int bpp, DWORD masks[4]) {
    masks[0] = masks[1] = masks[2] = masks[3] = 0;
    if (bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else if (bpp == 24 || bpp == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
        if (bpp == 32) masks[3] = 0xFF000000;
    }
}

// A channel value under a mask, scaled to 0..255.
BYTE Channel(DWORD pixel, DWORD mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    const DWORD max = mask >> shift;
    return BYTE(((pixel & mask) >> shift) * 255u / max);
}

// Decodes RLE8 or RLE4 rows (bottom-up, as stored) into bits; every run,
// delta and absolute block is checked against the row, the image and the input.
void DecodeRle(const BYTE* src, size_t avail, bool rle4, int width, int height, BYTE* bits, UINT rowBytes) {
    int x = 0, y = 0;
    size_t i = 0;
    auto put = [&](int px, int value) {
        BYTE* row = bits + size_t(y) * rowBytes;
        if (!rle4) {
            row[px] = BYTE(value);
        } else if ((px & 1) == 0) {
            row[px / 2] = BYTE((row[px / 2] & 0x0F) | (value << 4));
        } else {
            row[px / 2] = BYTE((row[px / 2] & 0xF0) | (value & 0x0F));
        }
    };
    for (;;) {
        if (i + 2 > avail) Malformed("RLE data ends before its end-of-bitmap mark");
        const int a = src[i], b = src[i + 1];
        i += 2;
        if (a > 0) {
            if (y >= height) Malformed("RLE run below the image");
            if (x + a > width) Malformed("RLE run past the end of its row");
            for (int k = 0; k < a; ++k) put(x + k, rle4 ? ((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
            x += a;
            continue;
        }
        if (b == 0) {  // end of line
            x = 0;
            if (++y > height) Malformed("RLE end of line below the image");
        } else if (b == 1) {  // end of bitmap
            return;
        } else if (b == 2) {  // delta
            if (i + 2 > avail) Malformed("RLE delta cut short");
            x += src[i];
            y += src[i + 1];
            i += 2;
            if (x > width || y > height) Malformed("RLE delta outside the image");
        } else {  // absolute block of b pixels, padded to a 16-bit boundary
            const size_t bytes = rle4 ? (size_t(b) + 1) / 2 : size_t(b);
            if (i + bytes > avail) Malformed("RLE absolute block past the end of the data");
            if (y >= height) Malformed("RLE absolute block below the image");
            if (x + b > width) Malformed("RLE absolute block past the end of its row");
            for (int k = 0; k < b; ++k) {
                int v = rle4 ? ((k & 1) ? (src[i + k / 2] & 0x0F) : (src[i + k / 2] >> 4)) : src[i + k];
                put(x + k, v);
            }
            x += b;
            i += (bytes + 1) & ~size_t(1);
        }
    }
}

// RLE8 of one row: runs of two or more as encoded pairs, other pixels in
// absolute blocks (three or more) or single pairs.
void EncodeRle8Row(const BYTE* row, int width, std::vector<BYTE>& out) {
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
        if (run >= 2) {
            out.push_back(BYTE(run));
            out.push_back(row[x]);
            x += run;
            continue;
        }
        int lit = 1;
        while (x + lit < width && lit < 255 && !(x + lit + 1 < width && row[x + lit] == row[x + lit + 1])) ++lit;
        if (lit >= 3) {
            out.push_back(0);
            out.push_back(BYTE(lit));
            out.insert(out.end(), row + x, row + x + lit);
            if (lit & 1) out.push_back(0);
        } else {
            for (int k = 0; k < lit; ++k) {
                out.push_back(1);
                out.push_back(row[x + k]);
            }
        }
        x += lit;
    }
}

}  // namespace

VEzaBitmap::~VEzaBitmap() { Empty(); }

void VEzaBitmap::Empty() {
    if (m_pData != nullptr) _aligned_free(m_pData);
    m_pData = nullptr;
}

int VEzaBitmap::TableSize(int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

size_t VEzaBitmap::HeaderBytes() const {
    const size_t bytes = sizeof(BITMAPINFOHEADER) + 4 * size_t(TableSize(GetBitsPerPixel()));
    return (bytes + 15) & ~size_t(15);
}

size_t VEzaBitmap::BlockSize() const {
    const BITMAPINFOHEADER* h = GetHeader();
    return 16 + HeaderBytes() + size_t(RowBytes(h->biWidth, h->biBitCount)) * size_t(h->biHeight);
}

const BITMAPINFOHEADER* VEzaBitmap::GetHeader() const {
    return m_pData ? reinterpret_cast<const BITMAPINFOHEADER*>(m_pData + 16) : nullptr;
}

const RGBQUAD* VEzaBitmap::GetColorTable() const {
    return m_pData ? reinterpret_cast<const RGBQUAD*>(m_pData + 16 + sizeof(BITMAPINFOHEADER)) : nullptr;
}

RGBQUAD* VEzaBitmap::GetColorTable() {
    return m_pData ? reinterpret_cast<RGBQUAD*>(m_pData + 16 + sizeof(BITMAPINFOHEADER)) : nullptr;
}

const BYTE* VEzaBitmap::GetBits() const { return m_pData ? m_pData + 16 + HeaderBytes() : nullptr; }
BYTE* VEzaBitmap::GetBits() { return m_pData ? m_pData + 16 + HeaderBytes() : nullptr; }

SIZE VEzaBitmap::GetSize() const {
    if (m_pData == nullptr) return SIZE{0, 0};
    return SIZE{GetHeader()->biWidth, GetHeader()->biHeight};
}

int VEzaBitmap::GetBitsPerPixel() const { return m_pData ? GetHeader()->biBitCount : 0; }

bool VEzaBitmap::Allocate(int width, int height, int bpp, const DWORD* masks) {
    Empty();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    if (!ValidDepth(bpp)) bpp = 8;
    const int table = TableSize(bpp);
    const size_t header = (sizeof(BITMAPINFOHEADER) + 4 * size_t(table) + 15) & ~size_t(15);
    const unsigned long long pixels = (unsigned long long)RowBytes(width, bpp) * unsigned(height);
    if (pixels > kMaxPixelBytes) return false;
    const size_t total = 16 + header + size_t(pixels);
    BYTE* block = static_cast<BYTE*>(_aligned_malloc(total, 16));
    if (block == nullptr) return false;
    std::memset(block, 0, total);
    DWORD defaults[4];
    DefaultMasks(bpp, defaults);
    std::memcpy(block, masks ? masks : defaults, 16);
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(block + 16);
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = WORD(bpp);
    h->biCompression = BI_RGB;
    h->biSizeImage = DWORD(pixels);
    h->biClrUsed = h->biClrImportant = DWORD(table);
    m_pData = block;
    return true;
}

bool VEzaBitmap::Create(int width, int height, int bitsPerPixel) {
    return Allocate(width, height, bitsPerPixel, nullptr);
}

bool VEzaBitmap::AssignFromOther(const VEzaBitmap& other, bool throwOnError) {
    if (&other == this) return true;
    if (other.IsEmpty()) {
        Empty();
        return true;
    }
    const BITMAPINFOHEADER* h = other.GetHeader();
    VEzaBitmap copy;
    if (!copy.Allocate(h->biWidth, h->biHeight, h->biBitCount, other.GetMasks())) {
        Empty();
        if (throwOnError) AfxThrowUserException();
        return false;
    }
    std::memcpy(copy.m_pData, other.m_pData, other.BlockSize());
    std::swap(m_pData, copy.m_pData);
    return true;
}

DWORD VEzaBitmap::GetPixelRGB(int x, int y) const {
    if (m_pData == nullptr) return DWORD(-1);
    const BITMAPINFOHEADER* h = GetHeader();
    if (x < 0 || y < 0 || x >= h->biWidth || y >= h->biHeight) return DWORD(-1);
    const BYTE* row = GetBits() + size_t(h->biHeight - 1 - y) * RowBytes(h->biWidth, h->biBitCount);
    const DWORD* masks = GetMasks();
    auto fromTable = [&](int index) {
        const RGBQUAD& q = GetColorTable()[index];
        return DWORD(q.rgbRed) << 16 | DWORD(q.rgbGreen) << 8 | q.rgbBlue;
    };
    switch (h->biBitCount) {
    case 1: return fromTable((row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return fromTable((x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4));
    case 8: return fromTable(row[x]);
    case 16: {
        DWORD p = Le16(row + 2 * x);
        return DWORD(Channel(p, masks[0])) << 16 | DWORD(Channel(p, masks[1])) << 8 | Channel(p, masks[2]);
    }
    case 24: return DWORD(row[3 * x + 2]) << 16 | DWORD(row[3 * x + 1]) << 8 | row[3 * x];
    default: return Le32(row + 4 * x);
    }
}

void VEzaBitmap::ReadBMP(const BYTE* data, size_t size) {
    if (data == nullptr || size < 14 + sizeof(BITMAPINFOHEADER)) Malformed("shorter than its headers");
    if (data[0] != 'B' || data[1] != 'M') Malformed("no BM signature");
    const DWORD offBits = Le32(data + 10);
    const BYTE* ih = data + 14;
    const DWORD infoSize = Le32(ih);
    if (infoSize < sizeof(BITMAPINFOHEADER) || infoSize > size - 14) Malformed("bad info header size");
    const LONG width = LONG(Le32(ih + 4));
    const LONG rawHeight = LONG(Le32(ih + 8));
    const WORD planes = Le16(ih + 12);
    const int bpp = Le16(ih + 14);
    const DWORD compression = Le32(ih + 16);
    const DWORD clrUsed = Le32(ih + 32);
    if (width <= 0 || rawHeight == 0 || rawHeight == LONG_MIN) Malformed("bad image size");
    const bool topDown = rawHeight < 0;
    const int height = topDown ? -rawHeight : rawHeight;
    if (width > kMaxSide || height > kMaxSide) Malformed("image too large");
    if (planes != 1) Malformed("planes other than 1");
    if (!ValidDepth(bpp)) Malformed("unsupported bits per pixel");
    const bool rle8 = compression == BI_RLE8, rle4 = compression == BI_RLE4;
    const bool fields = compression == BI_BITFIELDS;
    if (compression != BI_RGB && !(rle8 && bpp == 8) && !(rle4 && bpp == 4) && !(fields && (bpp == 16 || bpp == 32)))
        Malformed("compression does not fit the depth");
    if ((rle8 || rle4) && topDown) Malformed("compressed top-down image");

    size_t pos = 14 + infoSize;
    DWORD masks[4];
    DefaultMasks(bpp, masks);
    if (fields) {
        if (infoSize >= 52) {
            masks[0] = Le32(ih + 40);
            masks[1] = Le32(ih + 44);
            masks[2] = Le32(ih + 48);
            masks[3] = infoSize >= 56 ? Le32(ih + 52) : 0;
        } else {
            if (pos + 12 > size) Malformed("bit-field masks cut short");
            masks[0] = Le32(data + pos);
            masks[1] = Le32(data + pos + 4);
            masks[2] = Le32(data + pos + 8);
            masks[3] = 0;
            pos += 12;
        }
        if (masks[0] == 0 || masks[1] == 0 || masks[2] == 0) Malformed("empty bit-field mask");
    }
    const int tableSize = TableSize(bpp);
    size_t entries = 0;
    if (tableSize > 0) {
        entries = clrUsed != 0 ? clrUsed : DWORD(tableSize);
        if (entries > size_t(tableSize)) Malformed("colour table larger than the depth allows");
        if (pos + 4 * entries > size) Malformed("colour table past the end");
    }
    if (offBits < 14 + infoSize || offBits > size) Malformed("pixel offset outside the file");

    VEzaBitmap image;
    if (!image.Allocate(width, height, bpp, masks)) Malformed("image too large");
    if (entries > 0) std::memcpy(image.GetColorTable(), data + pos, 4 * entries);
    const UINT rowBytes = RowBytes(width, bpp);
    const BYTE* src = data + offBits;
    const size_t avail = size - offBits;
    if (rle8 || rle4) {
        DecodeRle(src, avail, rle4, width, height, image.GetBits(), rowBytes);
    } else {
        if ((unsigned long long)rowBytes * unsigned(height) > avail) Malformed("pixel rows past the end");
        BYTE* bits = image.GetBits();
        for (int y = 0; y < height; ++y) {
            const int from = topDown ? height - 1 - y : y;
            std::memcpy(bits + size_t(y) * rowBytes, src + size_t(from) * rowBytes, rowBytes);
        }
    }
    std::swap(m_pData, image.m_pData);
}

std::vector<BYTE> VEzaBitmap::WriteBMP(bool rle) const {
    std::vector<BYTE> out;
    if (m_pData == nullptr) return out;
    const BITMAPINFOHEADER* h = GetHeader();
    const int bpp = h->biBitCount;
    const bool useRle = rle && bpp == 8;
    const bool fields = bpp == 16 || bpp == 32;
    const int table = TableSize(bpp);
    const UINT rowBytes = RowBytes(h->biWidth, bpp);

    std::vector<BYTE> pixels;
    if (useRle) {
        for (int y = 0; y < h->biHeight; ++y) {
            EncodeRle8Row(GetBits() + size_t(y) * rowBytes, h->biWidth, pixels);
            pixels.push_back(0);
            pixels.push_back(y + 1 < h->biHeight ? 0 : 1);
        }
    } else {
        pixels.assign(GetBits(), GetBits() + size_t(rowBytes) * h->biHeight);
    }
    const DWORD offBits = DWORD(14 + sizeof(BITMAPINFOHEADER) + (fields ? 12 : 4 * table));
    out.reserve(offBits + pixels.size());
    out.push_back('B');
    out.push_back('M');
    Put32(out, DWORD(offBits + pixels.size()));
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, sizeof(BITMAPINFOHEADER));
    Put32(out, DWORD(h->biWidth));
    Put32(out, DWORD(h->biHeight));
    Put16(out, 1);
    Put16(out, WORD(bpp));
    Put32(out, useRle ? BI_RLE8 : fields ? BI_BITFIELDS : BI_RGB);
    Put32(out, DWORD(pixels.size()));
    Put32(out, DWORD(h->biXPelsPerMeter));
    Put32(out, DWORD(h->biYPelsPerMeter));
    Put32(out, DWORD(table));
    Put32(out, DWORD(table));
    if (fields) {
        for (int i = 0; i < 3; ++i) Put32(out, GetMasks()[i]);
    } else {
        const BYTE* t = reinterpret_cast<const BYTE*>(GetColorTable());
        out.insert(out.end(), t, t + 4 * table);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

void VEzaBitmap::LoadBMP(CArchive& ar, bool make32) {
    BYTE fileHeader[14];
    if (ar.Read(fileHeader, 14) != 14) AfxThrowArchiveException(CArchiveException::endOfFile);
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Malformed("no BM signature");
    const DWORD total = Le32(fileHeader + 2);
    if (total < 14 + sizeof(BITMAPINFOHEADER) || total > kMaxPixelBytes + 0x10000) Malformed("bad file size");
    std::vector<BYTE> file(total);
    std::memcpy(file.data(), fileHeader, 14);
    if (ar.Read(file.data() + 14, total - 14) != total - 14) AfxThrowArchiveException(CArchiveException::endOfFile);
    ReadBMP(file.data(), file.size());
    if (make32) Make32();
}

void VEzaBitmap::SaveBMP(CArchive& ar, bool make32, bool rle) const {
    if (make32 && GetBitsPerPixel() != 32) {
        VEzaBitmap copy(*this);
        copy.Make32();
        copy.SaveBMP(ar, false, rle);
        return;
    }
    std::vector<BYTE> file = WriteBMP(rle);
    ar.Write(file.data(), UINT(file.size()));
}

void VEzaBitmap::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << BYTE(IsEmpty() ? 1 : 0);
        if (!IsEmpty()) SaveBMP(ar);
        return;
    }
    BYTE empty = 0;
    ar >> empty;
    if (empty != 0) {
        Empty();
        return;
    }
    LoadBMP(ar);
}

bool VEzaBitmap::Make32() {
    if (m_pData == nullptr) return false;
    const int bpp = GetBitsPerPixel();
    if (bpp == 32) return true;
    const SIZE size = GetSize();
    VEzaBitmap out;
    if (!out.Allocate(size.cx, size.cy, 32, nullptr)) return false;
    for (int y = 0; y < size.cy; ++y) {
        DWORD* row = reinterpret_cast<DWORD*>(out.GetBits() + size_t(size.cy - 1 - y) * RowBytes(size.cx, 32));
        for (int x = 0; x < size.cx; ++x) row[x] = 0xFF000000u | GetPixelRGB(x, y);
    }
    std::swap(m_pData, out.m_pData);
    return true;
}

bool VEzaBitmap::PreMultiply() {
    if (GetBitsPerPixel() != 32) return false;
    const SIZE size = GetSize();
    BYTE* p = GetBits();
    for (size_t i = 0, n = size_t(size.cx) * size.cy; i < n; ++i, p += 4) {
        const BYTE a = p[3];
        for (int c = 0; c < 3; ++c) p[c] = BYTE(p[c] * a / 255);
    }
    return true;
}

std::vector<BYTE> VEzaBitmap::InfoForGdi() const {
    const int bpp = GetBitsPerPixel();
    const int table = TableSize(bpp);
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 4 * size_t(std::max(table, 3)));
    std::memcpy(info.data(), GetHeader(), sizeof(BITMAPINFOHEADER));
    auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    if (table > 0) {
        std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), GetColorTable(), 4 * size_t(table));
    } else if (bpp == 16 || bpp == 32) {
        DWORD defaults[4];
        DefaultMasks(bpp, defaults);
        if (std::memcmp(defaults, GetMasks(), 12) != 0) {
            h->biCompression = BI_BITFIELDS;
            std::memcpy(info.data() + sizeof(BITMAPINFOHEADER), GetMasks(), 12);
        }
    }
    return info;
}

bool VEzaBitmap::FromBitmap(HBITMAP bitmap, bool throwOnError) {
    BITMAP bm{};
    VEzaBitmap image;
    bool ok = bitmap != nullptr && ::GetObjectA(bitmap, sizeof bm, &bm) == int(sizeof bm) &&
              image.Allocate(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel * bm.bmPlanes, nullptr);
    if (ok) {
        std::vector<BYTE> info = image.InfoForGdi();
        HDC screen = ::GetDC(nullptr);
        ok = ::GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), image.GetBits(),
                         reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS) == bm.bmHeight;
        ::ReleaseDC(nullptr, screen);
        const int table = TableSize(image.GetBitsPerPixel());
        if (ok && table > 0)
            std::memcpy(image.GetColorTable(), info.data() + sizeof(BITMAPINFOHEADER), 4 * size_t(table));
    }
    if (!ok) {
        Empty();
        ToolkitLogFailure("VEzaBitmap: reading bitmap %p failed", static_cast<void*>(bitmap));
        if (throwOnError) AfxThrowUserException();
        return false;
    }
    std::swap(m_pData, image.m_pData);
    return true;
}

HBITMAP VEzaBitmap::CreateBitmap(HDC dc, bool dibSection) const {
    if (m_pData == nullptr) return nullptr;
    std::vector<BYTE> info = InfoForGdi();
    auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
    if (!dibSection) return ::CreateDIBitmap(dc, GetHeader(), CBM_INIT, GetBits(), bi, DIB_RGB_COLORS);
    void* bits = nullptr;
    HBITMAP h = ::CreateDIBSection(dc, bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (h == nullptr || bits == nullptr) return h;
    const SIZE size = GetSize();
    std::memcpy(bits, GetBits(), size_t(RowBytes(size.cx, GetBitsPerPixel())) * size.cy);
    return h;
}

bool VEzaBitmap::Draw(HDC dc, const RECT& dest, const RECT& src, DWORD rop) const {
    if (m_pData == nullptr || dc == nullptr) return false;
    std::vector<BYTE> info = InfoForGdi();
    const SIZE size = GetSize();
    // Bottom-up rows: the source's y is counted from the bottom.
    return ::StretchDIBits(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, src.left,
                           size.cy - src.bottom, src.right - src.left, src.bottom - src.top, GetBits(),
                           reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, rop) != int(GDI_ERROR);
}

bool VEzaBitmap::DrawFlipped(HDC dc, const RECT& dest, const RECT& src, DWORD rop) const {
    if (m_pData == nullptr || dc == nullptr) return false;
    POINT old{};
    ::GetWindowOrgEx(dc, &old);
    // Draw upside down into a mirrored band: a negative height flips the rows.
    ::SetWindowOrgEx(dc, old.x, old.y - (dest.top + dest.bottom - 1), nullptr);
    std::vector<BYTE> info = InfoForGdi();
    const SIZE size = GetSize();
    const int h = dest.bottom - dest.top;
    bool ok = ::StretchDIBits(dc, dest.left, -dest.top, dest.right - dest.left, -h, src.left, size.cy - src.bottom,
                              src.right - src.left, src.bottom - src.top, GetBits(),
                              reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, rop) != int(GDI_ERROR);
    ::SetWindowOrgEx(dc, old.x, old.y, nullptr);
    return ok;
}

bool VEzaBitmap::DrawAt(HDC dc, int x, int y, DWORD rop) const {
    const SIZE size = GetSize();
    RECT dest{x, y, x + size.cx, y + size.cy};
    RECT src{0, 0, size.cx, size.cy};
    return Draw(dc, dest, src, rop);
}

bool VEzaBitmap::AlphaBlend(HDC dc, const RECT& dest, const RECT& src, BYTE constantAlpha) const {
    if (m_pData == nullptr || dc == nullptr) return false;
    const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const int sw = src.right - src.left, sh = src.bottom - src.top;
    const SIZE size = GetSize();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.left < 0 || src.top < 0 || src.right > size.cx ||
        src.bottom > size.cy)
        return false;
    VEzaBitmap source;
    const VEzaBitmap* image = this;
    if (GetBitsPerPixel() != 32) {
        if (!source.AssignFromOther(*this) || !source.Make32()) return false;
        image = &source;
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = dw;
    bi.bmiHeader.biHeight = -dh;  // top-down work rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP work = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (work == nullptr || bits == nullptr) {
        if (work) ::DeleteObject(work);
        return false;
    }
    HDC mem = ::CreateCompatibleDC(dc);
    HGDIOBJ oldBitmap = ::SelectObject(mem, work);
    const int oldMode = ::SetStretchBltMode(mem, COLORONCOLOR);
    ::StretchBlt(mem, 0, 0, dw, dh, dc, dest.left, dest.top, dw, dh, SRCCOPY);
    ::GdiFlush();
    auto* out = static_cast<BYTE*>(bits);
    const UINT rowBytes = RowBytes(size.cx, 32);
    for (int y = 0; y < dh; ++y) {
        const int sy = src.top + y * sh / dh;
        const BYTE* srow = image->GetBits() + size_t(size.cy - 1 - sy) * rowBytes;
        for (int x = 0; x < dw; ++x) {
            const BYTE* s = srow + 4 * size_t(src.left + x * sw / dw);
            BYTE* d = out + 4 * (size_t(y) * dw + x);
            const int a = ::MulDiv(s[3], constantAlpha, 255);
            for (int c = 0; c < 3; ++c) d[c] = BYTE(::MulDiv(s[c], a, 255) + ::MulDiv(d[c], 255 - a, 255));
        }
    }
    ::BitBlt(dc, dest.left, dest.top, dw, dh, mem, 0, 0, SRCCOPY);
    ::SetStretchBltMode(mem, oldMode);
    ::SelectObject(mem, oldBitmap);
    ::DeleteDC(mem);
    ::DeleteObject(work);
    return true;
}

bool VEzaBitmap::AlphaBlendSkinParts(HDC dc, const RECT& dest, const RECT& src, const RECT& padding, int drawType,
                                     bool drawMiddle, bool /*smooth*/, BYTE constantAlpha) const {
    if (m_pData == nullptr || dc == nullptr) return false;
    if (drawType == 1) {
        const int w = src.right - src.left, h = src.bottom - src.top;
        const int x = dest.left + ((dest.right - dest.left) - w) / 2;
        const int y = dest.top + ((dest.bottom - dest.top) - h) / 2;
        RECT at{x, y, x + w, y + h};
        return AlphaBlend(dc, at, src, constantAlpha);
    }
    // Columns and rows of the nine parts, in source and destination.
    const int sx[4] = {src.left, src.left + padding.left, src.right - padding.right, src.right};
    const int sy[4] = {src.top, src.top + padding.top, src.bottom - padding.bottom, src.bottom};
    const int dx[4] = {dest.left, dest.left + padding.left, dest.right - padding.right, dest.right};
    const int dy[4] = {dest.top, dest.top + padding.top, dest.bottom - padding.bottom, dest.bottom};
    bool any = false;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (r == 1 && c == 1 && !drawMiddle) continue;
            RECT s{sx[c], sy[r], sx[c + 1], sy[r + 1]};
            RECT d{dx[c], dy[r], dx[c + 1], dy[r + 1]};
            if (s.right <= s.left || s.bottom <= s.top || d.right <= d.left || d.bottom <= d.top) continue;
            if (!::RectVisible(dc, &d)) continue;
            any = AlphaBlend(dc, d, s, constantAlpha) || any;
        }
    }
    return any;
}

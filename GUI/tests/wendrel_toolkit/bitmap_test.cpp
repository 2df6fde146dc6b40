// VEzaBitmap and VEzaCmdIcon: the packed DIB, BMP round trips at every depth
// and with RLE, malformed files refused, conversions, and drawing checked as
// exact pixels in a 32-bit DIB section.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "afx.h"
#include "icons/bitmap.h"
#include "icons/cmd_icon.h"
#include "wtest.h"

namespace {

void Put32(std::vector<BYTE>& v, DWORD d) {
    for (int i = 0; i < 4; ++i) v.push_back(BYTE(d >> (8 * i)));
}
void Put16(std::vector<BYTE>& v, WORD d) {
    v.push_back(BYTE(d));
    v.push_back(BYTE(d >> 8));
}

// A BMP file from its parts; offBits 0 puts the pixels right after the table.
std::vector<BYTE> BmpFile(LONG width, LONG height, WORD bpp, DWORD compression, const std::vector<BYTE>& table,
                          const std::vector<BYTE>& pixels, DWORD clrUsed = 0, DWORD offBits = 0, WORD planes = 1) {
    std::vector<BYTE> f;
    const DWORD off = offBits ? offBits : DWORD(14 + 40 + table.size());
    f.push_back('B');
    f.push_back('M');
    Put32(f, DWORD(off + pixels.size()));
    Put32(f, 0);
    Put32(f, off);
    Put32(f, 40);
    Put32(f, DWORD(width));
    Put32(f, DWORD(height));
    Put16(f, planes);
    Put16(f, bpp);
    Put32(f, compression);
    Put32(f, DWORD(pixels.size()));
    Put32(f, 0);
    Put32(f, 0);
    Put32(f, clrUsed);
    Put32(f, 0);
    f.insert(f.end(), table.begin(), table.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

std::vector<BYTE> GreyTable(int entries) {
    std::vector<BYTE> t;
    for (int i = 0; i < entries; ++i) {
        BYTE g = BYTE(i * 255 / (entries - 1));
        t.insert(t.end(), {g, g, BYTE(255 - g), 0});
    }
    return t;
}

// An image of a depth whose pixel values follow (x, y).
VEzaBitmap Pattern(int width, int height, int bpp) {
    VEzaBitmap b;
    WCHECK(b.Create(width, height, bpp));
    const int table = VEzaBitmap::TableSize(bpp);
    if (table > 0) std::memcpy(b.GetColorTable(), GreyTable(table).data(), 4 * table);
    const UINT row = VEzaBitmap::RowBytes(width, bpp);
    for (int y = 0; y < height; ++y)
        for (UINT i = 0; i < (UINT(width) * bpp + 7) / 8; ++i) b.GetBits()[y * row + i] = BYTE(y * 31 + i * 7 + 1);
    return b;
}

bool SamePixels(const VEzaBitmap& a, const VEzaBitmap& b) {
    if (a.GetSize().cx != b.GetSize().cx || a.GetSize().cy != b.GetSize().cy) return false;
    for (int y = 0; y < a.GetSize().cy; ++y)
        for (int x = 0; x < a.GetSize().cx; ++x)
            if (a.GetPixelRGB(x, y) != b.GetPixelRGB(x, y)) return false;
    return true;
}

// A 32-bit top-down DIB section selected into a memory DC.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* px = nullptr;
    int cx, cy;
    Canvas(int w, int h, DWORD fill) : cx(w), cy(h) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        px = static_cast<DWORD*>(bits);
        for (int i = 0; i < w * h; ++i) px[i] = fill;
        dc = ::CreateCompatibleDC(nullptr);
        old = ::SelectObject(dc, bitmap);
    }
    ~Canvas() {
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(bitmap);
    }
    DWORD At(int x, int y) {
        ::GdiFlush();
        return px[y * cx + x] & 0xFFFFFF;
    }
};

}  // namespace

WTEST(packed_dib_layout_and_row_padding) {
    struct Case {
        int bpp, width;
        UINT rowBytes;
        int table;
    } cases[] = {{1, 9, 4, 2}, {4, 9, 8, 16}, {8, 5, 8, 256}, {16, 3, 8, 0}, {24, 5, 16, 0}, {32, 3, 12, 0}, {7, 5, 8, 256}};
    for (const Case& c : cases) {
        VEzaBitmap b;
        WCHECK(b.Create(c.width, 2, c.bpp));
        WCHECK_EQ(VEzaBitmap::RowBytes(c.width, b.GetBitsPerPixel()), c.rowBytes);
        WCHECK_EQ(int(b.GetHeader()->biClrUsed), c.table);
        WCHECK_EQ(int(b.GetHeader()->biCompression), int(BI_RGB));
        // Masks, header and table fill whole 16-byte units before the pixels.
        const BYTE* base = reinterpret_cast<const BYTE*>(b.GetMasks());
        WCHECK_EQ(reinterpret_cast<UINT_PTR>(base) % 16, UINT_PTR(0));
        WCHECK_EQ((b.GetBits() - base) % 16, 0);
        WCHECK(b.GetBits() - base >= 16 + 40 + 4 * c.table);
    }
    VEzaBitmap empty;
    WCHECK(empty.IsEmpty());
    WCHECK_EQ(empty.GetSize().cx, 0L);
    WCHECK(!empty.Create(0, 5, 8));
}

WTEST(bmp_round_trip_at_every_depth) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        VEzaBitmap image = Pattern(13, 7, bpp);
        std::vector<BYTE> file = image.WriteBMP();
        WCHECK(file[0] == 'B' && file[1] == 'M');
        const DWORD compression = file[30] | file[31] << 8;
        WCHECK_EQ(compression, DWORD(bpp == 16 || bpp == 32 ? BI_BITFIELDS : BI_RGB));
        VEzaBitmap back;
        back.ReadBMP(file.data(), file.size());
        WCHECK_EQ(back.GetBitsPerPixel(), bpp);
        WCHECK(SamePixels(image, back));
        WCHECK(back.WriteBMP() == file);
    }
}

WTEST(rle8_round_trip_and_compression) {
    VEzaBitmap image;
    WCHECK(image.Create(37, 5, 8));
    std::memcpy(image.GetColorTable(), GreyTable(256).data(), 1024);
    const UINT row = VEzaBitmap::RowBytes(37, 8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 37; ++x)
            image.GetBits()[y * row + x] = BYTE(x < 20 ? y : (x % 3 == 0 ? 200 : x * y));  // runs, then literals
    std::vector<BYTE> rle = image.WriteBMP(true);
    WCHECK_EQ(DWORD(rle[30]), DWORD(BI_RLE8));
    WCHECK(rle.size() < image.WriteBMP(false).size());
    VEzaBitmap back;
    back.ReadBMP(rle.data(), rle.size());
    WCHECK(SamePixels(image, back));
    WCHECK_EQ(DWORD(back.GetHeader()->biCompression), DWORD(BI_RGB));
    // Only 8-bit images are compressed.
    VEzaBitmap four = Pattern(9, 3, 4);
    WCHECK_EQ(DWORD(four.WriteBMP(true)[30]), DWORD(BI_RGB));
}

WTEST(rle_escapes_are_expanded) {
    // RLE8, 6x3: row 0 "run 3 of 5, absolute 1 2 3"; end of line; delta (2,1)
    // into row 2 at x 2, run 2 of 9; end of bitmap. Row 1 stays 0.
    std::vector<BYTE> rle8 = {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1};
    VEzaBitmap a;
    std::vector<BYTE> f8 = BmpFile(6, 3, 8, BI_RLE8, GreyTable(256), rle8);
    a.ReadBMP(f8.data(), f8.size());
    const BYTE* bits = a.GetBits();
    const BYTE expected8[3][6] = {{5, 5, 5, 1, 2, 3}, {0, 0, 0, 0, 0, 0}, {0, 0, 9, 9, 0, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) WCHECK_EQ(int(bits[y * 8 + x]), int(expected8[y][x]));

    // RLE4, 6x1: run of 3 alternating 0xA/0xB, absolute 3 pixels (1, 2, 3).
    std::vector<BYTE> rle4 = {3, 0xAB, 0, 3, 0x12, 0x30, 0, 1};
    VEzaBitmap b;
    std::vector<BYTE> f4 = BmpFile(6, 1, 4, BI_RLE4, GreyTable(16), rle4);
    b.ReadBMP(f4.data(), f4.size());
    WCHECK_EQ(int(b.GetBits()[0]), 0xAB);
    WCHECK_EQ(int(b.GetBits()[1]), 0xA1);
    WCHECK_EQ(int(b.GetBits()[2]), 0x23);
}

WTEST(malformed_bmp_files_are_refused_and_keep_the_image) {
    const std::vector<BYTE> rows8(8 * 2, 1);
    const std::vector<BYTE> t256 = GreyTable(256);
    struct Case {
        const char* what;
        std::vector<BYTE> file;
    };
    std::vector<Case> cases = {
        {"shorter than the headers", std::vector<BYTE>(53, 0)},
        {"no signature", [&] { auto f = BmpFile(5, 2, 8, BI_RGB, t256, rows8); f[0] = 'X'; return f; }()},
        {"small info header", [&] { auto f = BmpFile(5, 2, 8, BI_RGB, t256, rows8); f[14] = 12; return f; }()},
        {"info header past the end", [&] { auto f = BmpFile(5, 2, 8, BI_RGB, t256, rows8); f[15] = 0x40; return f; }()},
        {"width 0", BmpFile(0, 2, 8, BI_RGB, t256, rows8)},
        {"negative width", BmpFile(-5, 2, 8, BI_RGB, t256, rows8)},
        {"height 0", BmpFile(5, 0, 8, BI_RGB, t256, rows8)},
        {"too wide", BmpFile(0x40000, 1, 8, BI_RGB, t256, rows8)},
        {"two planes", BmpFile(5, 2, 8, BI_RGB, t256, rows8, 0, 0, 2)},
        {"3 bits per pixel", BmpFile(5, 2, 3, BI_RGB, t256, rows8)},
        {"RLE8 at 4 bits", BmpFile(5, 2, 4, BI_RLE8, GreyTable(16), {0, 1})},
        {"unknown compression", BmpFile(5, 2, 8, 9, t256, rows8)},
        {"RLE top-down", BmpFile(5, -2, 8, BI_RLE8, t256, {0, 1})},
        {"300 colours at 8 bits", BmpFile(5, 2, 8, BI_RGB, t256, rows8, 300)},
        {"colour table past the end", [&] { auto f = BmpFile(5, 2, 8, BI_RGB, t256, {}); f.resize(14 + 40 + 100); return f; }()},
        {"pixel offset past the end", BmpFile(5, 2, 8, BI_RGB, t256, rows8, 0, 5000)},
        {"pixel offset inside the header", BmpFile(5, 2, 8, BI_RGB, t256, rows8, 0, 20)},
        {"rows cut short", BmpFile(5, 2, 8, BI_RGB, t256, std::vector<BYTE>(15, 1))},
        {"bit fields cut short", BmpFile(5, 2, 32, BI_BITFIELDS, {1, 2, 3}, {})},
        {"empty bit-field mask", BmpFile(1, 1, 32, BI_BITFIELDS, std::vector<BYTE>(12, 0), std::vector<BYTE>(4, 0))},
        {"RLE run past the row", BmpFile(5, 2, 8, BI_RLE8, t256, {6, 1, 0, 1})},
        {"RLE runs below the image", BmpFile(5, 2, 8, BI_RLE8, t256, {0, 0, 0, 0, 1, 1, 0, 1})},
        {"RLE delta outside", BmpFile(5, 2, 8, BI_RLE8, t256, {0, 2, 3, 7, 0, 1})},
        {"RLE delta cut short", BmpFile(5, 2, 8, BI_RLE8, t256, {0, 2, 3})},
        {"RLE absolute past the row", BmpFile(5, 2, 8, BI_RLE8, t256, {0, 6, 1, 2, 3, 4, 5, 6, 0, 1})},
        {"RLE absolute past the data", BmpFile(5, 2, 8, BI_RLE8, t256, {0, 4, 1, 2})},
        {"RLE4 absolute past the row", BmpFile(3, 1, 4, BI_RLE4, GreyTable(16), {0, 4, 0x12, 0x34, 0, 1})},
        {"RLE without an end", BmpFile(5, 2, 8, BI_RLE8, t256, {2, 1})},
    };
    for (const Case& c : cases) {
        VEzaBitmap b = Pattern(3, 3, 24);
        bool refused = false;
        try {
            b.ReadBMP(c.file.data(), c.file.size());
        } catch (CArchiveException* e) {
            refused = e->m_cause == CArchiveException::badSchema;
            e->Delete();
        }
        if (!refused) wtest::fail(__FILE__, __LINE__, std::string("not refused: ") + c.what);
        if (!SamePixels(b, Pattern(3, 3, 24))) wtest::fail(__FILE__, __LINE__, std::string("image changed: ") + c.what);
    }
}

WTEST(archive_form_has_an_empty_byte_before_the_image) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        VEzaBitmap empty;
        empty.Serialize(ar);
        VEzaBitmap image = Pattern(4, 4, 8);
        image.Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    BYTE first[3];
    file.Read(first, 3);
    WCHECK(first[0] == 1 && first[1] == 0 && first[2] == 'B');
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    VEzaBitmap a = Pattern(2, 2, 8), b;
    a.Serialize(ar);
    b.Serialize(ar);
    WCHECK(a.IsEmpty());
    WCHECK(SamePixels(b, Pattern(4, 4, 8)));
    // A stream that ends inside the image.
    CMemFile cut;
    std::vector<BYTE> bmp = Pattern(4, 4, 8).WriteBMP();
    cut.Write("\0", 1);
    cut.Write(bmp.data(), UINT(bmp.size() - 3));
    cut.SeekToBegin();
    CArchive ar2(&cut, CArchive::load);
    VEzaBitmap c;
    WCHECK_THROWS(c.Serialize(ar2), CArchiveException*);
}

WTEST(conversion_to_32_bits_and_premultiplying) {
    VEzaBitmap b = Pattern(5, 3, 4);
    VEzaBitmap original(b);
    WCHECK(b.Make32());
    WCHECK_EQ(b.GetBitsPerPixel(), 32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) WCHECK_EQ(b.GetPixelRGB(x, y), 0xFF000000u | original.GetPixelRGB(x, y));

    VEzaBitmap p;
    p.Create(2, 1, 32);
    reinterpret_cast<DWORD*>(p.GetBits())[0] = 0x80FF4020;
    reinterpret_cast<DWORD*>(p.GetBits())[1] = 0x00FFFFFF;
    WCHECK(p.PreMultiply());
    WCHECK_EQ(p.GetPixelRGB(0, 0), DWORD(0x80802010));
    WCHECK_EQ(p.GetPixelRGB(1, 0), DWORD(0));

    // 16-bit 5-6-5 bit fields.
    std::vector<BYTE> masks;
    Put32(masks, 0xF800);
    Put32(masks, 0x07E0);
    Put32(masks, 0x001F);
    std::vector<BYTE> px = {0x00, 0xF8, 0xE0, 0x07};  // red, green
    std::vector<BYTE> f = BmpFile(2, 1, 16, BI_BITFIELDS, masks, px);
    VEzaBitmap h;
    h.ReadBMP(f.data(), f.size());
    WCHECK_EQ(h.GetPixelRGB(0, 0), DWORD(0xFF0000));
    WCHECK_EQ(h.GetPixelRGB(1, 0), DWORD(0x00FF00));
    VEzaBitmap h2;
    std::vector<BYTE> again = h.WriteBMP();
    h2.ReadBMP(again.data(), again.size());
    WCHECK(SamePixels(h, h2));
}

WTEST(drawing_copies_and_blends_exact_pixels) {
    VEzaBitmap image = Pattern(4, 3, 24);
    Canvas canvas(8, 6, 0xFFFFFF);
    WCHECK(image.DrawAt(canvas.dc, 2, 1));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) WCHECK_EQ(canvas.At(2 + x, 1 + y), image.GetPixelRGB(x, y));
    WCHECK_EQ(canvas.At(1, 1), DWORD(0xFFFFFF));
    WCHECK_EQ(canvas.At(6, 1), DWORD(0xFFFFFF));

    // Half-transparent red over white, then with a constant alpha of 0.
    VEzaBitmap red;
    red.Create(2, 2, 32);
    for (int i = 0; i < 4; ++i) reinterpret_cast<DWORD*>(red.GetBits())[i] = 0x80FF0000;
    RECT dest{1, 1, 3, 3}, src{0, 0, 2, 2};
    WCHECK(red.AlphaBlend(canvas.dc, dest, src));
    WCHECK_EQ(canvas.At(1, 1), DWORD(0xFF7F7F));
    WCHECK_EQ(canvas.At(0, 0), DWORD(0xFFFFFF));
    Canvas plain(3, 3, 0x123456);
    WCHECK(red.AlphaBlend(plain.dc, dest, src, 0));
    WCHECK_EQ(plain.At(1, 1), DWORD(0x123456));
}

WTEST(skin_parts_keep_corners_and_stretch_edges) {
    // 3x3 source, each pixel its own colour, padding 1 on every side.
    VEzaBitmap skin;
    skin.Create(3, 3, 32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            reinterpret_cast<DWORD*>(skin.GetBits())[(2 - y) * 3 + x] = 0xFF000000u | DWORD(0x10 * (y * 3 + x + 1));
    Canvas canvas(6, 5, 0xFFFFFF);
    RECT dest{0, 0, 6, 5}, src{0, 0, 3, 3}, pad{1, 1, 1, 1};
    WCHECK(skin.AlphaBlendSkinParts(canvas.dc, dest, src, pad, 0, false));
    WCHECK_EQ(canvas.At(0, 0), DWORD(0x10));
    WCHECK_EQ(canvas.At(5, 0), DWORD(0x30));
    WCHECK_EQ(canvas.At(0, 4), DWORD(0x70));
    WCHECK_EQ(canvas.At(5, 4), DWORD(0x90));
    for (int x = 1; x <= 4; ++x) WCHECK_EQ(canvas.At(x, 0), DWORD(0x20));
    for (int y = 1; y <= 3; ++y) WCHECK_EQ(canvas.At(0, y), DWORD(0x40));
    WCHECK_EQ(canvas.At(2, 2), DWORD(0xFFFFFF));  // no middle
    WCHECK(skin.AlphaBlendSkinParts(canvas.dc, dest, src, pad, 0, true));
    WCHECK_EQ(canvas.At(2, 2), DWORD(0x50));
    Canvas centred(7, 7, 0xFFFFFF);
    RECT all{0, 0, 7, 7};
    WCHECK(skin.AlphaBlendSkinParts(centred.dc, all, src, pad, 1));
    WCHECK_EQ(centred.At(2, 2), DWORD(0x10));
    WCHECK_EQ(centred.At(4, 4), DWORD(0x90));
    WCHECK_EQ(centred.At(1, 1), DWORD(0xFFFFFF));
}

namespace {

// A 4x4 bitmap: magenta ground with a 2x2 blue square at (1,1).
HBITMAP SquareBitmap() {
    DWORD px[16];
    for (int i = 0; i < 16; ++i) px[i] = 0xFF00FF;
    for (int i : {5, 6, 9, 10}) px[i] = 0x0000FF;
    return ::CreateBitmap(4, 4, 1, 32, px);
}

}  // namespace

WTEST(icon_variant_defaults_and_pixel_rule) {
    VEzaCmdIcon icon;
    WCHECK(icon.IsEmpty());
    WCHECK_EQ(icon.GetVariantColor(), COLORREF(-1));
    WCHECK(icon.GetVariantLightness() == 1.4);
    icon.AssignFromHBITMAP(SquareBitmap(), RGB(255, 0, 255), nullptr, false);
    WCHECK(icon.IsBitmapBased());
    WCHECK(icon.GetVariantIcon() == nullptr);
    // Lightness 1.4 makes every pixel n = 255: (255 + 3c) / 4.
    WCHECK_EQ(VEzaCmdIcon::VariantPixel(RGB(0, 0, 255), RGB(0, 100, 200), 1.4), RGB(63, 138, 213));
    // Lightness 0 keeps the pixel's own lightness: blue gives n = 51.
    WCHECK_EQ(VEzaCmdIcon::VariantPixel(RGB(0, 0, 255), RGB(255, 0, 0), 0.0), RGB(51, 12, 12));
    WCHECK_EQ(VEzaCmdIcon::VariantPixel(RGB(255, 255, 255), RGB(0, 0, 0), -1.0), RGB(0, 0, 0));

    icon.SetVariantColor(RGB(0, 100, 200));
    HICON variant = icon.GetVariantIcon();
    WCHECK(variant != nullptr);
    Canvas canvas(4, 4, 0x00FF00);
    ::DrawIconEx(canvas.dc, 0, 0, variant, 4, 4, 0, nullptr, DI_NORMAL);
    WCHECK_EQ(canvas.At(1, 1), DWORD(0x3F8AD5));  // RGB(63, 138, 213) as a DIB word
    WCHECK_EQ(canvas.At(0, 0), DWORD(0x00FF00));  // the transparent ground stays
    // A new lightness makes a new variant: blue keeps its own lightness at 0.
    icon.SetVariantLightness(0.0);
    ::DrawIconEx(canvas.dc, 0, 0, icon.GetVariantIcon(), 4, 4, 0, nullptr, DI_NORMAL);
    WCHECK_EQ(canvas.At(1, 1), DWORD(0x0C1B2A));
    icon.SetVariantColor(COLORREF(-1));
    WCHECK(icon.GetVariantIcon() == nullptr);
}

WTEST(icon_from_bitmap_masks_its_transparent_colour) {
    VEzaCmdIcon icon;
    icon.AssignFromHBITMAP(SquareBitmap(), RGB(255, 0, 255), nullptr, false);
    Canvas canvas(4, 4, 0x808080);
    icon.Paint(canvas.dc, POINT{0, 0});
    WCHECK_EQ(canvas.At(1, 1), DWORD(0x0000FF));
    WCHECK_EQ(canvas.At(0, 0), DWORD(0x808080));
    WCHECK_EQ(canvas.At(3, 3), DWORD(0x808080));

    // The transparent colour chosen for the pixel bits is one the picture lacks.
    HBITMAP dib = nullptr;
    COLORREF key = 0;
    CArray<COLORREF, COLORREF> colours;
    WCHECK(icon.ExtractBitmap32(&dib, &key, &colours, true));
    WCHECK_EQ(key, RGB(255, 0, 255));
    WCHECK_EQ(colours.GetSize(), INT_PTR(2));
    WCHECK_EQ(colours[0], RGB(255, 0, 255));
    ::DeleteObject(dib);
    DWORD px[4] = {0xFF00FF, 0x00FF00, 0x0000FF, 0x0000FF};
    VEzaCmdIcon both;
    both.AssignFromHBITMAP(::CreateBitmap(2, 2, 1, 32, px), RGB(0, 0, 255), nullptr, false);
    WCHECK(both.ExtractBitmap32(&dib, &key, nullptr, true));
    WCHECK_EQ(key, RGB(192, 192, 192));
    ::DeleteObject(dib);

    // A scaled copy at the same size is a plain copy; another size is stretched.
    VEzaCmdIcon copy;
    WCHECK(copy.CreateScaledCopy(icon, 4, 4));
    WCHECK(copy.IsBitmapBased());
    WCHECK_EQ(copy.GetSize().cx, 4L);
    VEzaCmdIcon big;
    WCHECK(big.CreateScaledCopy(icon, 8, 8));
    WCHECK_EQ(big.GetSize().cx, 8L);
    Canvas wide(8, 8, 0x808080);
    big.Paint(wide.dc, POINT{0, 0});
    WCHECK_EQ(wide.At(3, 3), DWORD(0x0000FF));
    WCHECK_EQ(wide.At(0, 0), DWORD(0x808080));
}

WTEST(icon_archive_round_trip) {
    VEzaCmdIcon icon;
    icon.AssignFromHBITMAP(SquareBitmap(), RGB(255, 0, 255), nullptr, false);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        icon.Serialize(ar);
        VEzaCmdIcon empty;
        empty.Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    VEzaCmdIcon back, none;
    back.Serialize(ar);
    none.Serialize(ar);
    WCHECK(none.IsEmpty());
    WCHECK(back.IsBitmapBased());
    WCHECK_EQ(back.GetBitmapTransparentColor(), RGB(255, 0, 255));
    Canvas canvas(4, 4, 0x808080);
    back.Paint(canvas.dc, POINT{0, 0});
    WCHECK_EQ(canvas.At(2, 2), DWORD(0x0000FF));
    WCHECK_EQ(canvas.At(0, 3), DWORD(0x808080));
}

WTEST(flipped_drawing_turns_the_rows_over) {
    VEzaBitmap image = Pattern(3, 4, 24);
    Canvas canvas(7, 8, 0xFFFFFF);
    RECT dest{2, 3, 5, 7}, src{0, 0, 3, 4};
    WCHECK(image.DrawFlipped(canvas.dc, dest, src));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x) WCHECK_EQ(canvas.At(2 + x, 3 + y), image.GetPixelRGB(x, 3 - y));
    WCHECK_EQ(canvas.At(2, 2), DWORD(0xFFFFFF));
    WCHECK_EQ(canvas.At(2, 7), DWORD(0xFFFFFF));
    POINT origin{};
    ::GetWindowOrgEx(canvas.dc, &origin);
    WCHECK(origin.x == 0 && origin.y == 0);
}

WTEST(icon_based_pictures_keep_their_mask_through_the_archive) {
    VEzaCmdIcon icon;
    icon.AssignFromHICON(VEzaCmdIcon::BitmapToIcon(SquareBitmap(), RGB(255, 0, 255)), false);
    WCHECK(!icon.IsBitmapBased());
    WCHECK_EQ(icon.GetSize().cx, 4L);
    WCHECK_EQ(icon.GetSize().cy, 4L);

    // The outside of an icon gets a transparent colour the picture lacks.
    HBITMAP dib = nullptr;
    COLORREF key = 0;
    WCHECK(icon.ExtractBitmap32(&dib, &key, nullptr, true));
    WCHECK_EQ(key, RGB(255, 0, 255));
    DIBSECTION ds{};
    ::GetObjectA(dib, sizeof ds, &ds);
    const DWORD* px = static_cast<const DWORD*>(ds.dsBm.bmBits);
    WCHECK_EQ(px[0] & 0xFFFFFF, DWORD(0xFF00FF));
    WCHECK_EQ(px[5] & 0xFFFFFF, DWORD(0x0000FF));
    ::DeleteObject(dib);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        icon.Serialize(ar);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    VEzaCmdIcon back;
    back.Serialize(ar);
    WCHECK(!back.IsEmpty() && !back.IsBitmapBased());
    Canvas canvas(4, 4, 0x808080);
    back.Paint(canvas.dc, POINT{0, 0});
    WCHECK_EQ(canvas.At(1, 2), DWORD(0x0000FF));
    WCHECK_EQ(canvas.At(3, 0), DWORD(0x808080));
    // A detached icon leaves nothing behind.
    HICON detached = back.DetachIcon();
    WCHECK(detached != nullptr);
    WCHECK(back.IsEmpty());
    ::DestroyIcon(detached);
}

WTEST(top_down_files_and_one_bit_pixels) {
    // 24-bit, 2x2, rows stored top first: red, green / blue, white.
    std::vector<BYTE> rows = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    std::vector<BYTE> f = BmpFile(2, -2, 24, BI_RGB, {}, rows);
    VEzaBitmap b;
    b.ReadBMP(f.data(), f.size());
    WCHECK_EQ(b.GetSize().cy, 2L);
    WCHECK_EQ(b.GetPixelRGB(0, 0), DWORD(0xFF0000));
    WCHECK_EQ(b.GetPixelRGB(1, 0), DWORD(0x00FF00));
    WCHECK_EQ(b.GetPixelRGB(0, 1), DWORD(0x0000FF));
    WCHECK_EQ(b.GetPixelRGB(1, 1), DWORD(0xFFFFFF));
    WCHECK_EQ(b.GetPixelRGB(2, 0), DWORD(-1));

    // 1-bit, 10x1: the most significant bit is the leftmost pixel.
    std::vector<BYTE> table = {0, 0, 0, 0, 255, 255, 255, 0};
    std::vector<BYTE> bits = {0xA0, 0x40, 0, 0};
    std::vector<BYTE> g = BmpFile(10, 1, 1, BI_RGB, table, bits);
    VEzaBitmap one;
    one.ReadBMP(g.data(), g.size());
    const DWORD expected[10] = {0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0xFFFFFF};
    for (int x = 0; x < 10; ++x) WCHECK_EQ(one.GetPixelRGB(x, 0), expected[x]);
}

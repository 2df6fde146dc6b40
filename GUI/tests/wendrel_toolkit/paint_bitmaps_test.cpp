// The paint manager's bitmaps: through archives and bitmap resources, the
// built-in tree boxes, and the command icons' check and radio marks, all
// checked as exact pixels.
#include <cstdio>
#include <string>
#include <vector>

#include "afx.h"
#include "icons/bitmap.h"
#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "toolkit_ids.h"
#include "wtest.h"

namespace {

// The pixels of a bitmap as 0x00RRGGBB words, rows from the top.
VEzaBitmap Pixels(HBITMAP bitmap) {
    VEzaBitmap picture;
    WCHECK(picture.FromBitmap(bitmap));
    return picture;
}

// The picture of a bitmap-based icon.
VEzaBitmap IconPixels(VEzaCmdIcon& icon) {
    HBITMAP h = nullptr;
    COLORREF transparent = COLORREF(-1);
    WCHECK(icon.ExtractBitmap32(&h, &transparent, nullptr, false));
    VEzaBitmap picture = Pixels(h);
    if (h != nullptr) ::DeleteObject(h);
    return picture;
}

// Compares a picture with rows of letters mapped to 0x00RRGGBB colours.
void ExpectRows(const VEzaBitmap& picture, const std::vector<std::string>& rows,
                const std::vector<std::pair<char, DWORD>>& colours, int x0 = 0, int y0 = 0) {
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            DWORD want = 0xFFFFFFFF;
            for (const auto& [letter, rgb] : colours)
                if (letter == rows[y][x]) want = rgb;
            const DWORD got = picture.GetPixelRGB(x0 + int(x), y0 + int(y)) & 0xFFFFFF;
            if (got != want) {
                char text[96];
                std::snprintf(text, sizeof text, "pixel (%d, %d) is %06lX, not %06lX", x0 + int(x), y0 + int(y),
                              (unsigned long)got, (unsigned long)want);
                wtest::fail(__FILE__, __LINE__, text);
                return;
            }
        }
}

}  // namespace

WTEST(bitmaps_go_through_an_archive_in_the_toolkit_form) {
    VEzaBitmap source;
    WCHECK(source.Create(3, 2, 24));
    HBITMAP original = source.CreateBitmap(nullptr, true);
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(), original);
        dc.SetPixel(0, 0, RGB(10, 20, 30));
        dc.SetPixel(2, 1, RGB(200, 100, 50));
        ::SelectObject(dc.GetSafeHdc(), old);
    }
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        WCHECK(VEzaPaintManager::stat_SerializeBitmap(ar, &original));
        ar.Close();
    }
    // One byte "not empty", then a BMP file.
    file.SeekToBegin();
    BYTE head[3] = {};
    file.Read(head, 3);
    WCHECK(head[0] == 0 && head[1] == 'B' && head[2] == 'M');
    file.SeekToBegin();
    HBITMAP loaded = nullptr;
    {
        CArchive ar(&file, CArchive::load);
        WCHECK(VEzaPaintManager::stat_SerializeBitmap(ar, &loaded));
    }
    WCHECK(loaded != nullptr && loaded != original);
    if (loaded != nullptr) {
        const VEzaBitmap back = Pixels(loaded);
        WCHECK(back.GetSize().cx == 3 && back.GetSize().cy == 2);
        WCHECK_EQ(back.GetPixelRGB(0, 0) & 0xFFFFFF, DWORD(0x0A141E));
        WCHECK_EQ(back.GetPixelRGB(2, 1) & 0xFFFFFF, DWORD(0xC86432));
        WCHECK_EQ(back.GetPixelRGB(1, 0) & 0xFFFFFF, DWORD(0));
        ::DeleteObject(loaded);
    }
    ::DeleteObject(original);
}

WTEST(damaged_bitmap_data_is_refused_and_leaves_the_handle) {
    std::vector<BYTE> bmp;
    {
        VEzaBitmap image;
        image.Create(4, 4, 8);
        bmp = image.WriteBMP();
    }
    struct Case {
        const char* name;
        std::vector<BYTE> data;
        bool resource;
    } cases[] = {
        {"cut inside the pixels", std::vector<BYTE>(bmp.begin(), bmp.end() - 3), false},
        {"empty stream", {}, false},
        {"an empty picture", {1}, false},
        {"resource with a cut header", std::vector<BYTE>(bmp.begin() + 14, bmp.begin() + 30), true},
        {"resource with a cut pixel block", std::vector<BYTE>(bmp.begin() + 14, bmp.end() - 1), true},
    };
    cases[0].data.insert(cases[0].data.begin(), 0);
    for (Case& c : cases) {
        CMemFile file;
        if (!c.data.empty()) file.Write(c.data.data(), UINT(c.data.size()));
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        HBITMAP kept = reinterpret_cast<HBITMAP>(0x1234);
        if (VEzaPaintManager::stat_SerializeBitmap(ar, &kept, c.resource))
            wtest::fail(__FILE__, __LINE__, std::string(c.name) + " was accepted");
        WCHECK(kept == reinterpret_cast<HBITMAP>(0x1234));
    }
}

WTEST(a_bitmap_resource_loads_with_its_pixels) {
    HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDT_TEST_TOOLBAR), MAKEINTRESOURCEA(2));
    WCHECK(resource != nullptr);
    HBITMAP bitmap = VEzaPaintManager::stat_LoadBitmapFromResource(::GetModuleHandleA(nullptr), resource);
    WCHECK(bitmap != nullptr);
    if (bitmap == nullptr) return;
    const VEzaBitmap picture = Pixels(bitmap);
    WCHECK(picture.GetSize().cx == 48 && picture.GetSize().cy == 15);
    // Three 16 by 15 images on magenta: red, green, blue squares from (3, 3) to (12, 11).
    WCHECK_EQ(picture.GetPixelRGB(0, 0) & 0xFFFFFF, DWORD(0xFF00FF));
    WCHECK_EQ(picture.GetPixelRGB(3, 3) & 0xFFFFFF, DWORD(0xFF0000));
    WCHECK_EQ(picture.GetPixelRGB(12, 11) & 0xFFFFFF, DWORD(0xFF0000));
    WCHECK_EQ(picture.GetPixelRGB(13, 11) & 0xFFFFFF, DWORD(0xFF00FF));
    WCHECK_EQ(picture.GetPixelRGB(16 + 3, 3) & 0xFFFFFF, DWORD(0x00A000));
    WCHECK_EQ(picture.GetPixelRGB(32 + 12, 11) & 0xFFFFFF, DWORD(0x0000FF));
    ::DeleteObject(bitmap);
    WCHECK(VEzaPaintManager::stat_LoadBitmapFromResource(::GetModuleHandleA(nullptr), nullptr) == nullptr);
}

WTEST(tree_boxes_are_built_in_with_magenta_corners) {
    const std::vector<std::pair<char, DWORD>> colours = {
        {'m', 0xFF00FF}, {'#', 0x7898B5}, {'.', 0xFFFFFF}, {'s', 0xC6D2E2}, {'x', 0x000000},
    };
    struct Case {
        bool expanded;
        std::vector<std::string> rows;
    } cases[] = {
        {true,
         {"m#######m", "#.......#", "#.......#", "#.......#", "#.xxxxx.#", "#......s#", "#.....ss#", "#...ssss#",
          "m#######m"}},
        {false,
         {"m#######m", "#.......#", "#...x...#", "#...x...#", "#.xxxxx.#", "#...x..s#", "#...x.ss#", "#...ssss#",
          "m#######m"}},
    };
    for (const Case& c : cases) {
        VEzaCmdIcon icon;
        icon.CreateCheckMarkBitmap(4, 4);  // emptied first
        g_PaintManager->LoadWinXpTreeBox(icon, c.expanded);
        WCHECK(icon.IsBitmapBased());
        WCHECK(icon.GetSize().cx == 9 && icon.GetSize().cy == 9);
        WCHECK_EQ(icon.GetBitmapTransparentColor(), RGB(255, 0, 255));
        ExpectRows(IconPixels(icon), c.rows, colours);
    }
}

WTEST(check_and_radio_marks_are_drawn_at_the_centre) {
    // Black on the default background: magenta, the shadow white.
    VEzaCmdIcon check;
    WCHECK(check.CreateCheckMarkBitmap(16, 16, COLORREF(-1), RGB(0, 0, 0)));
    WCHECK_EQ(check.GetBitmapTransparentColor(), RGB(255, 0, 255));
    WCHECK(check.GetSize().cx == 16 && check.GetSize().cy == 16);
    const std::vector<std::string> mark = {
        "m......Xm", "m.....XXm", "mX...XXsm", "mXX.XXs.m", "msXXXs..m", "m.sXs...m", "m..s....m",
    };
    ExpectRows(IconPixels(check), mark, {{'m', 0xFF00FF}, {'.', 0xFF00FF}, {'X', 0x000000}, {'s', 0xFFFFFF}}, 4, 5);

    // A magenta mark gets the light green background.
    VEzaCmdIcon magenta;
    WCHECK(magenta.CreateCheckMarkBitmap(8, 8, COLORREF(-1), RGB(255, 0, 255)));
    WCHECK_EQ(magenta.GetBitmapTransparentColor(), RGB(0x80, 0xFF, 0x80));

    // Without a colour the mark takes the paint manager's colour 1010.
    VEzaCmdIcon radio;
    WCHECK(radio.CreateRadioMarkBitmap(12, 12, RGB(255, 255, 255)));
    const VEzaBitmap dot = IconPixels(radio);
    const COLORREF c = g_PaintManager->GetColor(1010);
    WCHECK_EQ(dot.GetPixelRGB(3 + 3, 3 + 3) & 0xFFFFFF, DWORD(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)));
    WCHECK_EQ(dot.GetPixelRGB(0, 0) & 0xFFFFFF, DWORD(0xFFFFFF));
    WCHECK(!radio.CreateRadioMarkBitmap(0, 5));
}

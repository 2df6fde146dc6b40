// Bitmaps through archives and resources, and the built-in tree boxes: the
// paint manager's side of the toolkit's bitmap class.
#include <array>
#include <cstring>
#include <vector>

#include "icons/bitmap.h"
#include "icons/cmd_icon.h"
#include "paint/paint_log.h"
#include "paint/paint_manager.h"

namespace {

// A bitmap resource is a BMP file without its 14-byte file header: put one
// in front so that the BMP reader (which checks every size and offset) can
// take it. The offset of the pixels follows from the info header.
std::vector<BYTE> WithFileHeader(const std::vector<BYTE>& resource) {
    BITMAPINFOHEADER info{};
    std::memcpy(&info, resource.data(), resource.size() < sizeof info ? resource.size() : sizeof info);
    size_t offset = sizeof(BITMAPFILEHEADER) + info.biSize;
    if (info.biSize == sizeof(BITMAPINFOHEADER) && info.biCompression == BI_BITFIELDS) offset += 3 * sizeof(DWORD);
    if (info.biClrUsed != 0)
        offset += size_t(info.biClrUsed) * sizeof(RGBQUAD);
    else if (info.biBitCount <= 8)
        offset += (size_t(1) << info.biBitCount) * sizeof(RGBQUAD);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = DWORD(sizeof file + resource.size());
    file.bfOffBits = DWORD(offset);
    std::vector<BYTE> bmp(sizeof file + resource.size());
    std::memcpy(bmp.data(), &file, sizeof file);
    if (!resource.empty()) std::memcpy(bmp.data() + sizeof file, resource.data(), resource.size());
    return bmp;
}

std::vector<BYTE> ReadToEnd(CArchive& ar) {
    std::vector<BYTE> data;
    BYTE chunk[4096];
    for (UINT got; (got = ar.Read(chunk, sizeof chunk)) != 0;) data.insert(data.end(), chunk, chunk + got);
    return data;
}

// The tree boxes: 9 by 9 pixels, 24 bits, bottom-up, 28 bytes a row, so 306
// bytes with the headers. 'm' magenta (transparent), '#' the frame, '.' the
// face, 's' its shade, 'x' the sign.
constexpr int kBox = 9;
constexpr size_t kBoxRow = 28;
constexpr size_t kBoxFileBytes = 14 + 40 + kBox * kBoxRow;
static_assert(kBoxFileBytes == 306);
using BoxFile = std::array<BYTE, kBoxFileBytes>;

constexpr void Put(BoxFile& f, size_t at, DWORD value, int bytes) {
    for (int i = 0; i < bytes; ++i) f[at + size_t(i)] = BYTE(value >> (8 * i));
}

constexpr BoxFile MakeBox(const char* const (&rows)[kBox]) {
    BoxFile f{};
    Put(f, 0, 0x4D42, 2);
    Put(f, 2, DWORD(kBoxFileBytes), 4);
    Put(f, 10, 54, 4);
    Put(f, 14, 40, 4);
    Put(f, 18, kBox, 4);
    Put(f, 22, kBox, 4);
    Put(f, 26, 1, 2);
    Put(f, 28, 24, 2);
    Put(f, 34, DWORD(kBox * kBoxRow), 4);
    for (int y = 0; y < kBox; ++y)
        for (int x = 0; x < kBox; ++x) {
            DWORD rgb = 0;
            switch (rows[y][x]) {
            case 'm': rgb = 0xFF00FF; break;
            case '#': rgb = 0x7898B5; break;
            case '.': rgb = 0xFFFFFF; break;
            case 's': rgb = 0xC6D2E2; break;
            default: rgb = 0x000000; break;
            }
            // Bottom-up rows of blue, green, red.
            const size_t at = 54 + size_t(kBox - 1 - y) * kBoxRow + size_t(x) * 3;
            f[at] = BYTE(rgb);
            f[at + 1] = BYTE(rgb >> 8);
            f[at + 2] = BYTE(rgb >> 16);
        }
    return f;
}

constexpr const char* kExpandedRows[kBox] = {
    "m#######m", "#.......#", "#.......#", "#.......#", "#.xxxxx.#",
    "#......s#", "#.....ss#", "#...ssss#", "m#######m",
};
constexpr const char* kCollapsedRows[kBox] = {
    "m#######m", "#.......#", "#...x...#", "#...x...#", "#.xxxxx.#",
    "#...x..s#", "#...x.ss#", "#...ssss#", "m#######m",
};
constexpr BoxFile kExpandedBox = MakeBox(kExpandedRows);
constexpr BoxFile kCollapsedBox = MakeBox(kCollapsedRows);

}  // namespace

bool VEzaPaintManager::stat_SerializeBitmap(CArchive& ar, HBITMAP* bitmap, bool resourceData) {
    if (bitmap == nullptr) return false;
    try {
        VEzaBitmap picture;
        if (ar.IsStoring()) {
            if (*bitmap != nullptr && !picture.FromBitmap(*bitmap)) return false;
            picture.Serialize(ar);
            return true;
        }
        if (resourceData) {
            const std::vector<BYTE> bmp = WithFileHeader(ReadToEnd(ar));
            picture.ReadBMP(bmp.data(), bmp.size());
        } else {
            picture.Serialize(ar);
        }
        if (picture.IsEmpty()) return false;
        HBITMAP made = picture.CreateBitmap(nullptr, true);
        if (made == nullptr) {
            PaintLogFailure("stat_SerializeBitmap: no bitmap made (error %lu)", ::GetLastError());
            return false;
        }
        *bitmap = made;
        return true;
    } catch (CException* e) {
        PaintLogFailure("stat_SerializeBitmap: damaged or unreadable bitmap data");
        e->Delete();
        return false;
    }
}

HBITMAP VEzaPaintManager::stat_LoadBitmapFromResource(HINSTANCE module, HRSRC resource) {
    if (resource == nullptr) return nullptr;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const DWORD size = ::SizeofResource(module, resource);
    BYTE* data = loaded != nullptr ? static_cast<BYTE*>(::LockResource(loaded)) : nullptr;
    if (data == nullptr || size == 0) {
        PaintLogFailure("stat_LoadBitmapFromResource: resource not loaded (error %lu)", ::GetLastError());
        return nullptr;
    }
    // The memory file only reads: the resource's pages stay untouched.
    CMemFile file(data, UINT(size));
    HBITMAP bitmap = nullptr;
    {
        CArchive ar(&file, CArchive::load);
        stat_SerializeBitmap(ar, &bitmap, true);
    }
    file.Detach();
    return bitmap;
}

void VEzaPaintManager::LoadWinXpTreeBox(VEzaCmdIcon& icon, bool expanded) {
    icon.Empty();
    const BoxFile& file = expanded ? kExpandedBox : kCollapsedBox;
    try {
        VEzaBitmap picture;
        picture.ReadBMP(file.data(), file.size());
        HBITMAP bitmap = picture.CreateBitmap(nullptr, true);
        if (bitmap == nullptr) return;
        icon.AssignFromHBITMAP(bitmap, RGB(255, 0, 255), nullptr, false);
    } catch (CException* e) {
        e->Delete();
    }
}

// VEzaBitmap: the toolkit's device-independent bitmap, one packed DIB block
// in memory (four 32-bit channel masks, the BITMAPINFOHEADER, the colour
// table padded so that header and table fill whole 16-byte units, then the
// bottom-up pixel rows, each padded to 4 bytes). Reads and writes the BMP
// file format (RLE8 and RLE4 too); malformed files are refused with
// CArchiveException* and no access outside the input or the image. Draws
// stretched, with per-pixel alpha, or as nine-part skin artwork.
#pragma once

#include <vector>

#include "afx.h"
#include "afxwin.h"
#include "wendrel_export.h"

class WENDREL_API VEzaBitmap {
public:
    VEzaBitmap() = default;
    VEzaBitmap(const VEzaBitmap& other) { AssignFromOther(other, false); }
    VEzaBitmap& operator=(const VEzaBitmap& other) {
        AssignFromOther(other, false);
        return *this;
    }

    virtual ~VEzaBitmap();
    // Copies the other image; on allocation failure the bitmap is empty and,
    // with throwOnError, CUserException* is thrown.
    virtual bool AssignFromOther(const VEzaBitmap& other, bool throwOnError = false);
    virtual void Empty();
    virtual bool IsEmpty() const { return m_pData == nullptr; }
    // One byte "empty", then the BMP image.
    virtual void Serialize(CArchive& ar);
    // StretchDIBits of the source part of the image onto the destination.
    virtual bool Draw(HDC dc, const RECT& dest, const RECT& src, DWORD rop = SRCCOPY) const;
    // The same with the rows the other way up (through a shifted origin and negative heights).
    virtual bool DrawFlipped(HDC dc, const RECT& dest, const RECT& src, DWORD rop = SRCCOPY) const;
    // The whole image at a point.
    virtual bool DrawAt(HDC dc, int x, int y, DWORD rop = SRCCOPY) const;
    // Blends the source part of a 32-bit image by its alpha channel times constantAlpha.
    virtual bool AlphaBlend(HDC dc, const RECT& dest, const RECT& src, BYTE constantAlpha = 0xFF) const;
    // Nine-part skin: corners unscaled, edges and (when drawMiddle) the middle
    // stretched; drawType 1 centres the image unscaled.
    virtual bool AlphaBlendSkinParts(HDC dc, const RECT& dest, const RECT& src, const RECT& padding,
                                     int drawType = 0, bool drawMiddle = true, bool smooth = true,
                                     BYTE constantAlpha = 0xFF) const;
    virtual int Reserved() const { return 0; }

    // A new zero-filled image (1, 4, 8, 16, 24 or 32 bits; other depths become 8).
    bool Create(int width, int height, int bitsPerPixel);
    // A copy of a GDI bitmap at its own size and depth; on failure empty and,
    // with throwOnError, CUserException*.
    bool FromBitmap(HBITMAP bitmap, bool throwOnError = false);
    // A GDI bitmap of the image: a device-dependent one for dc, or a DIB section.
    HBITMAP CreateBitmap(HDC dc, bool dibSection = false) const;

    // Reads a whole BMP file; throws CArchiveException* on malformed data.
    void ReadBMP(const BYTE* data, size_t size);
    // The BMP file; RLE8-compressed when asked and the image has 8 bits per pixel.
    std::vector<BYTE> WriteBMP(bool rle = false) const;
    // From and to an archive, optionally as 32 bits per pixel.
    void LoadBMP(CArchive& ar, bool make32 = false);
    void SaveBMP(CArchive& ar, bool make32 = false, bool rle = false) const;

    // Converts to 32 bits per pixel (through the colour table for 8 bits and less).
    bool Make32();
    // Each colour channel becomes channel * alpha / 255 (32-bit images).
    bool PreMultiply();

    SIZE GetSize() const;
    int GetBitsPerPixel() const;
    static UINT RowBytes(int width, int bitsPerPixel) { return UINT(((UINT(width) * bitsPerPixel + 7) / 8 + 3) & ~3u); }
    // Colour table entries of a depth: 2, 16 or 256; none above 8 bits.
    static int TableSize(int bitsPerPixel);

    const BITMAPINFOHEADER* GetHeader() const;
    const RGBQUAD* GetColorTable() const;
    RGBQUAD* GetColorTable();
    const BYTE* GetBits() const;
    BYTE* GetBits();
    // The four channel masks (red, green, blue, alpha) kept before the header.
    const DWORD* GetMasks() const { return reinterpret_cast<const DWORD*>(m_pData); }
    // The pixel at (x, y), y counted from the top, as 0x00RRGGBB (32-bit
    // images keep their alpha in the top byte); -1 outside.
    DWORD GetPixelRGB(int x, int y) const;

private:
    bool Allocate(int width, int height, int bitsPerPixel, const DWORD* masks);
    size_t HeaderBytes() const;
    size_t BlockSize() const;
    // A BITMAPINFO for GDI calls (with bit-field masks where needed).
    std::vector<BYTE> InfoForGdi() const;

    BYTE* m_pData = nullptr;
};

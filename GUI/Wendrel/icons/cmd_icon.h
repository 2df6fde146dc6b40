// VEzaCmdIcon: the picture of a command. It holds either a bitmap with a
// transparent colour or an HICON (the source), makes the HICON of a bitmap on
// demand and keeps it, draws itself through DrawState, and can generate a
// tinted variant. Every change of the source, the variant colour or the
// variant lightness drops the variant. GUI thread only.
#pragma once

#include "afx.h"
#include "afxtempl.h"
#include "afxwin.h"
#include "wendrel_export.h"

class WENDREL_API VEzaCmdIcon {
public:
    VEzaCmdIcon() = default;
    VEzaCmdIcon(const VEzaCmdIcon& other) { AssignFromOther(other); }
    VEzaCmdIcon& operator=(const VEzaCmdIcon& other) {
        AssignFromOther(other);
        return *this;
    }

    virtual ~VEzaCmdIcon();
    virtual bool IsEmpty() const { return m_hBitmap == nullptr && m_hIcon == nullptr; }
    virtual void Empty();
    // One byte (0 empty, 1 bitmap, 2 icon), then the source.
    virtual void Serialize(CArchive& ar);
    virtual void AssignFromOther(const VEzaCmdIcon& other);
    virtual void AssignFromHICON(HICON icon, bool copy);
    // Takes (copy false) or copies the bitmap, or copies the part of it.
    virtual void AssignFromHBITMAP(HBITMAP bitmap, COLORREF transparent, const RECT* part = nullptr,
                                   bool copy = true);
    virtual SIZE GetSize() const;
    virtual bool IsBitmapBased() const { return m_hBitmap != nullptr; }
    virtual BYTE GetBitmapQuery() const { return 0; }
    virtual COLORREF GetBitmapTransparentColor() const { return m_clrTransparent; }
    // A 32-bit DIB section of the picture with a transparent colour (chosen
    // unused by the picture when bits are wanted); the colour list starts
    // with the transparent colour.
    virtual bool ExtractBitmap32(HBITMAP* result, COLORREF* transparent, CArray<COLORREF, COLORREF>* colors,
                                 bool wantBits);
    // The HICON, made from the bitmap on first request and kept.
    virtual HICON GetIcon(bool = false);
    // Hands an HICON to the caller and drops the bitmap.
    virtual HICON DetachIcon(bool = false);
    virtual HICON GetVariantIcon();
    virtual void SyncSysColors();
    virtual void OnSysColorChange() { SyncSysColors(); }
    virtual void OnSettingChange(UINT, LPCSTR) { SyncSysColors(); }
    virtual void OnDisplayChange(int, int, int) { SyncSysColors(); }
    virtual void OnThemeChanged(WPARAM, LPARAM) { SyncSysColors(); }
    virtual void GenerateVariant();
    // Look 0 normal, 1 disabled, 2 monochrome, 3 the variant.
    virtual void Paint(HDC dc, POINT at, int look = 0, HBRUSH brush = nullptr);
    virtual int GetBitmapColorMap(CMap<COLORREF, COLORREF, DWORD, DWORD>& map);
    virtual int GetBitmapBitsPerPixel() const;
    virtual bool CreateScaledCopy(const VEzaCmdIcon& other, int cx, int cy, COLORREF transparent = COLORREF(-1));
    virtual COLORREF GetVariantColor() const { return m_clrVariant; }
    virtual void SetVariantColor(COLORREF color);
    virtual double GetVariantLightness() const { return m_dVariantLightness; }
    virtual void SetVariantLightness(double lightness);
    // The icon becomes a 32-bit bitmap of the size, filled with background
    // (-1: magenta, or light green when the mark is magenta), as its
    // transparent colour, with the paint manager's check mark or radio dot in
    // mark (-1: the paint manager's colour 1010) at its centre less (3, 3).
    virtual bool CreateCheckMarkBitmap(int cx, int cy, COLORREF background = COLORREF(-1),
                                       COLORREF mark = COLORREF(-1));
    virtual bool CreateRadioMarkBitmap(int cx, int cy, COLORREF background = COLORREF(-1),
                                       COLORREF mark = COLORREF(-1));

    // The variant colour of one pixel (0x00BBGGRR in, out) for a lightness.
    static COLORREF VariantPixel(COLORREF pixel, COLORREF variant, double lightness);
    // A transparent colour that the colours do not use.
    static COLORREF ChooseTransparentColor(const CMap<COLORREF, COLORREF, DWORD, DWORD>& used);
    // An icon of a bitmap whose transparent-coloured pixels become the mask.
    static HICON BitmapToIcon(HBITMAP bitmap, COLORREF transparent);
    // A 32-bit top-down DIB section copy of the part of a bitmap (all of it when NULL).
    static HBITMAP Copy32(HBITMAP bitmap, const RECT* part);

    // Called when the paint manager is installed or changed; without one the
    // answers are -1 and 0.0 (what this program's paint managers answer).
    // The paint manager holder installs its query; returns the one replaced.
    using AlphaQuery = void (*)(COLORREF* color, double* percent);
    static AlphaQuery SetPaintManagerAlphaQuery(AlphaQuery query);

private:
    bool CreateMarkBitmap(int cx, int cy, COLORREF background, COLORREF mark,
                          void (*paint)(CDC& dc, int x, int y, COLORREF colour));
    void DropVariant();
    void DropIcon();

    HBITMAP m_hBitmap = nullptr;
    COLORREF m_clrTransparent = COLORREF(-1);
    int m_cxBitmap = 0, m_cyBitmap = 0;
    HICON m_hIcon = nullptr;
    int m_cxIcon = 0, m_cyIcon = 0;
    HICON m_hVariant = nullptr;
    int m_cxVariant = 0, m_cyVariant = 0;
    COLORREF m_clrVariant = COLORREF(-1);
    double m_dVariantLightness = 1.4;
};

// GDI wrappers: CGdiObject and its pens, brushes, fonts, bitmaps, regions and palettes,
// and CDC with the paint, client and window DCs. A GDI object owns the handle it created
// or attached and deletes it in its destructor; a CDC deletes only a DC it created
// (attached ones belong to whoever made them). FromHandle gives a temporary wrapper
// that does not own the handle and lives until the thread's next idle time. GUI threads
// only: temporaries belong to the calling thread.
#pragma once
#include "afx.h"
#include "afxwin_geom.h"

class CWnd;

class TRVMFC_API CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    static CGdiObject* PASCAL FromHandle(HGDIOBJ h);
    static void PASCAL DeleteTempMap();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }
    BOOL Attach(HGDIOBJ h);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int n, LPVOID p) const { return ::GetObjectA(m_hObject, n, p); }
    UINT GetObjectType() const { return (UINT)::GetObjectType(m_hObject); }
    BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
    BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }

protected:
    template <class T, class H> static T* TempFromHandle(H h);
};

class TRVMFC_API CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { if (!CreatePen(style, width, color)) AfxThrowResourceException(); }
    static CPen* PASCAL FromHandle(HPEN h);
    operator HPEN() const { return (HPEN)m_hObject; }
    BOOL CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
    BOOL CreatePenIndirect(LPLOGPEN lp) { return Attach(::CreatePenIndirect(lp)); }
    int GetLogPen(LOGPEN* lp) const { return GetObject(sizeof(LOGPEN), lp); }
};

class TRVMFC_API CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { if (!CreateSolidBrush(color)) AfxThrowResourceException(); }
    static CBrush* PASCAL FromHandle(HBRUSH h);
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
    BOOL CreateHatchBrush(int index, COLORREF color) { return Attach(::CreateHatchBrush(index, color)); }
    BOOL CreateBrushIndirect(const LOGBRUSH* lb) { return Attach(::CreateBrushIndirect(lb)); }
    BOOL CreatePatternBrush(class CBitmap* bitmap);
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    int GetLogBrush(LOGBRUSH* lb) const { return GetObject(sizeof(LOGBRUSH), lb); }
};

class CDC;

class TRVMFC_API CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* PASCAL FromHandle(HFONT h);
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONTA* lf) { return Attach(::CreateFontIndirectA(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                    BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                    BYTE quality, BYTE pitchAndFamily, LPCSTR face) {
        return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                                    strikeOut, charSet, outPrecision, clipPrecision, quality,
                                    pitchAndFamily, face));
    }
    // Size in tenths of a point, converted with the DC's vertical resolution (the screen's
    // when none is given) into logical units.
    BOOL CreatePointFont(int pointSize10, LPCSTR face, CDC* dc = nullptr);
    BOOL CreatePointFontIndirect(const LOGFONTA* lf, CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* lf) const { return GetObject(sizeof(LOGFONTA), lf); }
};

class TRVMFC_API CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* PASCAL FromHandle(HBITMAP h);
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCSTR name);
    BOOL LoadOEMBitmap(UINT id) { return Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(id))); }
    BOOL CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits) {
        return Attach(::CreateBitmap(w, h, planes, bpp, bits));
    }
    BOOL CreateBitmapIndirect(LPBITMAP bm) { return Attach(::CreateBitmapIndirect(bm)); }
    BOOL CreateCompatibleBitmap(CDC* dc, int w, int h);
    BOOL CreateDiscardableBitmap(CDC* dc, int w, int h) { return CreateCompatibleBitmap(dc, w, h); }
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    CSize GetBitmapDimension() const { SIZE s{}; ::GetBitmapDimensionEx((HBITMAP)m_hObject, &s); return s; }
    DWORD GetBitmapBits(DWORD n, void* bits) const { return ::GetBitmapBits((HBITMAP)m_hObject, n, bits); }
    DWORD SetBitmapBits(DWORD n, const void* bits) { return ::SetBitmapBits((HBITMAP)m_hObject, n, bits); }
};

class TRVMFC_API CPalette : public CGdiObject {
    DECLARE_DYNAMIC(CPalette)
public:
    static CPalette* PASCAL FromHandle(HPALETTE h);
    operator HPALETTE() const { return (HPALETTE)m_hObject; }
    BOOL CreatePalette(LPLOGPALETTE lp) { return Attach(::CreatePalette(lp)); }
    BOOL CreateHalftonePalette(CDC* dc);
    UINT GetEntryCount() const { WORD n = 0; GetObject(sizeof(n), &n); return n; }
    UINT GetPaletteEntries(UINT start, UINT n, LPPALETTEENTRY e) const {
        return ::GetPaletteEntries((HPALETTE)m_hObject, start, n, e);
    }
    UINT SetPaletteEntries(UINT start, UINT n, LPPALETTEENTRY e) {
        return ::SetPaletteEntries((HPALETTE)m_hObject, start, n, e);
    }
    UINT GetNearestPaletteIndex(COLORREF c) const { return ::GetNearestPaletteIndex((HPALETTE)m_hObject, c); }
    BOOL ResizePalette(UINT n) { return ::ResizePalette((HPALETTE)m_hObject, n); }
};

class TRVMFC_API CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* PASCAL FromHandle(HRGN h);
    operator HRGN() const { return (HRGN)m_hObject; }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(LPCRECT r) { return Attach(::CreateRectRgnIndirect(r)); }
    BOOL CreateEllipticRgn(int l, int t, int r, int b) { return Attach(::CreateEllipticRgn(l, t, r, b)); }
    BOOL CreateEllipticRgnIndirect(LPCRECT r) { return Attach(::CreateEllipticRgnIndirect(r)); }
    BOOL CreatePolygonRgn(const POINT* p, int n, int mode) { return Attach(::CreatePolygonRgn(p, n, mode)); }
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) {
        return Attach(::CreateRoundRectRgn(l, t, r, b, w, h));
    }
    BOOL CreateFromData(const XFORM* x, int n, const RGNDATA* d) { return Attach(::ExtCreateRegion(x, n, d)); }
    void SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn((HRGN)m_hObject, l, t, r, b); }
    void SetRectRgn(LPCRECT r) { SetRectRgn(r->left, r->top, r->right, r->bottom); }
    int CombineRgn(const CRgn* a, const CRgn* b, int mode) {
        return ::CombineRgn((HRGN)m_hObject, (HRGN)(a ? a->m_hObject : nullptr), (HRGN)(b ? b->m_hObject : nullptr), mode);
    }
    int CopyRgn(const CRgn* src) { return ::CombineRgn((HRGN)m_hObject, (HRGN)src->m_hObject, nullptr, RGN_COPY); }
    BOOL EqualRgn(const CRgn* o) const { return ::EqualRgn((HRGN)m_hObject, (HRGN)o->m_hObject); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn((HRGN)m_hObject, dx, dy); }
    int GetRgnBox(LPRECT r) const { return ::GetRgnBox((HRGN)m_hObject, r); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    BOOL PtInRegion(POINT p) const { return PtInRegion(p.x, p.y); }
    BOOL RectInRegion(LPCRECT r) const { return ::RectInRegion((HRGN)m_hObject, r); }
    int GetRegionData(LPRGNDATA d, int n) const { return (int)::GetRegionData((HRGN)m_hObject, n, d); }
};

// Output goes to m_hDC, queries (device caps, metrics, nearest colour) to m_hAttribDC.
// The text and visibility members are virtual so that a memory DC can redirect them.
class TRVMFC_API CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    static CDC* PASCAL FromHandle(HDC h);
    static void PASCAL DeleteTempMap();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC h);
    HDC Detach();
    virtual void SetAttribDC(HDC h) { m_hAttribDC = h; }
    virtual void SetOutputDC(HDC h) { m_hDC = h; }
    virtual void ReleaseAttribDC() { m_hAttribDC = nullptr; }
    virtual void ReleaseOutputDC() { m_hDC = nullptr; }
    // The DC made here is the object's own: its destructor deletes it (never one
    // that was only attached).
    BOOL CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
        return AttachOwn(::CreateDCA(driver, device, output, (const DEVMODEA*)init));
    }
    BOOL CreateIC(LPCSTR driver, LPCSTR device, LPCSTR output, const void* init) {
        return AttachOwn(::CreateICA(driver, device, output, (const DEVMODEA*)init));
    }
    BOOL CreateCompatibleDC(CDC* dc) { return AttachOwn(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }
    BOOL DeleteDC();
    CWnd* GetWindow() const;
    BOOL IsPrinting() const { return m_bPrinting; }

    // Print jobs on the output DC. Virtual so that a stand-in printer DC can record the
    // job or draw its pages elsewhere; ResetDC changes both DCs.
    virtual int StartDoc(LPDOCINFOA docInfo) { return ::StartDocA(m_hDC, docInfo); }
    int StartDoc(LPCSTR docName);
    virtual int StartPage() { return ::StartPage(m_hDC); }
    virtual int EndPage() { return ::EndPage(m_hDC); }
    virtual int EndDoc() { return ::EndDoc(m_hDC); }
    virtual int AbortDoc() { return ::AbortDoc(m_hDC); }
    virtual int SetAbortProc(BOOL(CALLBACK* proc)(HDC, int)) { return ::SetAbortProc(m_hDC, proc); }
    virtual BOOL ResetDC(const DEVMODEA* devMode);

    // State
    virtual int SaveDC() { return ::SaveDC(m_hDC); }
    virtual BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    // Virtual so that a stand-in printer DC (tests, preview) can report a device of its own.
    virtual int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }
    CPoint GetBrushOrg() const { POINT p{}; ::GetBrushOrgEx(m_hDC, &p); return p; }
    CPoint SetBrushOrg(int x, int y) { POINT p{}; ::SetBrushOrgEx(m_hDC, x, y, &p); return p; }
    CPoint SetBrushOrg(POINT p) { return SetBrushOrg(p.x, p.y); }

    // Objects: the previous one comes back as a temporary.
    CGdiObject* SelectStockObject(int index);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    virtual CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    int SelectObject(CRgn* rgn) { return (int)(INT_PTR)::SelectObject(m_hDC, rgn->m_hObject); }
    CGdiObject* SelectObject(CGdiObject* obj);
    HGDIOBJ SelectObject(HGDIOBJ h);
    CPen* GetCurrentPen() const { return CPen::FromHandle((HPEN)::GetCurrentObject(m_hDC, OBJ_PEN)); }
    CBrush* GetCurrentBrush() const { return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hDC, OBJ_BRUSH)); }
    CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }
    COLORREF GetNearestColor(COLORREF c) const { return ::GetNearestColor(m_hAttribDC, c); }
    CPalette* SelectPalette(CPalette* pal, BOOL background) {
        return CPalette::FromHandle(::SelectPalette(m_hDC, (HPALETTE)(pal ? pal->m_hObject : nullptr), background));
    }
    UINT RealizePalette() { return ::RealizePalette(m_hDC); }

    // Colours and modes
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    virtual COLORREF SetBkColor(COLORREF c);
    int GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
    int SetBkMode(int mode);
    COLORREF GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
    virtual COLORREF SetTextColor(COLORREF c);
    int GetROP2() const { return ::GetROP2(m_hAttribDC); }
    int SetROP2(int mode);
    int GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
    int SetPolyFillMode(int mode);
    int GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
    int SetStretchBltMode(int mode);
    UINT GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }
    UINT SetTextAlign(UINT flags);
    DWORD GetLayout() const { return ::GetLayout(m_hDC); }
    DWORD SetLayout(DWORD layout);

    // Mapping. The setters are virtual so that a print preview's DC can scale them.
    int GetMapMode() const { return ::GetMapMode(m_hAttribDC); }
    virtual int SetMapMode(int mode);
    CPoint GetViewportOrg() const { POINT p{}; ::GetViewportOrgEx(m_hAttribDC, &p); return p; }
    virtual CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
    virtual CPoint OffsetViewportOrg(int dx, int dy);
    CSize GetViewportExt() const { SIZE s{}; ::GetViewportExtEx(m_hAttribDC, &s); return s; }
    virtual CSize SetViewportExt(int cx, int cy);
    CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
    CPoint GetWindowOrg() const { POINT p{}; ::GetWindowOrgEx(m_hAttribDC, &p); return p; }
    virtual CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    virtual CPoint OffsetWindowOrg(int dx, int dy);
    CSize GetWindowExt() const { SIZE s{}; ::GetWindowExtEx(m_hAttribDC, &s); return s; }
    virtual CSize SetWindowExt(int cx, int cy);
    CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
    void DPtoLP(LPPOINT p, int n = 1) const { ::DPtoLP(m_hAttribDC, p, n); }
    void DPtoLP(LPRECT r) const { ::DPtoLP(m_hAttribDC, (LPPOINT)r, 2); }
    void LPtoDP(LPPOINT p, int n = 1) const { ::LPtoDP(m_hAttribDC, p, n); }
    void LPtoDP(LPRECT r) const { ::LPtoDP(m_hAttribDC, (LPPOINT)r, 2); }

    // Clipping
    virtual int GetClipBox(LPRECT r) const { return ::GetClipBox(m_hDC, r); }
    virtual BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL PtVisible(POINT p) const { return PtVisible(p.x, p.y); }
    virtual BOOL RectVisible(LPCRECT r) const { return ::RectVisible(m_hDC, r); }
    // A null region removes the clip region.
    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? (HRGN)rgn->m_hObject : nullptr); }
    int SelectClipRgn(CRgn* rgn, int mode) { return ::ExtSelectClipRgn(m_hDC, rgn ? (HRGN)rgn->m_hObject : nullptr, mode); }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int IntersectClipRect(LPCRECT r) { return IntersectClipRect(r->left, r->top, r->right, r->bottom); }
    int OffsetClipRgn(int dx, int dy) { return ::OffsetClipRgn(m_hDC, dx, dy); }
    int GetClipRgn(CRgn* rgn) const { return ::GetClipRgn(m_hDC, (HRGN)rgn->m_hObject); }

    // Lines and shapes
    CPoint GetCurrentPosition() const { POINT p{}; ::GetCurrentPositionEx(m_hAttribDC, &p); return p; }
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
    BOOL Polyline(const POINT* p, int n) { return ::Polyline(m_hDC, p, n); }
    BOOL PolyPolyline(const POINT* p, const DWORD* counts, int n) { return ::PolyPolyline(m_hDC, p, counts, n); }
    BOOL Polygon(const POINT* p, int n) { return ::Polygon(m_hDC, p, n); }
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) { return ::RoundRect(m_hDC, l, t, r, b, w, h); }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
    BOOL Arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2) { return ::Arc(m_hDC, l, t, r, b, x1, y1, x2, y2); }
    BOOL Pie(int l, int t, int r, int b, int x1, int y1, int x2, int y2) { return ::Pie(m_hDC, l, t, r, b, x1, y1, x2, y2); }
    BOOL PolyBezier(const POINT* p, int n) { return ::PolyBezier(m_hDC, p, n); }

    // Fills and frames
    void FillRect(LPCRECT r, CBrush* brush) { ::FillRect(m_hDC, r, (HBRUSH)(brush ? brush->m_hObject : nullptr)); }
    void FrameRect(LPCRECT r, CBrush* brush) { ::FrameRect(m_hDC, r, (HBRUSH)(brush ? brush->m_hObject : nullptr)); }
    void InvertRect(LPCRECT r) { ::InvertRect(m_hDC, r); }
    BOOL FillRgn(CRgn* rgn, CBrush* brush) { return ::FillRgn(m_hDC, (HRGN)rgn->m_hObject, (HBRUSH)brush->m_hObject); }
    BOOL FrameRgn(CRgn* rgn, CBrush* brush, int w, int h) {
        return ::FrameRgn(m_hDC, (HRGN)rgn->m_hObject, (HBRUSH)brush->m_hObject, w, h);
    }
    BOOL InvertRgn(CRgn* rgn) { return ::InvertRgn(m_hDC, (HRGN)rgn->m_hObject); }
    BOOL PaintRgn(CRgn* rgn) { return ::PaintRgn(m_hDC, (HRGN)rgn->m_hObject); }
    void DrawFocusRect(LPCRECT r) { ::DrawFocusRect(m_hDC, r); }
    BOOL DrawEdge(LPRECT r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
    BOOL DrawFrameControl(LPRECT r, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, r, type, state); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }
    BOOL DrawState(CPoint pt, CSize size, HBITMAP bmp, UINT flags, HBRUSH brush = nullptr) {
        return ::DrawStateA(m_hDC, brush, nullptr, (LPARAM)bmp, 0, pt.x, pt.y, size.cx, size.cy, flags | DST_BITMAP);
    }
    BOOL DrawState(CPoint pt, CSize size, HICON icon, UINT flags, HBRUSH brush = nullptr) {
        return ::DrawStateA(m_hDC, brush, nullptr, (LPARAM)icon, 0, pt.x, pt.y, size.cx, size.cy, flags | DST_ICON);
    }
    // Sets the background colour (left changed) and fills by drawing opaque empty text.
    void FillSolidRect(LPCRECT r, COLORREF c);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF c);
    // Top row and left column in topLeft without their far ends; the whole right column
    // and bottom row in bottomRight.
    void Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT p) const { return GetPixel(p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF SetPixel(POINT p, COLORREF c) { return SetPixel(p.x, p.y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }

    // Blits
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, ws, hs, rop);
    }
    BOOL MaskBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, CBitmap& mask, int xm, int ym, DWORD rop) {
        return ::MaskBlt(m_hDC, x, y, w, h, src->m_hDC, xs, ys, (HBITMAP)mask.m_hObject, xm, ym, rop);
    }
    BOOL TransparentBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, UINT transparent);
    BOOL AlphaBlend(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, BLENDFUNCTION blend);
    BOOL GradientFill(TRIVERTEX* v, ULONG nv, void* mesh, ULONG nm, DWORD mode);

    // Text
    virtual BOOL TextOut(int x, int y, LPCSTR s, int n) { return ::TextOutA(m_hDC, x, y, s, n); }
    BOOL TextOut(int x, int y, const CString& s) { return TextOut(x, y, (LPCSTR)s, s.GetLength()); }
    virtual BOOL ExtTextOut(int x, int y, UINT options, LPCRECT r, LPCSTR s, UINT n, LPINT dx) {
        return ::ExtTextOutA(m_hDC, x, y, options, r, s, n, dx);
    }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT r, const CString& s, LPINT dx) {
        return ExtTextOut(x, y, options, r, (LPCSTR)s, s.GetLength(), dx);
    }
    virtual CSize TabbedTextOut(int x, int y, LPCSTR s, int n, int nTabs, LPINT tabs, int origin) {
        LONG r = ::TabbedTextOutA(m_hDC, x, y, s, n, nTabs, tabs, origin);
        return CSize(LOWORD(r), HIWORD(r));
    }
    virtual int DrawText(LPCSTR s, int n, LPRECT r, UINT format) { return ::DrawTextA(m_hDC, s, n, r, format); }
    int DrawText(const CString& s, LPRECT r, UINT format) { return DrawText((LPCSTR)s, s.GetLength(), r, format); }
    virtual int DrawTextEx(LPSTR s, int n, LPRECT r, UINT format, LPDRAWTEXTPARAMS p) {
        return ::DrawTextExA(m_hDC, s, n, r, format, p);
    }
    virtual BOOL GrayString(CBrush* brush, GRAYSTRINGPROC proc, LPARAM data, int n, int x, int y, int w, int h) {
        return ::GrayStringA(m_hDC, (HBRUSH)(brush ? brush->m_hObject : nullptr), proc, data, n, x, y, w, h);
    }
    virtual int Escape(int escape, int n, LPCSTR in, LPVOID out) { return ::Escape(m_hDC, escape, n, in, out); }
    CSize GetTextExtent(LPCSTR s, int n) const { SIZE sz{}; ::GetTextExtentPoint32A(m_hAttribDC, s, n, &sz); return sz; }
    CSize GetTextExtent(const CString& s) const { return GetTextExtent((LPCSTR)s, s.GetLength()); }
    CSize GetOutputTextExtent(LPCSTR s, int n) const { SIZE sz{}; ::GetTextExtentPoint32A(m_hDC, s, n, &sz); return sz; }
    CSize GetTabbedTextExtent(LPCSTR s, int n, int nTabs, LPINT tabs) const {
        DWORD r = ::GetTabbedTextExtentA(m_hAttribDC, s, n, nTabs, tabs);
        return CSize(LOWORD(r), HIWORD(r));
    }
    BOOL GetTextMetrics(LPTEXTMETRICA tm) const { return ::GetTextMetricsA(m_hAttribDC, tm); }
    BOOL GetOutputTextMetrics(LPTEXTMETRICA tm) const { return ::GetTextMetricsA(m_hDC, tm); }
    int GetTextFace(int n, LPSTR face) const { return ::GetTextFaceA(m_hAttribDC, n, face); }
    int GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hAttribDC); }
    int SetTextCharacterExtra(int extra) { return ::SetTextCharacterExtra(m_hDC, extra); }
    BOOL GetCharWidth(UINT first, UINT last, LPINT buf) const { return ::GetCharWidthA(m_hAttribDC, first, last, buf); }

    static CBrush* PASCAL GetHalftoneBrush();
    // Moves a drag outline: inverts (PATINVERT) the frame of thickness size inside
    // rect with brush and the last one drawn (rectLast, sizeLast, brushLast) again, in
    // one pass where the brushes are the same. A zero size only erases the last one.
    // The brushes default to the halftone brush.
    void DrawDragRect(LPCRECT rect, SIZE size, LPCRECT rectLast, SIZE sizeLast, CBrush* brush = nullptr,
                      CBrush* brushLast = nullptr);

private:
    BOOL AttachOwn(HDC h) {
        BOOL ok = Attach(h);
        m_bOwnsDC = ok;
        return ok;
    }
    bool m_bOwnsDC = false;  // m_hDC was made by this object
};

class TRVMFC_API CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};
protected:
    HWND m_hWnd;
};

class TRVMFC_API CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;
protected:
    HWND m_hWnd;
};

class TRVMFC_API CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;
protected:
    HWND m_hWnd;
};

// Dock markers: the picture objects behind the small windows that point to
// where a dragged control bar may dock, and the place for those windows.
//
// VEzaPaintManager::DockMarkerBase holds one marker (its hover and idle
// pictures, the region of their shape and where it stands) or a group of
// markers as owned children: kind 5 the four side arrows, kind 6 a compass
// (a centre first, then the four arrows), kind 7 a compass with the tab-area
// marker last. DockMarkerBeta2 uses the second picture set and, for the
// separate side arrows, a larger frame picture behind the arrow. The
// current paint manager chooses the kind of object (DockMarker_CreateObject).
//
// Marker kinds: 0 top, 1 bottom, 2 left, 3 right, 4 compass centre, 5..7
// groups, 8 tab area, −1 nothing. The pictures are bitmap resources of the
// library (resources/wendrel_res.h) with green (0x00FF00) as the transparent
// colour.
//
// The marker windows are built by the docking code through the factory it
// installs (VEzaDockMarkerWndFactory); a window tells the paint manager its
// kind, outline flag and the compass arm under the mouse through
// VEzaDockMarkerWndState. A marker owns its bitmaps, region and children
// until it hands them to a window. GUI thread only.
#pragma once
#include <vector>

#include "paint/paint_manager.h"

// The green that marks the pictures' transparent pixels.
constexpr COLORREF kDockMarkerTransparent = RGB(0, 255, 0);

// Everything a marker window is built from. The window takes ownership of
// the bitmaps and the region, whether it is built or not.
struct VEzaDockMarkerWndParams {
    HWND parent = nullptr;
    int kind = -1;
    HBITMAP hover = nullptr;
    HBITMAP idle = nullptr;
    HBITMAP frame = nullptr;  // a copy of the marker's frame picture, or null
    HRGN region = nullptr;
    CRect rect;
    CPoint pictureOffset;  // where the hover or idle picture stands on the frame picture
    bool outline = false;
};

// What a marker window tells the paint manager when it asks it to draw its
// highlighting (DockMarker_PostRender). Implemented by the marker windows.
class WENDREL_API VEzaDockMarkerWndState {
public:
    virtual ~VEzaDockMarkerWndState() = default;
    virtual int DockMarker_GetKind() const = 0;
    virtual bool DockMarker_IsOutlined() const = 0;
    // A compass centre: the window of the arm under the mouse, else null.
    virtual HWND DockMarker_GetHoverArm() const = 0;
};

// Builds marker windows; the docking code installs one for the process.
class WENDREL_API VEzaDockMarkerWndFactory {
public:
    virtual ~VEzaDockMarkerWndFactory() = default;
    // A new window (the caller owns the object), or null when none could
    // be built; either way the parameters' handles are the factory's.
    virtual VEzaDynDockMarkerWnd* CreateMarkerWnd(const VEzaDockMarkerWndParams& params) = 0;

    // The installed factory (not owned), or null; null uninstalls.
    static void Install(VEzaDockMarkerWndFactory* factory);
    static VEzaDockMarkerWndFactory* Installed();
};

class WENDREL_API VEzaPaintManager::DockMarkerBase {
public:
    DockMarkerBase() = default;
    virtual ~DockMarkerBase();
    DockMarkerBase(const DockMarkerBase&) = delete;
    DockMarkerBase& operator=(const DockMarkerBase&) = delete;

    // Deletes every child and empties the list.
    virtual void DeleteChildren();
    // Lets go of the hover and idle pictures and the region without deleting
    // them (a window now owns them).
    virtual void ReleaseWithoutDeleting();
    virtual bool IsEmpty() const { return m_nType == -1; }
    // Deletes the pictures and the region, empties kind, size and rectangle,
    // then deletes the children.
    virtual void Clear();
    // Loads both pictures from bitmap resources (second name null: the
    // first again; module null: found through the resource chain) and takes
    // them. False on any failure, with no bitmap left behind.
    virtual bool LoadFromResources(int left, int top, int right, int bottom, int kind, COLORREF transparent,
                                   LPCSTR name, LPCSTR type, LPCSTR secondName = nullptr, LPCSTR secondType = nullptr,
                                   HINSTANCE module = nullptr, HINSTANCE secondModule = nullptr);
    // Takes ownership of both bitmaps: they must be of one size and the hover
    // picture must have a pixel that is not transparent; otherwise both are
    // deleted and the answer is false.
    virtual bool TakePictures(int left, int top, int right, int bottom, int kind, COLORREF transparent, HBITMAP hover,
                              HBITMAP idle);
    // Builds the marker (or group) of a kind in a rectangle; createWindows
    // false marks the four side arrows of a kind-5 group as separate ones.
    virtual bool Create(bool createWindows, int kind, const CRect& rect);
    // Hands the pictures to new windows (this marker's, then every child's),
    // appending the windows that exist; true when all succeeded.
    virtual bool CreateWnds(HWND parent, DockMarkerWndArray& windows);
    // Places the marker by kind in a rectangle; centre: the compass centre
    // it is placed around, or null.
    virtual void Position(int kind, const CRect& rect, const DockMarkerBase* centre);

    // The picture resource of a kind in this marker's set, or 0 for a kind
    // without one.
    UINT GetPictureId(int kind) const;

    int m_nType = -1;
    CBitmap m_bmpHover;
    CBitmap m_bmpIdle;
    CBitmap m_bmpFrame;
    CPoint m_ptPictureOffset;
    CRgn m_rgn;
    CSize m_size;
    std::vector<DockMarkerBase*> m_children;
    CRect m_rect;
    DWORD m_dwFlags = 0;
    enum : DWORD { FlagSeparate = 0x01 };

protected:
    void ClearPictures();
    // The second picture set (DockMarkerBeta2).
    bool m_bSecondSet = false;
};

class WENDREL_API VEzaPaintManager::DockMarkerBeta2 : public VEzaPaintManager::DockMarkerBase {
public:
    DockMarkerBeta2() { m_bSecondSet = true; }
    // The base placement; a separate side arrow first gets its frame picture
    // (and the frame's shape) and stands the outer distance inside the
    // rectangle's edge.
    void Position(int kind, const CRect& rect, const DockMarkerBase* centre) override;
};

// VEzaButton: a themed dialog button. It subclasses an existing push button,
// check box or radio button, makes it owner-drawn and paints it through the
// paint manager's push-button painter; it follows the mouse (hover, press),
// handles Space, Return and its mnemonic itself, shows its own tooltips and
// may carry a drop-down menu, on the whole button or on a separate drop-down
// part at its right edge. The button owns its icons, cursor, tooltip window
// and menu. GUI thread only.
#pragma once

#include "afxwin.h"
#include "hooks/mouse_capture_sink.h"
#include "paint/pm_bridge.h"
#include "wendrel_export.h"

class VEzaPopupMenuWnd;
class VEzaPaintManager;

class WENDREL_API VEzaButton : public CButton, public VEzaMouseCaptureSink, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaButton)
public:
    // State bits (m_nState).
    enum : BYTE {
        STATE_FOCUS_RECT = 0x01,    // draw the focus rectangle
        STATE_BORDER = 0x02,        // draw the border
        STATE_HOVER = 0x04,
        STATE_PUSHED = 0x08,
        STATE_HELD = 0x10,          // the mouse button is held on the button
        STATE_KEY_PRESS = 0x20,     // Space is held
        STATE_SPLIT = 0x40,         // separate drop-down part
        STATE_CMD_FROM_MENU = 0x80, // a chosen menu command becomes the button's command
        STATE_TRANSIENT = STATE_HOVER | STATE_PUSHED | STATE_HELD | STATE_KEY_PRESS,
    };
    // Activation bits (m_nActivation).
    enum : BYTE {
        ACTIVATION_MNEMONIC = 0x01,    // the mnemonic key activates the button
        ACTIVATION_SELECT_FIRST = 0x02 // keyboard activation also selects the first menu item
    };
    // Option bits (m_nOptions).
    enum : BYTE {
        OPTION_TAKE_CMD_LOOK = 0x01 // with STATE_CMD_FROM_MENU: take the command's text and icon too
    };
    // Parts of the button (m_nPressedPart and hit tests).
    enum : int { PART_NONE = 0, PART_MAIN = 1, PART_DROPDOWN = 2 };

    VEzaButton();
    ~VEzaButton() override;

    // Destroys the icons held and stores the new ones (the normal icon
    // defaults to the hover icon); the button owns them. Repaints.
    void SetIcon(HICON hoverIcon, HICON normalIcon = nullptr);
    // Loads both icons from the module that holds the first resource.
    void SetIcon(UINT hoverIconId, UINT normalIconId = 0);
    void SetDrawFocusRect(int draw);

    // The part of the client rectangle under the client point: 0 when the
    // window under that point (in screen terms) is not the button.
    int HitTestPart(CPoint client) const;
    // The drop-down part's strip (empty unless the button is split).
    CRect GetDropDownRect() const;

    virtual void DrawItem(LPDRAWITEMSTRUCT dis) override;
    virtual bool OnQueryWindowEnabledState() const;
    virtual void _OnClick(bool selectAny, bool dropDownClicked);
    virtual bool _OnTrackPopup(bool selectAny);
    virtual bool _IsMenuAvail();
    virtual bool OnPutToPopupMenu(VEzaPopupMenuWnd* popup);
    virtual bool _QuickActivationHandle();
    virtual bool _QuickActivationCheck(DWORD key);
    virtual INT OnQueryMaxTipWidth(LPCSTR text);
    virtual void _RenderImpl(CDC& dc, bool transparent = false, bool combined = false);
    virtual void OnQueryWindowText(CString& text) const;
    virtual HFONT OnQueryFont() const;

    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* ti) const override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // True while a drop-down menu of a toolkit button is being tracked.
    static bool IsMenuTracking() { return g_nTrackingMenus > 0; }

    CMenu m_menu;
    UINT m_nMenuAlign = 4;
    UINT m_nMenuOption = 0;
    BYTE m_nActivation = ACTIVATION_MNEMONIC | ACTIVATION_SELECT_FIRST;
    // Horizontal 0 left, 1 centre, 2 right, with vertical 4 top, 8 middle, 16 bottom.
    int m_nTextAlign = 9;
    int m_nButtonType = 0;
    int m_nCheck = 0;
    BYTE m_nState = STATE_FOCUS_RECT | STATE_BORDER;
    BYTE m_nOptions = 0;
    int m_nPressedPart = PART_NONE;
    HCURSOR m_hCursor = nullptr;
    CToolTipCtrl m_wndToolTip;
    HICON m_hIconHover = nullptr;
    HICON m_hIconNormal = nullptr;
    COLORREF m_clrBackground = COLORREF(-1);
    COLORREF m_clrDisabledText = COLORREF(-1);
    COLORREF m_clrText = COLORREF(-1);
    COLORREF m_clrHoverText = COLORREF(-1);
    COLORREF m_clrPushedText = COLORREF(-1);

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool IsPushType() const;
    bool IsCheckType() const;
    bool IsRadioType() const;
    // The cursor's part now (the cursor position in screen terms).
    int CursorPart() const;
    void OnMouseMoveMsg();
    void OnButtonDownMsg();
    void OnButtonUpMsg();
    void OnCancelModeMsg();
    // Paints the client area now, through a client DC.
    void RepaintNow();
    void PaintToTarget(CDC& target);

    static int g_nTrackingMenus;
};

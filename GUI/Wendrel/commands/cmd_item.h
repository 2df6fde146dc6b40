// A command description: id, five texts, an icon index into its profile's
// icon array, state bits and a usage counter. Items live in command profiles
// (cmd_profile.h); VEzaCmdItemUI lets ordinary command-update handlers set an
// item's state. GUI thread only.
#pragma once

#include "afxext.h"
#include "afxwin.h"
#include "wendrel_export.h"

class VEzaCmdProfile;
class VEzaCmdIcon;

class WENDREL_API VEzaCmdItem {
public:
    // State word bits.
    enum : DWORD {
        STATE_DISABLED = 0x00000001,
        STATE_CHECKED = 0x00000002,
        STATE_RADIO = 0x00000004,
        STATE_INDETERMINATE = 0x00000008,
        STATE_BASIC = 0x00000010,
        STATE_USAGE_EXEMPT = 0x00000020,
        STATE_CONTROL_ANY = 0x00000400,
        STATE_CONTROL_2 = 0x00001000,
        STATE_CONTROL_3 = 0x10000000,
        STATE_CHECK_GROUP = STATE_CHECKED | STATE_RADIO | STATE_INDETERMINATE,
        STATE_CONTROL_BITS = STATE_CONTROL_ANY | STATE_CONTROL_2 | STATE_CONTROL_3,
    };

    // Ids the framework generates for dynamic menu entries; never counted or saved.
    static bool IsSpecialId(UINT id);
    static bool IsSystemCommandId(UINT id) { return id >= 0xF000 && id <= 0xF1EF; }
    // Usable command ids: non-zero and below 0x80000000.
    static bool IsCommandId(UINT id) { return id > 0 && id < 0x80000000u; }

    explicit VEzaCmdItem(UINT id = 0);
    VEzaCmdItem(const VEzaCmdItem& other);
    VEzaCmdItem& operator=(const VEzaCmdItem& other) {
        AssignFrom(other);
        return *this;
    }

    virtual void AssignFrom(const VEzaCmdItem& other);
    virtual void MergeTextsFrom(const VEzaCmdItem& other);
    virtual void HalveUsageOnOverflow();
    virtual ~VEzaCmdItem() = default;
    virtual void ClearTipTexts();
    virtual bool UpdateFromStringResource();
    virtual void FillEmptyTextsFrom(const VEzaCmdItem& other);

    virtual DWORD SetBasic(bool on) { return SetBit(STATE_BASIC, on); }
    virtual bool IsBasic() const;
    virtual bool IsRarelyUsed() const;
    virtual DWORD SetUsageExempt(bool on) { return SetBit(STATE_USAGE_EXEMPT, on); }
    virtual bool IsUsageExempt() const;
    virtual DWORD SetEnabled(bool on) { return SetBit(STATE_DISABLED, !on); }
    virtual bool IsEnabled() const { return (m_dwState & STATE_DISABLED) == 0; }
    virtual DWORD SetChecked(bool on) { return SetCheckGroup(STATE_CHECKED, on); }
    virtual bool IsChecked() const { return (m_dwState & STATE_CHECKED) != 0; }
    virtual DWORD SetRadio(bool on) { return SetCheckGroup(STATE_RADIO, on); }
    virtual bool IsRadio() const { return (m_dwState & STATE_RADIO) != 0; }
    virtual DWORD SetIndeterminate(bool on) { return SetCheckGroup(STATE_INDETERMINATE, on); }
    virtual bool IsIndeterminate() const { return (m_dwState & STATE_INDETERMINATE) != 0; }

// One set/test pair for a state bit that only menus, toolbars and
// customisation read; this class stores, copies and reports it.
#define VEZA_CMD_FLAG_BIT(n)                                                   \
    virtual DWORD SetFlagBit##n(bool on) { return SetBit(DWORD(1) << n, on); } \
    virtual bool IsFlagBit##n() const { return (m_dwState & (DWORD(1) << n)) != 0; }

    VEZA_CMD_FLAG_BIT(6)
    VEZA_CMD_FLAG_BIT(7)
    VEZA_CMD_FLAG_BIT(8)
    VEZA_CMD_FLAG_BIT(9)
    virtual DWORD SetControlKind1(bool on) { return SetControlKind(STATE_CONTROL_ANY, on); }
    virtual bool IsControlKindAny() const { return (m_dwState & STATE_CONTROL_ANY) != 0; }
    VEZA_CMD_FLAG_BIT(11)
    virtual DWORD SetControlKind2(bool on) { return SetControlKind(STATE_CONTROL_ANY | STATE_CONTROL_2, on); }
    virtual bool IsControlKind2() const { return HasAll(STATE_CONTROL_ANY | STATE_CONTROL_2); }
    virtual DWORD SetControlKind3(bool on) { return SetControlKind(STATE_CONTROL_ANY | STATE_CONTROL_3, on); }
    virtual bool IsControlKind3() const { return HasAll(STATE_CONTROL_ANY | STATE_CONTROL_3); }
    VEZA_CMD_FLAG_BIT(13)
    VEZA_CMD_FLAG_BIT(14)
    VEZA_CMD_FLAG_BIT(29)
    VEZA_CMD_FLAG_BIT(15)
    VEZA_CMD_FLAG_BIT(16)
    VEZA_CMD_FLAG_BIT(17)
    VEZA_CMD_FLAG_BIT(18)
    VEZA_CMD_FLAG_BIT(19)
    VEZA_CMD_FLAG_BIT(20)
    VEZA_CMD_FLAG_BIT(21)
#undef VEZA_CMD_FLAG_BIT
    virtual DWORD SetSecondFlagBit0(bool on);
    virtual bool IsSecondFlagBit0() const { return (m_dwState2 & 1) != 0; }

    // Runs the framework's command update for the item through target;
    // whether a handler updated it.
    virtual bool DoUpdateCmdUI(CCmdTarget* target, int index = 0);
    virtual bool Deliver(CControlBar* bar, bool send = false);
    virtual bool Deliver(CWnd* wnd, bool send = false);
    virtual bool Deliver(HWND wnd, bool send = false);
    virtual UINT GetUsageCount() const { return m_nUsage; }
    virtual UINT GetUsagePercent() const;
    virtual void IncrementUsageCount();
    virtual void ResetUsageStatistics();
    virtual UINT GetProfileTotalUsage() const;
    virtual UINT GetProfileRarelyUsedPercent() const;
    virtual void SetProfileRarelyUsedPercent(UINT percent);
    virtual void OnSysColorChange();
    virtual void OnSettingChange(UINT flags, LPCSTR section);
    virtual void OnDisplayChange(int bitsPerPixel, int cx, int cy);
    virtual void OnThemeChanged(WPARAM wParam, LPARAM lParam);
    virtual CString GetText(CString& text) const;
    virtual CString GetText() const;
    virtual CString GetStatusText() const { return m_sStatusText; }
    virtual bool IsUsageSaved() const;

    VEzaCmdProfile* m_pProfile = nullptr;  // the profile holding the item
    UINT m_nCmdID;
    int m_nIconIdx = -1;  // -1: no icon
    DWORD m_dwState = 0;
    DWORD m_dwState2 = 0;  // bit 0 only
    CString m_sMenuText;
    CString m_sToolbarText;
    CString m_sTipText;
    CString m_sStatusText;
    CString m_sAccelText;
    // Read by the menus and toolbars; only stored and copied here.
    int m_nNumber1 = 0;
    int m_nNumber2 = 100;
    int m_nNumber3 = -2;
    int m_nNumber4 = 250;
    UINT m_nUsage = 0;

private:
    DWORD SetBit(DWORD bit, bool on);
    DWORD SetCheckGroup(DWORD bit, bool on);
    DWORD SetControlKind(DWORD bits, bool on);
    bool HasAll(DWORD bits) const { return (m_dwState & bits) == bits; }
};

// Command update object that writes into a command item.
class WENDREL_API VEzaCmdItemUI : public CCmdUI {
public:
    explicit VEzaCmdItemUI(VEzaCmdItem* item) : m_pItem(item) {}
    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetRadio(BOOL on = TRUE) override;
    void SetText(LPCSTR text) override;

    VEzaCmdItem* m_pItem;
};

// Process-wide flag of the command update: commands without a handler are
// disabled. True at start; nothing in this library changes it.
WENDREL_API extern bool g_bDisableCmdIfNoHandler;

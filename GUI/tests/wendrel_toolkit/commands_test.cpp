// Command items, profiles and the command manager: state bits, usage
// arithmetic, texts from string resources, menus and toolbars, profile
// operations and the window bindings that need no window.
#include <memory>
#include <vector>

#include "afxwin.h"
#include "commands/cmd_manager.h"
#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "toolkit_ids.h"
#include "wtest.h"

WTEST(cmd_item_check_group_and_control_kinds_are_exclusive) {
    VEzaCmdItem item(100);
    item.SetRadio(true);
    WCHECK_EQ(item.SetChecked(true) & 0xE, DWORD(0x2));
    WCHECK(item.IsChecked() && !item.IsRadio() && !item.IsIndeterminate());
    item.SetIndeterminate(true);
    WCHECK(!item.IsChecked() && item.IsIndeterminate());
    WCHECK_EQ(item.SetChecked(false) & 0xE, DWORD(0));

    struct Case {
        DWORD (VEzaCmdItem::*set)(bool);
        DWORD bits;
        bool any, kind2, kind3;
    } cases[] = {
        {&VEzaCmdItem::SetControlKind1, 0x400, true, false, false},
        {&VEzaCmdItem::SetControlKind2, 0x1400, true, true, false},
        {&VEzaCmdItem::SetControlKind3, 0x10000400, true, false, true},
    };
    for (const Case& c : cases) {
        VEzaCmdItem k(101);
        k.SetControlKind3(true);
        k.SetControlKind2(true);
        WCHECK_EQ((k.*c.set)(true) & 0x10001400, c.bits);
        WCHECK_EQ(k.IsControlKindAny(), c.any);
        WCHECK_EQ(k.IsControlKind2(), c.kind2);
        WCHECK_EQ(k.IsControlKind3(), c.kind3);
        WCHECK_EQ((k.*c.set)(false) & 0x10001400, DWORD(0));
    }

    VEzaCmdItem flags(102);
    flags.SetFlagBit29(true);
    flags.SetFlagBit6(true);
    WCHECK_EQ(flags.m_dwState, DWORD(0x20000040));
    WCHECK(flags.IsFlagBit29() && flags.IsFlagBit6() && !flags.IsFlagBit7());
    WCHECK_EQ(flags.SetSecondFlagBit0(true), DWORD(1));
    WCHECK_EQ(flags.m_dwState, DWORD(0x20000040));
    WCHECK_EQ(flags.SetEnabled(false), DWORD(0x20000041));
    WCHECK(!flags.IsEnabled());
}

WTEST(cmd_item_special_ids_are_basic_and_never_exempt) {
    for (UINT id : {0xE110u, 0xE11Fu, 0xE210u, 0xF000u, 0xF1EFu, 0xFF00u, 0xFF09u}) {
        VEzaCmdItem item(id);
        item.SetUsageExempt(true);
        WCHECK(item.IsBasic());
        WCHECK(!item.IsUsageExempt());
    }
    for (UINT id : {0xE10Fu, 0xE120u, 0xF1F0u, 0xFF0Au, 100u}) {
        VEzaCmdItem item(id);
        WCHECK(!item.IsBasic());
        item.SetUsageExempt(true);
        WCHECK(item.IsUsageExempt());
    }
}

WTEST(usage_percent_counts_in_64_bits_and_halves_before_overflow) {
    VEzaCmdProfile profile("usage");
    profile.CmdSetup(VEzaCmdItem(100));
    profile.CmdSetup(VEzaCmdItem(101));
    VEzaCmdItem* a = profile.CmdGetPtr(100);
    VEzaCmdItem* b = profile.CmdGetPtr(101);
    WCHECK_EQ(a->GetUsagePercent(), UINT(0));  // total 0

    // Half of a hundred million: a 32-bit product would wrap and give 7.
    a->m_nUsage = 50000000;
    b->m_nUsage = 50000000;
    profile.m_nTotalUsage = 100000000;
    WCHECK_EQ(a->GetUsagePercent(), UINT(50));
    WCHECK(!a->IsRarelyUsed());

    a->m_nUsage = 0x7FFFFFFE;
    b->m_nUsage = 0x7FFFFFFF;
    profile.m_nTotalUsage = 0xFFFFFFFD;
    a->IncrementUsageCount();
    WCHECK_EQ(profile.m_nTotalUsage, UINT(0x7FFFFFFF));
    WCHECK_EQ(a->GetUsageCount(), UINT(0x3FFFFFFF));
    WCHECK_EQ(b->GetUsageCount(), UINT(0x3FFFFFFF));

    // Basic and exempt commands are not counted; reset spares exempt ones.
    a->SetBasic(true);
    a->IncrementUsageCount();
    WCHECK_EQ(a->GetUsageCount(), UINT(0x3FFFFFFF));
    b->SetUsageExempt(true);
    b->IncrementUsageCount();
    WCHECK_EQ(b->GetUsageCount(), UINT(0x3FFFFFFF));
    a->SetBasic(false);
    profile.ResetUsageStatistics();
    WCHECK_EQ(a->GetUsageCount(), UINT(0));
    WCHECK_EQ(b->GetUsageCount(), UINT(0x3FFFFFFF));
    WCHECK_EQ(profile.m_nTotalUsage, UINT(0));

    b->SetUsageExempt(false);
    a->m_nUsage = 9;
    b->m_nUsage = 91;
    profile.m_nTotalUsage = 100;
    WCHECK(a->IsRarelyUsed());
    WCHECK(!b->IsRarelyUsed());
    a->SetProfileRarelyUsedPercent(500);
    WCHECK_EQ(a->GetProfileRarelyUsedPercent(), UINT(100));
}

WTEST(string_resources_split_into_status_and_tip) {
    struct Case {
        UINT id;
        bool found;
        const char* status;
        const char* tip;
    } cases[] = {
        {ID_TEST_OPEN, true, "Open a document", "Open"},
        {ID_TEST_EXIT, true, "Quit the program", ""},
        {ID_TEST_ABOUT, true, "", "About"},
        {ID_TEST_NO_STRING, false, "", ""},
        {0x80000000u, false, "", ""},
    };
    for (const Case& c : cases) {
        VEzaCmdItem item(c.id);
        item.m_sTipText = "old";
        item.m_sStatusText = "old";
        WCHECK_EQ(item.UpdateFromStringResource(), c.found);
        WCHECK_EQ(CString(item.m_sStatusText), CString(c.status));
        WCHECK_EQ(CString(item.m_sTipText), CString(c.tip));
    }
}

WTEST(item_update_ui_sets_the_state_bits) {
    VEzaCmdItem item(100);
    VEzaCmdItemUI ui(&item);
    ui.SetCheck(2);
    WCHECK_EQ(item.m_dwState & 0xE, DWORD(0x8));
    ui.SetCheck(1);
    WCHECK_EQ(item.m_dwState & 0xE, DWORD(0x2));
    ui.SetRadio(TRUE);
    WCHECK_EQ(item.m_dwState & 0xE, DWORD(0x4));
    ui.Enable(FALSE);
    WCHECK(ui.m_bEnableChanged);
    WCHECK(!item.IsEnabled());
    ui.SetText("Text");
    WCHECK_EQ(item.m_sMenuText, CString("Text"));

    // System commands and 0xFF00..0xFF09 are enabled without asking a target.
    VEzaCmdItem sys(0xF060);
    sys.SetEnabled(false);
    WCHECK(sys.DoUpdateCmdUI(nullptr));
    WCHECK(sys.IsEnabled());
}

WTEST(profile_setup_merges_or_fills_texts) {
    VEzaCmdProfile profile("texts");
    VEzaCmdItem first(100);
    first.m_sMenuText = "Menu";
    first.m_sToolbarText = "Bar";
    bool added = false;
    WCHECK(profile.CmdSetup(first, false, &added));
    WCHECK(added);
    WCHECK(profile.CmdGetPtr(100) != &first);
    WCHECK(profile.CmdGetPtr(100)->m_pProfile == &profile);

    VEzaCmdItem second(100);
    second.m_sMenuText = "Other";
    second.m_sToolbarText = "Other bar";
    second.m_sTipText = "Tip";
    WCHECK(profile.CmdSetup(second, false, &added));
    WCHECK(!added);
    VEzaCmdItem* stored = profile.CmdGetPtr(100);
    WCHECK_EQ(stored->m_sMenuText, CString("Menu"));
    WCHECK_EQ(stored->m_sToolbarText, CString("Bar"));  // never filled
    WCHECK_EQ(stored->m_sTipText, CString("Tip"));
    WCHECK(profile.CmdSetup(second, true));
    WCHECK_EQ(stored->m_sMenuText, CString("Other"));
    WCHECK_EQ(stored->m_sToolbarText, CString("Other bar"));

    WCHECK(!profile.CmdSetup(VEzaCmdItem(0)));
    WCHECK(!profile.CmdSetup(VEzaCmdItem(0x80000000u)));
}

namespace {

// A profile of commands 1..n, command i with icon i-1 (a 1x1 bitmap whose
// colour tells it apart).
void FillWithIcons(VEzaCmdProfile& profile, int n) {
    for (int i = 1; i <= n; ++i) {
        profile.CmdSetup(VEzaCmdItem(UINT(i)));
        BYTE px[4] = {BYTE(i), 0, 0, 0};
        HBITMAP bmp = ::CreateBitmap(1, 1, 1, 32, px);
        auto icon = new VEzaCmdIcon;
        icon->AssignFromHBITMAP(bmp, RGB(255, 0, 255), nullptr, false);
        WCHECK(profile.CmdSetIcon(UINT(i), icon, true));
    }
}

}  // namespace

WTEST(removing_a_command_shifts_the_icon_indices_above_it) {
    VEzaCmdProfile profile("icons");
    FillWithIcons(profile, 5);
    WCHECK_EQ(profile.CmdGetPtr(3)->m_nIconIdx, 2);
    VEzaCmdIcon* fourth = profile.CmdGetIconPtr(4);
    bool removed = false;
    WCHECK(profile.CmdRemove(3, &removed));
    WCHECK(removed);
    WCHECK_EQ(profile.m_icons.GetSize(), INT_PTR(4));
    WCHECK_EQ(profile.CmdGetPtr(4)->m_nIconIdx, 2);
    WCHECK_EQ(profile.CmdGetPtr(5)->m_nIconIdx, 3);
    WCHECK_EQ(profile.CmdGetPtr(2)->m_nIconIdx, 1);
    WCHECK(profile.CmdGetIconPtr(4) == fourth);
    // An absent command is removed already; invalid ids are refused.
    WCHECK(profile.CmdRemove(3, &removed));
    WCHECK(!removed);
    WCHECK(!profile.CmdRemove(0));

    // Setting no icon drops it the same way.
    WCHECK(profile.CmdSetIcon(1, nullptr, false));
    WCHECK_EQ(profile.CmdGetPtr(1)->m_nIconIdx, -1);
    WCHECK_EQ(profile.CmdGetPtr(2)->m_nIconIdx, 0);
    WCHECK_EQ(profile.CmdGetPtr(5)->m_nIconIdx, 2);
    WCHECK(!profile.CmdSetIcon(77, nullptr, false));
}

WTEST(alloc_picks_the_highest_free_id_below_0xFFFF) {
    VEzaCmdProfile profile("alloc");
    WCHECK_EQ(profile.CmdAllocPtr()->m_nCmdID, UINT(0xFFFE));
    WCHECK_EQ(profile.CmdAllocPtr()->m_nCmdID, UINT(0xFFFD));
    VEzaCmdItem* item = profile.CmdAllocPtr(0);
    WCHECK(item != nullptr && item->m_nCmdID == 0xFFFC);
    WCHECK(profile.CmdAllocPtr(0xFFFD) == nullptr);
    WCHECK(profile.CmdAllocPtr(500) != nullptr);
    WCHECK(profile.CmdIsRegistered(500));
}

WTEST(remove_by_mask_and_basic_command_lists) {
    VEzaCmdProfile profile("mask");
    for (UINT id = 1; id <= 4; ++id) profile.CmdSetup(VEzaCmdItem(id));
    profile.CmdGetPtr(1)->m_dwState = 0x100;
    profile.CmdGetPtr(2)->m_dwState = 0x300;
    profile.CmdGetPtr(3)->m_dwState2 = 1;
    profile.CmdRemoveByMask(0x300, 0, true, false);
    WCHECK(profile.CmdIsRegistered(1));
    WCHECK(!profile.CmdIsRegistered(2));
    profile.CmdRemoveByMask(0x100, 1);
    WCHECK(!profile.CmdIsRegistered(1));
    WCHECK(!profile.CmdIsRegistered(3));
    WCHECK(profile.CmdIsRegistered(4));

    profile.CmdSetup(VEzaCmdItem(5));
    const UINT good[] = {4, 5, 0};
    WCHECK(profile.SetBasicCommands(good));
    WCHECK(profile.CmdGetPtr(5)->IsBasic());
    const UINT bad[] = {0xF060, 99, 4, 0};  // the list is still walked to its end
    WCHECK(!profile.SetBasicCommands(bad, false));
    WCHECK(!profile.CmdGetPtr(4)->IsBasic());
    WCHECK(!profile.SetBasicCommands(nullptr));
}

WTEST(profile_assignment_copies_items_and_icons_in_order) {
    VEzaCmdProfile source("source");
    FillWithIcons(source, 3);
    source.m_nTotalUsage = 42;
    source.m_nRarelyUsedPercent = 20;
    VEzaCmdProfile target("target");
    target.CmdSetup(VEzaCmdItem(9));
    target.AssignFrom(source);
    WCHECK_EQ(target.m_sName, CString("source"));
    WCHECK_EQ(target.m_nTotalUsage, UINT(42));
    WCHECK(!target.CmdIsRegistered(9));
    WCHECK_EQ(target.m_icons.GetSize(), INT_PTR(3));
    for (UINT id = 1; id <= 3; ++id) {
        WCHECK(target.CmdGetPtr(id) != source.CmdGetPtr(id));
        WCHECK(target.CmdGetPtr(id)->m_pProfile == &target);
        WCHECK_EQ(target.CmdGetPtr(id)->m_nIconIdx, int(id - 1));
        WCHECK(target.CmdGetIconPtr(id) != source.CmdGetIconPtr(id));
        WCHECK(!target.CmdGetIconPtr(id)->IsEmpty());
    }
    target.CmdGetPtr(1)->m_nUsage = 21;
    WCHECK_EQ(target.CmdGetPtr(1)->GetUsagePercent(), UINT(50));
}

WTEST(update_from_menu_resource_takes_texts_and_accelerators) {
    VEzaCmdProfile profile("menu");
    WCHECK(profile.UpdateFromMenu(IDM_TEST_MENU, false, true));
    VEzaCmdItem* open = profile.CmdGetPtr(ID_TEST_OPEN);
    WCHECK(open != nullptr);
    if (open != nullptr) {
        WCHECK_EQ(open->m_sMenuText, CString("&Open"));
        WCHECK_EQ(open->m_sAccelText, CString("Ctrl+O"));
        WCHECK_EQ(open->m_sStatusText, CString("Open a document"));
        WCHECK_EQ(open->m_sTipText, CString("Open"));
    }
    WCHECK(profile.CmdGetPtr(ID_TEST_EXIT) != nullptr);
    WCHECK(profile.CmdGetPtr(ID_TEST_ABOUT) != nullptr);
    WCHECK_EQ(profile.m_cmds.GetCount(), INT_PTR(3));  // no entry for the sub-menu itself
    WCHECK(!profile.UpdateFromMenu(UINT(999)));
    WCHECK(!profile.UpdateFromMenu(HMENU(nullptr)));
}

WTEST(update_from_toolbar_resource_cuts_one_icon_per_button) {
    VEzaCmdProfile profile("toolbar");
    UINT* ids = nullptr;
    INT count = 0;
    WCHECK(profile.UpdateFromToolBar(IDT_TEST_TOOLBAR, &ids, &count, false, true, RGB(255, 0, 255)));
    WCHECK_EQ(count, 3);
    if (ids != nullptr && count == 3) {
        WCHECK_EQ(ids[0], UINT(ID_TEST_OPEN));
        WCHECK_EQ(ids[1], UINT(ID_TEST_SAVE));
        WCHECK_EQ(ids[2], UINT(ID_TEST_EXIT));
    }
    delete[] ids;
    WCHECK_EQ(profile.m_icons.GetSize(), INT_PTR(3));
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};
    const UINT order[] = {ID_TEST_OPEN, ID_TEST_SAVE, ID_TEST_EXIT};
    for (int i = 0; i < 3; ++i) {
        VEzaCmdIcon* icon = profile.CmdGetIconPtr(order[i]);
        WCHECK(icon != nullptr);
        if (icon == nullptr) continue;
        WCHECK_EQ(icon->GetSize().cx, 16L);
        WCHECK_EQ(icon->GetSize().cy, 15L);
        WCHECK_EQ(icon->GetBitmapTransparentColor(), RGB(255, 0, 255));
        CMap<COLORREF, COLORREF, DWORD, DWORD> map;
        icon->GetBitmapColorMap(map);
        DWORD n = 0;
        WCHECK(map.Lookup(colours[i], n) && n == 10 * 9);
        WCHECK(map.Lookup(RGB(255, 0, 255), n) && n == 16 * 15 - 90);
    }
    WCHECK_EQ(profile.CmdGetPtr(ID_TEST_SAVE)->m_sTipText, CString("Save"));
    WCHECK(!profile.UpdateFromToolBar(UINT(999)));
}

WTEST(manager_uses_default_for_a_null_name_and_keeps_first_bindings) {
    VEzaCmdManager manager;
    WCHECK(manager.CmdSetup(nullptr, VEzaCmdItem(100)));
    WCHECK(manager.CmdGetPtr("default", 100) != nullptr);
    WCHECK(manager.CmdGetPtr(nullptr, 100) != nullptr);
    WCHECK(manager.CmdGetPtr("missing", 100) == nullptr);
    bool added = true;
    WCHECK(!manager.CmdSetup("missing", VEzaCmdItem(100), false, &added));
    WCHECK(!added);
    WCHECK(!manager.CmdRemoveByMask("missing", 1));
    WCHECK(manager.CmdAllocPtr("missing") == nullptr);

    HWND a = reinterpret_cast<HWND>(0x1230);
    WCHECK(manager.ProfileSetup("", a));
    WCHECK_EQ(CString(manager.ProfileNameFromWnd(a)), CString("default"));
    auto* own = new VEzaCmdProfile("own");
    WCHECK(manager.ProfileSetup("own", nullptr, own));
    WCHECK(manager.ProfileGetPtr("own") == own);
    auto* second = new VEzaCmdProfile("own");
    WCHECK(manager.ProfileSetup("own", nullptr, second));  // the first one stays
    WCHECK(manager.ProfileGetPtr("own") == own);
    delete second;
    WCHECK(manager.ProfileWndAdd("own", a));  // a keeps "default"
    WCHECK_EQ(CString(manager.ProfileNameFromWnd(a)), CString("default"));
    WCHECK(!manager.ProfileWndAdd("none", reinterpret_cast<HWND>(0x4560)));
    WCHECK(!manager.ProfileWndAdd("own", nullptr));
    WCHECK(manager.ProfileNameFromWnd(nullptr) == nullptr);
    bool removed = false;
    WCHECK(manager.ProfileWndRemove(a, false, &removed));
    WCHECK(removed);
    WCHECK(manager.ProfileWndAdd("own", a));
    WCHECK_EQ(CString(manager.ProfileNameFromWnd(a)), CString("own"));
}

WTEST(global_manager_starts_with_the_default_profile) {
    WCHECK(g_CmdManager.Get() != nullptr);
    WCHECK(g_CmdManager->ProfileGetPtr("default") != nullptr);
    WCHECK(g_CmdManager->GetOrCreateCommand(nullptr, 0) != nullptr);
    WCHECK(VEzaCmdManager::IsCommand(1));
    WCHECK(!VEzaCmdManager::IsCommand(0));
    WCHECK(!VEzaCmdManager::IsCommand(0x80000000u));
}

namespace {

bool g_acceptSource = false;
bool SourceTest(CWnd*) { return g_acceptSource; }
void AlphaQuery(COLORREF* colour, double* percent) {
    *colour = RGB(0x12, 0x34, 0x56);
    *percent = 0.5;
}

}  // namespace

WTEST(system_notifications_reach_the_icons_from_a_source_window_only) {
    VEzaCmdManager::VEzaCmdManagerAutoPtr holder;
    VEzaCmdProfile* profile = holder->ProfileGetPtr(nullptr);
    FillWithIcons(*profile, 2);
    const auto libraryQuery = VEzaCmdIcon::SetPaintManagerAlphaQuery(&AlphaQuery);
    const auto libraryTest = VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(&SourceTest);
    g_acceptSource = false;
    holder.OnSysColorChange(nullptr);
    WCHECK_EQ(profile->CmdGetIconPtr(2)->GetVariantColor(), COLORREF(-1));
    g_acceptSource = true;
    holder.OnThemeChanged(nullptr, 0, 0);
    WCHECK_EQ(profile->CmdGetIconPtr(1)->GetVariantColor(), RGB(0x12, 0x34, 0x56));
    WCHECK(profile->CmdGetIconPtr(2)->GetVariantLightness() == 0.5);
    VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(nullptr);
    VEzaCmdIcon::SetPaintManagerAlphaQuery(nullptr);
    holder.OnSettingChange(nullptr, 0, nullptr);
    WCHECK_EQ(profile->CmdGetIconPtr(1)->GetVariantColor(), COLORREF(-1));
    VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(libraryTest);
    VEzaCmdIcon::SetPaintManagerAlphaQuery(libraryQuery);
}

WTEST(manager_cuts_a_command_icon_from_a_bitmap) {
    VEzaCmdManager manager;
    manager.CmdSetup(nullptr, VEzaCmdItem(100));
    DWORD px[8 * 4];
    for (int i = 0; i < 32; ++i) px[i] = (i % 8) < 4 ? 0xFF0000 : 0x00FF00;
    HBITMAP strip = ::CreateBitmap(8, 4, 1, 32, px);
    RECT second{4, 0, 8, 4};
    WCHECK(manager.CmdSetIcon(nullptr, 100, strip, RGB(255, 0, 255), &second));
    VEzaCmdIcon* icon = manager.CmdGetIconPtr(nullptr, 100);
    WCHECK(icon != nullptr);
    if (icon != nullptr) {
        WCHECK_EQ(icon->GetSize().cx, 4L);
        CMap<COLORREF, COLORREF, DWORD, DWORD> map;
        icon->GetBitmapColorMap(map);
        DWORD n = 0;
        WCHECK(map.Lookup(RGB(0, 255, 0), n) && n == 16);
        WCHECK_EQ(map.GetCount(), INT_PTR(1));
    }
    WCHECK(manager.CmdSetIcon(nullptr, 100, nullptr, RGB(255, 0, 255)));  // no bitmap: no icon
    WCHECK(manager.CmdGetIconPtr(nullptr, 100) == nullptr);
    WCHECK(!manager.CmdSetIcon("missing", 100, strip, 0));
    WCHECK(!manager.CmdSetIcon(nullptr, 101, strip, 0));
    ::DeleteObject(strip);
}

namespace {

// A paint manager whose icons take a variant colour.
class TintingPaintManager : public VEzaPaintManagerXP {
public:
    COLORREF GetIconAlphaColor() const override { return RGB(9, 8, 7); }
    double GetIconAlphaAdjustPercent() const override { return 1.25; }
};

}  // namespace

WTEST(command_icons_follow_the_installed_paint_manager) {
    // The library's paint manager holder has hooked itself in at loading.
    const auto libraryTest = VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(nullptr);
    WCHECK(libraryTest != nullptr);
    VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(libraryTest);
    if (libraryTest != nullptr) WCHECK(libraryTest(nullptr));

    VEzaCmdManager::VEzaCmdManagerAutoPtr holder;
    VEzaCmdProfile* profile = holder->ProfileGetPtr(nullptr);
    FillWithIcons(*profile, 2);
    WCHECK(g_PaintManager.InstallPaintManager(new TintingPaintManager));
    holder.OnSysColorChange(nullptr);
    WCHECK_EQ(profile->CmdGetIconPtr(1)->GetVariantColor(), RGB(9, 8, 7));
    WCHECK(profile->CmdGetIconPtr(2)->GetVariantLightness() == 1.25);
    // The stock XP manager asks for no variant.
    WCHECK(g_PaintManager.InstallPaintManager(static_cast<VEzaPaintManager*>(nullptr)));
    holder.OnThemeChanged(nullptr, 0, 0);
    WCHECK_EQ(profile->CmdGetIconPtr(1)->GetVariantColor(), COLORREF(-1));
    WCHECK(profile->CmdGetIconPtr(2)->GetVariantLightness() == 0.0);
}

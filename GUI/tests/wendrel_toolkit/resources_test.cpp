// The resource manager: the program's resources before the library's,
// language search with a fallback in custom mode, string-table entries,
// accelerators built from their resource bytes, right-to-left rules.
#include <vector>

#include "afxwin.h"
#include "resources/resource_manager.h"
#include "toolkit_ids.h"
#include "wtest.h"

namespace {

// A manager whose user language is given.
class LanguageManager : public VEzaResourceManager {
public:
    explicit LanguageManager(WORD language) : m_language(language) {}
    WORD GetUserDefaultLanguage() const override { return m_language; }

private:
    WORD m_language;
};

}  // namespace

WTEST(program_resources_come_before_the_library_ones) {
    VEzaResourceManager manager;
    CString text;
    HINSTANCE module = nullptr;
    WORD language = 0;
    WCHECK(manager.LoadString(text, 30048, &language, &module));
    WCHECK_EQ(text, CString("Hide (program)"));
    WCHECK(module == ::GetModuleHandleA(nullptr));
    WCHECK_EQ(language, WORD(0x0409));
    WCHECK(manager.LoadString(text, 30049, &language, &module));
    WCHECK_EQ(text, CString("Options"));
    WCHECK(module == WendrelModuleHandle());
    WCHECK(manager.LoadString(text, 30337));
    WCHECK_EQ(text, CString("Pale green "));
    WCHECK(!manager.LoadString(text, 39999, &language, &module));
    WCHECK(text.IsEmpty());
    WCHECK(module == nullptr);

    // The library's own pictures and dialog are found through the chain too.
    HBITMAP checker = manager.LoadBitmap(1008, nullptr, &module);
    WCHECK(checker != nullptr);
    WCHECK(module == WendrelModuleHandle());
    BITMAP bm{};
    ::GetObjectA(checker, sizeof bm, &bm);
    WCHECK_EQ(bm.bmWidth, 8L);
    WCHECK_EQ(int(bm.bmBitsPixel), 1);
    ::DeleteObject(checker);
    for (int id : {130, 131, 133, 135, 136, 138, 139})
        WCHECK(::LoadCursorA(WendrelModuleHandle(), MAKEINTRESOURCEA(id)) != nullptr);
    WCHECK(::FindResourceA(WendrelModuleHandle(), MAKEINTRESOURCEA(137), RT_DIALOG) != nullptr);

    // Under the toolkit scope the library is the resource source first.
    {
        VEzaToolkitResourceScope scope;
        WCHECK(AfxGetResourceHandle() == WendrelModuleHandle());
        WCHECK(text.LoadString(30048));
        WCHECK_EQ(text, CString("Hide"));
    }
    WCHECK(AfxGetResourceHandle() == ::GetModuleHandleA(nullptr));
}

WTEST(custom_language_mode_falls_back_to_the_library_language) {
    VEzaResourceManager manager;
    manager.SetDesiredLanguage(0x0407);
    CString text;
    WORD language = 0;
    WCHECK(manager.LoadString(text, IDS_TEST_BOTH, &language));
    WCHECK_EQ(text, CString("Hello"));  // the desired language plays no part yet

    manager.SetCustomLanguageMode(true);
    WCHECK(manager.IsCustomLanguageMode());
    WCHECK(manager.LoadString(text, IDS_TEST_BOTH, &language));
    WCHECK_EQ(text, CString("Hallo"));
    WCHECK_EQ(language, WORD(0x0407));
    WCHECK(manager.LoadString(text, IDS_TEST_ENGLISH_ONLY, &language));
    WCHECK_EQ(text, CString("English only"));
    WCHECK_EQ(language, WORD(0x0409));
    text = "old";
    WCHECK(manager.LoadString(text, IDS_TEST_EMPTY));
    WCHECK(text.IsEmpty());
    WCHECK(!manager.LoadString(text, 39999));

    CMenu menu;
    WCHECK(manager.LoadMenu(&menu, IDM_TEST_MENU, &language));
    WCHECK_EQ(menu.GetMenuItemCount(), 2);
    WCHECK_EQ(language, WORD(0x0409));

    HACCEL accel = manager.LoadAccelerators(UINT(IDA_TEST_ACCEL));
    WCHECK(accel != nullptr);
    ACCEL table[4] = {};
    WCHECK_EQ(::CopyAcceleratorTableA(accel, table, 4), 2);
    WCHECK_EQ(int(table[0].fVirt), FVIRTKEY | FCONTROL);
    WCHECK_EQ(table[0].key, WORD('O'));
    WCHECK_EQ(table[0].cmd, WORD(ID_TEST_OPEN));
    WCHECK_EQ(table[1].key, WORD(VK_F1));
    WCHECK_EQ(table[1].cmd, WORD(ID_TEST_ABOUT));
    ::DestroyAcceleratorTable(accel);
}

WTEST(right_to_left_rules) {
    LanguageManager arabic(0x0401), english(0x0409), hebrew(0x040D);
    WCHECK(arabic.IsRightToLeft());
    WCHECK(hebrew.IsRightToLeft());
    WCHECK(!english.IsRightToLeft());
    WCHECK_EQ(arabic.SetRightToLeftOverride(0), -1);
    WCHECK(!arabic.IsRightToLeft());
    english.SetRightToLeftOverride(1);
    WCHECK(english.IsRightToLeft());
    LanguageManager custom(0x0409);
    custom.SetCustomLanguageMode(true);
    custom.SetDesiredLanguage(0x0401);
    WCHECK(custom.IsRightToLeft());
    custom.SetDesiredLanguage(0x040D);  // custom mode knows Arabic only
    WCHECK(!custom.IsRightToLeft());
}

WTEST(locale_texts_come_through_the_language_chain) {
    VEzaResourceManager manager;
    char buf[64] = {};
    WCHECK(manager.GetLocaleInfo(LOCALE_SMONTHNAME1, buf, sizeof buf) > 0);
    manager.SetCustomLanguageMode(true);
    manager.SetDesiredLanguage(0x0409);
    WCHECK(manager.GetLocaleInfo(LOCALE_SMONTHNAME1, buf, sizeof buf) > 0);
    WCHECK_EQ(CString(buf), CString("January"));
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 11;
    WCHECK(manager.GetDateFormat(0, &t, "yyyy'-'MM'-'dd", buf, sizeof buf) > 0);
    WCHECK_EQ(CString(buf), CString("2026-12-11"));
}

WTEST(global_resource_manager_can_be_replaced) {
    VEzaResourceManager* first = g_ResourceManager.operator->();
    WCHECK(first != nullptr);
    WCHECK(g_ResourceManager.operator->() == first);
    auto* mine = new LanguageManager(0x0401);
    g_ResourceManager.InstallResourceManager(mine);
    WCHECK(g_ResourceManager->IsRightToLeft());
    g_ResourceManager.InstallResourceManager(nullptr);
    WCHECK(!g_ResourceManager->IsCustomLanguageMode());
    WCHECK_EQ(g_ResourceManager->GetDesiredLanguage(), WORD(0x0409));
}

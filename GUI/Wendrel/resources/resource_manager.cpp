#include "resources/resource_manager.h"

#include <cstring>

#include "toolkit/toolkit_log.h"

VEzaResourceManager::VEzaResourceManagerAutoPtr g_ResourceManager;

HINSTANCE WendrelModuleHandle() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&WendrelModuleHandle), &module);
    return module;
}

VEzaToolkitResourceScope::VEzaToolkitResourceScope() : m_saved(AfxGetResourceHandle()) {
    AfxSetResourceHandle(WendrelModuleHandle());
}

void VEzaToolkitResourceScope::Restore() {
    if (m_restored) return;
    m_restored = true;
    AfxSetResourceHandle(m_saved);
}

void VEzaResourceBuffer::Alloc(size_t size, bool zero) {
    m_data.clear();
    m_data.shrink_to_fit();
    if (zero)
        m_data.assign(size, 0);
    else
        m_data.resize(size);
}

bool VEzaResourceBuffer::Load(HMODULE module, HRSRC resource) {
    Free();
    if (resource == nullptr) return false;
    DWORD size = ::SizeofResource(module, resource);
    if (size == 0) return true;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return false;
    Alloc(size, false);
    std::memcpy(m_data.data(), bytes, size);
    return true;
}

VEzaResourceManager::VEzaResourceManagerAutoPtr::~VEzaResourceManagerAutoPtr() {
    delete m_pManager;
    m_pManager = nullptr;
}

VEzaResourceManager* VEzaResourceManager::VEzaResourceManagerAutoPtr::operator->() {
    if (m_pManager == nullptr) m_pManager = new VEzaResourceManager;
    return m_pManager;
}

void VEzaResourceManager::VEzaResourceManagerAutoPtr::InstallResourceManager(VEzaResourceManager* manager) {
    delete m_pManager;
    m_pManager = manager != nullptr ? manager : new VEzaResourceManager;
}

void VEzaResourceManager::SetCustomLanguageMode(bool on) {
    if (on)
        m_options |= 1;
    else
        m_options &= BYTE(~1);
}

int VEzaResourceManager::SetRightToLeftOverride(int value) {
    int previous = m_rtlOverride;
    m_rtlOverride = value;
    return previous;
}

WORD VEzaResourceManager::GetUserDefaultLanguage() const { return ::GetUserDefaultLangID(); }

bool VEzaResourceManager::IsRightToLeft() const {
    if (m_rtlOverride != -1) return m_rtlOverride != 0;
    if (IsCustomLanguageMode()) return m_desiredLanguage == 0x0401;
    static const WORD rtl[] = {0x0401, 0x040D, 0x0420, 0x0429, 0x0446, 0x0459, 0x0460, 0x0801,
                               0x0820, 0x0860, 0x0C01, 0x1001, 0x1401, 0x1801, 0x1C01, 0x2001,
                               0x2401, 0x2801, 0x2C01, 0x3001, 0x3401, 0x3801, 0x3C01, 0x4001};
    const WORD lang = GetUserDefaultLanguage();
    for (WORD l : rtl)
        if (l == lang) return true;
    return false;
}

template <class Fn>
int VEzaResourceManager::LocaleChain(Fn call) const {
    if (IsCustomLanguageMode()) {
        if (int n = call(MAKELCID(m_desiredLanguage, SORT_DEFAULT))) return n;
        if (int n = call(MAKELCID(kLibraryLanguage, SORT_DEFAULT))) return n;
    }
    for (LCID lcid : {LCID(LOCALE_USER_DEFAULT), LCID(LOCALE_SYSTEM_DEFAULT), LCID(0)})
        if (int n = call(lcid)) return n;
    return 0;
}

int VEzaResourceManager::GetLocaleInfo(LCTYPE type, LPSTR buf, int size) const {
    return LocaleChain([&](LCID lcid) { return ::GetLocaleInfoA(lcid, type, buf, size); });
}

int VEzaResourceManager::GetTimeFormat(DWORD flags, const SYSTEMTIME* time, LPCSTR format, LPSTR buf,
                                       int size) const {
    return LocaleChain([&](LCID lcid) { return ::GetTimeFormatA(lcid, flags, time, format, buf, size); });
}

int VEzaResourceManager::GetDateFormat(DWORD flags, const SYSTEMTIME* time, LPCSTR format, LPSTR buf,
                                       int size) const {
    return LocaleChain([&](LCID lcid) { return ::GetDateFormatA(lcid, flags, time, format, buf, size); });
}

HINSTANCE VEzaResourceManager::FindResourceModuleEx(LPCSTR type, LPCSTR name, WORD language, WORD* outLanguage,
                                                    HRSRC* outResource) const {
    if (outResource != nullptr) *outResource = nullptr;
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    HINSTANCE module = nullptr;
    HRSRC found = nullptr;
    if (IsCustomLanguageMode()) {
        module = AfxGetResourceHandle();
        found = module ? ::FindResourceExA(module, type, name, language) : nullptr;
        if (found != nullptr && outLanguage != nullptr) *outLanguage = language;
    } else {
        module = AfxFindResourceHandle(name, type);
        found = module ? ::FindResourceA(module, name, type) : nullptr;
    }
    if (found == nullptr) return nullptr;
    if (outResource != nullptr) *outResource = found;
    return module;
}

HINSTANCE VEzaResourceManager::FindResourceModuleEx(LPCSTR type, LPCSTR name, WORD language, WORD fallback,
                                                    WORD* outLanguage, HRSRC* outResource) const {
    HINSTANCE module = FindResourceModuleEx(type, name, language, outLanguage, outResource);
    if (module == nullptr && fallback != language)
        module = FindResourceModuleEx(type, name, fallback, outLanguage, outResource);
    return module;
}

HINSTANCE VEzaResourceManager::FindResourceModule(LPCSTR type, LPCSTR name, WORD* outLanguage,
                                                  HRSRC* outResource) const {
    return FindResourceModuleEx(type, name, m_desiredLanguage, kLibraryLanguage, outLanguage, outResource);
}

bool VEzaResourceManager::LoadFound(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name, WORD language,
                                    WORD fallback, bool withFallback, WORD* outLanguage,
                                    HINSTANCE* outModule) const {
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    HRSRC resource = nullptr;
    WORD found = kLibraryLanguage;
    HINSTANCE module = withFallback ? FindResourceModuleEx(type, name, language, fallback, &found, &resource)
                                    : FindResourceModuleEx(type, name, language, &found, &resource);
    if (module == nullptr || !buffer.Load(module, resource)) return false;
    if (outLanguage != nullptr) *outLanguage = found;
    if (outModule != nullptr) *outModule = module;
    return true;
}

bool VEzaResourceManager::LoadResourceBytes(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name, WORD language,
                                            WORD* outLanguage, HINSTANCE* outModule) const {
    return LoadFound(buffer, type, name, language, language, false, outLanguage, outModule);
}

bool VEzaResourceManager::LoadResourceBytes(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name, WORD language,
                                            WORD fallback, WORD* outLanguage, HINSTANCE* outModule) const {
    return LoadFound(buffer, type, name, language, fallback, true, outLanguage, outModule);
}

bool VEzaResourceManager::LoadResourceBytes(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name,
                                            WORD* outLanguage, HINSTANCE* outModule) const {
    return LoadFound(buffer, type, name, m_desiredLanguage, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), true,
                     outLanguage, outModule);
}

bool VEzaResourceManager::LoadString(CString& text, UINT id, WORD language, WORD fallback, WORD* outLanguage,
                                     HINSTANCE* outModule) const {
    text.Empty();
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    if (!IsCustomLanguageMode()) {
        AFX_MANAGE_STATE(AfxGetAppModuleState());
        HINSTANCE module = AfxFindStringResourceHandle(id);
        if (module == nullptr || !text.LoadString(module, id)) return false;
        if (outModule != nullptr) *outModule = module;
        return true;
    }
    // A string table block holds 16 counted UTF-16 strings; block id/16+1.
    VEzaResourceBuffer block;
    if (!LoadResourceBytes(block, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(id / 16 + 1), language, fallback,
                           outLanguage, outModule))
        return false;
    const BYTE* p = block.GetBuffer();
    size_t left = block.GetSize();
    auto word = [&](size_t at) { return WORD(p[at] | (p[at + 1] << 8)); };
    size_t at = 0;
    for (UINT entry = 0; entry < id % 16; ++entry) {
        if (at + 2 > left) return false;
        at += 2 + 2 * size_t(word(at));
    }
    if (at + 2 > left) return false;
    const size_t length = word(at);
    if (at + 2 + 2 * length > left) return false;
    if (length == 0) return true;
    std::wstring wide(length, L'\0');
    for (size_t i = 0; i < length; ++i) wide[i] = wchar_t(word(at + 2 + 2 * i));
    int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), int(length), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    LPSTR out = text.GetBuffer(n);
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), int(length), out, n, nullptr, nullptr);
    text.ReleaseBuffer(n);
    return true;
}

bool VEzaResourceManager::LoadString(CString& text, UINT id, WORD* outLanguage, HINSTANCE* outModule) const {
    return LoadString(text, id, m_desiredLanguage, kLibraryLanguage, outLanguage, outModule);
}

bool VEzaResourceManager::LoadMenu(CMenu* menu, UINT id, WORD language, WORD fallback, WORD* outLanguage,
                                   HINSTANCE* outModule) const {
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    if (menu == nullptr) return false;
    menu->DestroyMenu();
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    if (!IsCustomLanguageMode()) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(4));
        HMENU h = module ? ::LoadMenuA(module, MAKEINTRESOURCEA(id)) : nullptr;
        if (h == nullptr) return false;
        menu->Attach(h);
        if (outModule != nullptr) *outModule = module;
        return true;
    }
    VEzaResourceBuffer bytes;
    if (!LoadResourceBytes(bytes, MAKEINTRESOURCEA(4), MAKEINTRESOURCEA(id), language, fallback, outLanguage,
                           outModule) ||
        bytes.GetSize() == 0)
        return false;
    HMENU h = ::LoadMenuIndirectA(bytes.GetBuffer());
    if (h == nullptr) return false;
    menu->Attach(h);
    return true;
}

bool VEzaResourceManager::LoadMenu(CMenu* menu, UINT id, WORD* outLanguage, HINSTANCE* outModule) const {
    return LoadMenu(menu, id, m_desiredLanguage, kLibraryLanguage, outLanguage, outModule);
}

bool VEzaResourceManager::LoadMenu(CMenu* menu, LPCSTR name, WORD* outLanguage, HINSTANCE* outModule) const {
    if (IS_INTRESOURCE(name))
        return LoadMenu(menu, UINT(reinterpret_cast<UINT_PTR>(name)), outLanguage, outModule);
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    if (menu == nullptr) return false;
    menu->DestroyMenu();
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    HINSTANCE module = AfxFindResourceHandle(name, MAKEINTRESOURCEA(4));
    HMENU h = module ? ::LoadMenuA(module, name) : nullptr;
    if (h == nullptr) return false;
    menu->Attach(h);
    if (outModule != nullptr) *outModule = module;
    return true;
}

HACCEL VEzaResourceManager::LoadAccelerators(UINT id, WORD language, WORD fallback, WORD* outLanguage,
                                             HINSTANCE* outModule) const {
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    if (!IsCustomLanguageMode()) {
        HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(9));
        HACCEL h = module ? ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(id)) : nullptr;
        if (h != nullptr && outModule != nullptr) *outModule = module;
        return h;
    }
    VEzaResourceBuffer bytes;
    if (!LoadResourceBytes(bytes, MAKEINTRESOURCEA(9), MAKEINTRESOURCEA(id), language, fallback, outLanguage,
                           outModule))
        return nullptr;
    // 8-byte entries (flags, key, command, padding) become 6-byte ACCELs.
    const size_t count = bytes.GetSize() / 8;
    if (count == 0) return nullptr;
    std::vector<ACCEL> table(count);
    const BYTE* p = bytes.GetBuffer();
    for (size_t i = 0; i < count; ++i) {
        const BYTE* e = p + 8 * i;
        table[i].fVirt = e[0];
        table[i].key = WORD(e[2] | (e[3] << 8));
        table[i].cmd = WORD(e[4] | (e[5] << 8));
    }
    return ::CreateAcceleratorTableA(table.data(), int(count));
}

HACCEL VEzaResourceManager::LoadAccelerators(LPCSTR name, WORD* outLanguage, HINSTANCE* outModule) const {
    if (IS_INTRESOURCE(name)) return LoadAccelerators(UINT(reinterpret_cast<UINT_PTR>(name)), outLanguage, outModule);
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    HINSTANCE module = AfxFindResourceHandle(name, MAKEINTRESOURCEA(9));
    HACCEL h = module ? ::LoadAcceleratorsA(module, name) : nullptr;
    if (h != nullptr && outModule != nullptr) *outModule = module;
    return h;
}

HACCEL VEzaResourceManager::LoadAccelerators(UINT id, WORD* outLanguage, HINSTANCE* outModule) const {
    return LoadAccelerators(id, m_desiredLanguage, kLibraryLanguage, outLanguage, outModule);
}

HBITMAP VEzaResourceManager::LoadBitmap(UINT id, WORD language, WORD fallback, WORD* outLanguage,
                                        HINSTANCE* outModule) const {
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    HINSTANCE module = nullptr;
    if (IsCustomLanguageMode()) {
        HRSRC resource = nullptr;
        module = FindResourceModuleEx(MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(id), language, fallback, outLanguage,
                                      &resource);
    } else {
        module = AfxFindResourceHandle(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    }
    HBITMAP h = module ? ::LoadBitmapA(module, MAKEINTRESOURCEA(id)) : nullptr;
    if (h != nullptr && outModule != nullptr) *outModule = module;
    return h;
}

HBITMAP VEzaResourceManager::LoadBitmap(LPCSTR name, WORD* outLanguage, HINSTANCE* outModule) const {
    if (IS_INTRESOURCE(name)) return LoadBitmap(UINT(reinterpret_cast<UINT_PTR>(name)), outLanguage, outModule);
    if (outLanguage != nullptr) *outLanguage = kLibraryLanguage;
    if (outModule != nullptr) *outModule = nullptr;
    AFX_MANAGE_STATE(AfxGetAppModuleState());
    HINSTANCE module = AfxFindResourceHandle(name, MAKEINTRESOURCEA(2));
    HBITMAP h = module ? ::LoadBitmapA(module, name) : nullptr;
    if (h != nullptr && outModule != nullptr) *outModule = module;
    return h;
}

HBITMAP VEzaResourceManager::LoadBitmap(UINT id, WORD* outLanguage, HINSTANCE* outModule) const {
    return LoadBitmap(id, m_desiredLanguage, kLibraryLanguage, outLanguage, outModule);
}

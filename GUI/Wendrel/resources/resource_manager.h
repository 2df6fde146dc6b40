// Every string, menu, accelerator table, bitmap and raw resource the toolkit
// loads goes through one VEzaResourceManager (g_ResourceManager). In its
// ordinary mode it uses the layer's resource chain: the current module (the
// application, i.e. the exe) first, then the other modules, the toolkit DLL
// among them, so that an id defined by both resolves to the exe's. In custom
// language mode it searches the application's resource module by language,
// the desired language first, then a fallback, and builds the objects from
// the resource bytes itself. GUI thread only.
#pragma once

#include <vector>

#include "afxwin.h"
#include "wendrel_export.h"

// The bytes of one loaded resource.
class WENDREL_API VEzaResourceBuffer {
public:
    // Replaces the block by one of size bytes (zero-filled when asked).
    void Alloc(size_t size, bool zero = true);
    void Free() { m_data.clear(); }
    // Copies the whole resource; a resource of size 0 leaves the buffer empty.
    bool Load(HMODULE module, HRSRC resource);
    const BYTE* GetBuffer() const { return m_data.empty() ? nullptr : m_data.data(); }
    BYTE* GetBuffer() { return m_data.empty() ? nullptr : m_data.data(); }
    size_t GetSize() const { return m_data.size(); }

private:
    std::vector<BYTE> m_data;
};

class WENDREL_API VEzaResourceManager {
public:
    static constexpr WORD kLibraryLanguage = 0x0409;

    VEzaResourceManager() = default;
    VEzaResourceManager(const VEzaResourceManager&) = delete;
    VEzaResourceManager& operator=(const VEzaResourceManager&) = delete;

    virtual ~VEzaResourceManager() = default;
    // Reserved; its role lies outside this library.
    virtual int Reserved(int, int, int) { return 0; }
    virtual bool IsCustomLanguageMode() const { return (m_options & 1) != 0; }
    virtual void SetCustomLanguageMode(bool on);
    virtual bool IsRightToLeft() const;
    virtual int GetRightToLeftOverride() const { return m_rtlOverride; }
    virtual int SetRightToLeftOverride(int value);
    virtual WORD GetDesiredLanguage() const { return m_desiredLanguage; }
    virtual void SetDesiredLanguage(WORD language) { m_desiredLanguage = language; }
    virtual WORD GetLibraryLanguage() const { return kLibraryLanguage; }
    virtual int GetLocaleInfo(LCTYPE type, LPSTR buf, int size) const;
    virtual int GetTimeFormat(DWORD flags, const SYSTEMTIME* time, LPCSTR format, LPSTR buf, int size) const;
    virtual int GetDateFormat(DWORD flags, const SYSTEMTIME* time, LPCSTR format, LPSTR buf, int size) const;
    virtual HINSTANCE FindResourceModuleEx(LPCSTR type, LPCSTR name, WORD language, WORD* outLanguage = nullptr,
                                           HRSRC* outResource = nullptr) const;
    virtual HINSTANCE FindResourceModuleEx(LPCSTR type, LPCSTR name, WORD language, WORD fallback,
                                           WORD* outLanguage, HRSRC* outResource) const;
    virtual HINSTANCE FindResourceModule(LPCSTR type, LPCSTR name, WORD* outLanguage = nullptr,
                                         HRSRC* outResource = nullptr) const;
    virtual bool LoadResourceBytes(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name, WORD language,
                                   WORD* outLanguage, HINSTANCE* outModule) const;
    virtual bool LoadResourceBytes(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name, WORD language,
                                   WORD fallback, WORD* outLanguage, HINSTANCE* outModule) const;
    virtual bool LoadResourceBytes(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name,
                                   WORD* outLanguage = nullptr, HINSTANCE* outModule = nullptr) const;
    virtual bool LoadString(CString& text, UINT id, WORD language, WORD fallback, WORD* outLanguage,
                            HINSTANCE* outModule) const;
    virtual bool LoadString(CString& text, UINT id, WORD* outLanguage = nullptr,
                            HINSTANCE* outModule = nullptr) const;
    virtual bool LoadMenu(CMenu* menu, UINT id, WORD language, WORD fallback, WORD* outLanguage,
                          HINSTANCE* outModule) const;
    virtual bool LoadMenu(CMenu* menu, UINT id, WORD* outLanguage = nullptr, HINSTANCE* outModule = nullptr) const;
    virtual bool LoadMenu(CMenu* menu, LPCSTR name, WORD* outLanguage = nullptr,
                          HINSTANCE* outModule = nullptr) const;
    virtual HACCEL LoadAccelerators(UINT id, WORD language, WORD fallback, WORD* outLanguage,
                                    HINSTANCE* outModule) const;
    virtual HACCEL LoadAccelerators(LPCSTR name, WORD* outLanguage = nullptr, HINSTANCE* outModule = nullptr) const;
    virtual HACCEL LoadAccelerators(UINT id, WORD* outLanguage = nullptr, HINSTANCE* outModule = nullptr) const;
    virtual HBITMAP LoadBitmap(UINT id, WORD language, WORD fallback, WORD* outLanguage,
                               HINSTANCE* outModule) const;
    virtual HBITMAP LoadBitmap(LPCSTR name, WORD* outLanguage = nullptr, HINSTANCE* outModule = nullptr) const;
    virtual HBITMAP LoadBitmap(UINT id, WORD* outLanguage = nullptr, HINSTANCE* outModule = nullptr) const;

    class WENDREL_API VEzaResourceManagerAutoPtr {
    public:
        VEzaResourceManagerAutoPtr() = default;
        ~VEzaResourceManagerAutoPtr();
        VEzaResourceManagerAutoPtr(const VEzaResourceManagerAutoPtr&) = delete;
        VEzaResourceManagerAutoPtr& operator=(const VEzaResourceManagerAutoPtr&) = delete;
        // Creates a default manager on first use.
        VEzaResourceManager* operator->();
        // Deletes the current manager and takes this one (a new default one for NULL).
        void InstallResourceManager(VEzaResourceManager* manager);

    private:
        VEzaResourceManager* m_pManager = nullptr;
    };

    // The user's default UI language (a seam for the right-to-left rules).
    virtual WORD GetUserDefaultLanguage() const;

private:
    // The language chain of the locale calls: each candidate until one answers.
    template <class Fn>
    int LocaleChain(Fn call) const;
    bool LoadFound(VEzaResourceBuffer& buffer, LPCSTR type, LPCSTR name, WORD language, WORD fallback,
                   bool withFallback, WORD* outLanguage, HINSTANCE* outModule) const;

    BYTE m_options = 0;
    WORD m_desiredLanguage = 0x0409;
    int m_rtlOverride = -1;
};

WENDREL_API extern VEzaResourceManager::VEzaResourceManagerAutoPtr g_ResourceManager;

// Makes the toolkit DLL the resource source for its life and puts the saved
// handle back once.
class WENDREL_API VEzaToolkitResourceScope {
public:
    VEzaToolkitResourceScope();
    ~VEzaToolkitResourceScope() { Restore(); }
    VEzaToolkitResourceScope(const VEzaToolkitResourceScope&) = delete;
    VEzaToolkitResourceScope& operator=(const VEzaToolkitResourceScope&) = delete;
    void Restore();

private:
    HINSTANCE m_saved;
    bool m_restored = false;
};

// The toolkit DLL's own module handle.
WENDREL_API HINSTANCE WendrelModuleHandle();

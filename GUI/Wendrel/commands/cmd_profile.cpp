#include "commands/cmd_profile.h"

#include <memory>
#include <utility>
#include <vector>

#include "commands/registry_archiver.h"
#include "icons/cmd_icon.h"
#include "resources/resource_manager.h"
#include "toolkit/toolkit_log.h"

VEzaCmdProfile::VEzaCmdProfile(LPCSTR name) : m_sName(name ? name : ""), m_cmds(10) { m_cmds.InitHashTable(17); }

VEzaCmdProfile::~VEzaCmdProfile() { CmdRemoveAll(); }

bool VEzaCmdProfile::CmdSetup(const VEzaCmdItem& item, bool replace, bool* added) {
    if (added != nullptr) *added = false;
    if (!VEzaCmdItem::IsCommandId(item.m_nCmdID)) return false;
    VEzaCmdItem* existing = nullptr;
    if (m_cmds.Lookup(item.m_nCmdID, existing)) {
        if (replace)
            existing->MergeTextsFrom(item);
        else
            existing->FillEmptyTextsFrom(item);
        return true;
    }
    VEzaCmdItem* copy = CreateCmdItem(item);
    copy->m_pProfile = this;
    m_cmds.SetAt(item.m_nCmdID, copy);
    if (added != nullptr) *added = true;
    return true;
}

void VEzaCmdProfile::RemoveIconAt(int idx) {
    m_icons.RemoveAt(idx);
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        if (item->m_nIconIdx >= idx) --item->m_nIconIdx;
    }
}

bool VEzaCmdProfile::CmdRemove(UINT id, bool* removed) {
    if (removed != nullptr) *removed = false;
    if (!VEzaCmdItem::IsCommandId(id)) return false;
    VEzaCmdItem* item = nullptr;
    if (!m_cmds.Lookup(id, item)) return true;
    int iconIdx = item->m_nIconIdx;
    delete item;
    m_cmds.RemoveKey(id);
    if (removed != nullptr) *removed = true;
    if (iconIdx >= 0 && iconIdx < m_icons.GetSize()) {
        delete m_icons[iconIdx];
        RemoveIconAt(iconIdx);
    }
    return true;
}

void VEzaCmdProfile::CmdRemoveAll() {
    for (INT_PTR i = 0; i < m_icons.GetSize(); ++i) delete m_icons[i];
    m_icons.RemoveAll();
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        delete item;
    }
    m_cmds.RemoveAll();
}

void VEzaCmdProfile::CmdRemoveByMask(DWORD maskA, DWORD maskB, bool allOfA, bool allOfB) {
    std::vector<UINT> ids;
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        bool hitA = (item->m_dwState & maskA) != 0;
        bool hitB = (item->m_dwState2 & maskB) != 0;
        if (!hitA && !hitB) continue;
        if (allOfA && (item->m_dwState & maskA) != maskA) continue;
        if (allOfB && (item->m_dwState2 & maskB) != maskB) continue;
        ids.push_back(id);
    }
    for (UINT id : ids) CmdRemove(id);
}

VEzaCmdItem* VEzaCmdProfile::CmdAllocPtr(UINT id) {
    if (id != 0) {
        if (CmdIsRegistered(id)) return nullptr;
    } else {
        for (UINT candidate = 0xFFFE; candidate > 0; --candidate) {
            if (!CmdIsRegistered(candidate)) {
                id = candidate;
                break;
            }
        }
        if (id == 0) return nullptr;
    }
    if (!CmdSetup(VEzaCmdItem(id))) return nullptr;
    return CmdGetPtr(id);
}

VEzaCmdItem* VEzaCmdProfile::CmdGetPtr(UINT id) {
    if (!VEzaCmdItem::IsCommandId(id)) return nullptr;
    VEzaCmdItem* item = nullptr;
    return m_cmds.Lookup(id, item) ? item : nullptr;
}

bool VEzaCmdProfile::CmdSetIcon(UINT id, VEzaCmdIcon* icon, bool adopt) {
    VEzaCmdItem* item = CmdGetPtr(id);
    if (item == nullptr) {
        if (adopt) delete icon;
        return false;
    }
    if (icon != nullptr && icon->IsEmpty()) {
        if (adopt) delete icon;
        icon = nullptr;
    }
    const int idx = item->m_nIconIdx;
    const bool has = idx >= 0 && idx < m_icons.GetSize();
    if (icon != nullptr) {
        if (!has) {
            VEzaCmdIcon* stored = adopt ? icon : new VEzaCmdIcon(*icon);
            item->m_nIconIdx = int(m_icons.Add(stored));
        } else if (adopt) {
            VEzaCmdIcon* old = m_icons[idx];
            m_icons[idx] = icon;
            if (old != icon) delete old;
        } else {
            *m_icons[idx] = *icon;
        }
        return true;
    }
    if (has) {
        VEzaCmdIcon* old = m_icons[idx];
        RemoveIconAt(idx);
        if (old != icon) delete old;
        item->m_nIconIdx = -1;
    }
    return true;
}

VEzaCmdIcon* VEzaCmdProfile::CmdGetIconPtr(UINT id) {
    VEzaCmdItem* item = CmdGetPtr(id);
    if (item == nullptr || item->m_nIconIdx < 0 || item->m_nIconIdx >= m_icons.GetSize()) return nullptr;
    return m_icons[item->m_nIconIdx];
}

bool VEzaCmdProfile::CmdIsRegistered(UINT id) { return CmdGetPtr(id) != nullptr; }

bool VEzaCmdProfile::UpdateFromMenu(UINT menuId, bool replace, bool loadTips) {
    CMenu menu;
    {
        AFX_MANAGE_STATE(AfxGetAppModuleState());
        if (!g_ResourceManager->LoadMenu(&menu, menuId)) return false;
    }
    bool ok = UpdateFromMenu(menu.GetSafeHmenu(), replace, true, loadTips);
    menu.DestroyMenu();
    return ok;
}

bool VEzaCmdProfile::UpdateFromMenu(HMENU menu, bool replace, bool recursive, bool loadTips) {
    if (menu == nullptr || !::IsMenu(menu)) return false;
    const int count = ::GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        char text[1025] = {};
        MENUITEMINFOA mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_DATA | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = 1024;
        if (!::GetMenuItemInfoA(menu, UINT(pos), TRUE, &mii)) continue;
        if (mii.fType & MFT_SEPARATOR) continue;
        if (mii.hSubMenu != nullptr) {
            if (recursive) UpdateFromMenu(mii.hSubMenu, replace, true, true);
            continue;
        }
        if (!VEzaCmdItem::IsCommandId(mii.wID)) continue;
        VEzaCmdItem item(mii.wID);
        CString s(text);
        s.Remove('\n');
        s.Remove('\r');
        s.Trim(' ');
        int tab = s.ReverseFind('\t');
        if (tab >= 0) {
            item.m_sMenuText = s.Left(tab);
            item.m_sMenuText.Trim(' ');
            item.m_sAccelText = s.Mid(tab + 1);
            item.m_sAccelText.Trim(' ');
        } else {
            item.m_sMenuText = s;
        }
        if (loadTips) item.UpdateFromStringResource();
        CmdSetup(item, replace);
    }
    return true;
}

bool VEzaCmdProfile::UpdateFromToolBar(UINT resourceId, UINT** ids, INT* count, bool replace, bool loadTips,
                                       COLORREF transparent) {
    if (ids != nullptr) *ids = nullptr;
    if (count != nullptr) *count = 0;
    VEzaResourceBuffer data;
    if (!g_ResourceManager->LoadResourceBytes(data, MAKEINTRESOURCEA(241), MAKEINTRESOURCEA(resourceId))) return false;
    HBITMAP strip = g_ResourceManager->LoadBitmap(resourceId);
    if (strip == nullptr) return false;
    // Version, button width and height, item count, then the ids (0: separator).
    const BYTE* p = data.GetBuffer();
    const size_t size = data.GetSize();
    auto word = [&](size_t i) { return WORD(p[2 * i] | (p[2 * i + 1] << 8)); };
    if (size < 8) {
        ::DeleteObject(strip);
        return false;
    }
    const int width = word(1), height = word(2), items = word(3);
    if (size < 8 + 2 * size_t(items)) {
        ::DeleteObject(strip);
        ToolkitLogFailure("UpdateFromToolBar: toolbar resource %u is shorter than its %d items", resourceId, items);
        return false;
    }
    std::vector<UINT> buttons;
    for (int i = 0; i < items; ++i) {
        UINT id = word(4 + i);
        if (id == 0) continue;
        const int n = int(buttons.size());
        buttons.push_back(id);
        RECT part{n * width, 0, (n + 1) * width, height};
        auto icon = std::make_unique<VEzaCmdIcon>();
        icon->AssignFromHBITMAP(strip, transparent, &part, true);
        if (icon->IsEmpty()) continue;
        VEzaCmdItem item(id);
        if (loadTips) item.UpdateFromStringResource();
        if (CmdSetup(item, replace)) CmdSetIcon(id, icon.release(), true);
    }
    ::DeleteObject(strip);
    if (ids != nullptr) {
        *ids = new UINT[buttons.size() + 1];
        for (size_t i = 0; i < buttons.size(); ++i) (*ids)[i] = buttons[i];
    }
    if (count != nullptr) *count = INT(buttons.size());
    return true;
}

bool VEzaCmdProfile::UpdateFromToolBar(CToolBar* bar, bool replace, bool loadTips) {
    if (bar == nullptr || bar->GetSafeHwnd() == nullptr) return false;
    HWND hwnd = bar->GetSafeHwnd();
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageA(hwnd, TB_GETIMAGELIST, 0, 0));
    if (images == nullptr) return false;
    const int count = int(::SendMessageA(hwnd, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!::SendMessageA(hwnd, TB_GETBUTTON, WPARAM(i), LPARAM(&button))) continue;
        UINT id = UINT(button.idCommand);
        if (id == 0) continue;
        char text[1025] = {};
        TBBUTTONINFOA info{};
        info.cbSize = sizeof info;
        info.dwMask = TBIF_IMAGE | TBIF_TEXT;
        info.pszText = text;
        info.cchText = 1024;
        int image = -1;
        if (::SendMessageA(hwnd, TB_GETBUTTONINFOA, WPARAM(id), LPARAM(&info)) >= 0) {
            image = info.iImage;
        } else {
            UINT bid, style;
            bar->GetButtonInfo(i, bid, style, image);
        }
        VEzaCmdItem item(id);
        item.m_sToolbarText = text;
        if (loadTips) item.UpdateFromStringResource();
        if (!CmdSetup(item, replace)) continue;
        VEzaCmdItem* stored = CmdGetPtr(id);
        if (image < 0 || stored == nullptr || stored->m_nIconIdx >= 0) continue;
        HICON h = ::ImageList_GetIcon(images, image, ILD_NORMAL);
        if (h == nullptr) continue;
        auto icon = new VEzaCmdIcon();
        icon->AssignFromHICON(h, false);
        stored->m_nIconIdx = int(m_icons.Add(icon));
    }
    return true;
}

bool VEzaCmdProfile::SetBasicCommands(const UINT* ids, bool basic) {
    if (ids == nullptr) return false;
    bool all = true;
    for (; *ids != 0; ++ids) {
        VEzaCmdItem* item = VEzaCmdItem::IsSystemCommandId(*ids) ? nullptr : CmdGetPtr(*ids);
        if (item == nullptr) {
            all = false;
            continue;
        }
        item->SetBasic(basic);
    }
    return all;
}

bool VEzaCmdProfile::Serialize(CArchive& ar, bool rethrow) {
    try {
        if (ar.IsStoring()) {
            CString header;
            header.Format("VEza-GUI (v. %s) command profile", VEzaToolkitVersion::GetVersionText());
            ar << header;
            ar << VEzaToolkitVersion::GetVersionDword(false) << VEzaToolkitVersion::GetVersionDword(true);
            for (int i = 0; i < 4; ++i) ar << DWORD(0);
            ar << DWORD(m_nTotalUsage);
            POSITION pos = m_cmds.GetStartPosition();
            while (pos != nullptr) {
                UINT id;
                VEzaCmdItem* item;
                m_cmds.GetNextAssoc(pos, id, item);
                if (item->IsUsageSaved()) ar << DWORD(id) << DWORD(item->m_nUsage);
            }
            ar << DWORD(0);
            return true;
        }
        CString header;
        DWORD version, shortVersion, reserved;
        ar >> header >> version >> shortVersion;
        for (int i = 0; i < 4; ++i) ar >> reserved;
        if (shortVersion != VEzaToolkitVersion::GetVersionDword(true)) return false;
        // Read everything before changing anything: a stream cut short leaves
        // the profile as it was.
        DWORD total;
        ar >> total;
        std::vector<std::pair<UINT, UINT>> pairs;
        for (;;) {
            DWORD id, usage;
            ar >> id;
            if (id == 0) break;
            ar >> usage;
            pairs.emplace_back(UINT(id), UINT(usage));
        }
        m_nTotalUsage = total;
        for (const auto& [id, usage] : pairs)
            if (VEzaCmdItem* item = CmdGetPtr(id)) item->m_nUsage = usage;
        return true;
    } catch (CArchiveException* e) {
        if (rethrow) throw;
        e->Delete();
    } catch (CMemoryException* e) {
        if (rethrow) throw;
        e->Delete();
    }
    return false;
}

bool VEzaCmdProfile::SerializeState(LPCSTR regKeyName, LPCSTR appName, bool save, HKEY root, bool throwOnError) {
    const CString path = MakeCommandProfileRegPath(m_sName, regKeyName, appName);
    try {
        CMemFile file(1024);
        if (save) {
            {
                CArchive ar(&file, CArchive::store, 4096);
                if (!Serialize(ar, throwOnError)) return false;
                ar.Flush();
                ar.Close();
            }
            file.SeekToBegin();
            return VEzaRegistryArchiver::Save(file, path, root, throwOnError);
        }
        if (!VEzaRegistryArchiver::Load(file, path, root, throwOnError)) return false;
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load, 4096);
        bool ok = Serialize(ar, throwOnError);
        ar.Close();
        return ok;
    } catch (CException* e) {
        ToolkitLogFailure("SerializeState: %s of profile \"%s\" failed", save ? "saving" : "loading",
                          static_cast<LPCSTR>(m_sName));
        e->Delete();
    }
    return false;
}

void VEzaCmdProfile::OnSysColorChange() {
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        item->OnSysColorChange();
    }
}

void VEzaCmdProfile::OnSettingChange(UINT flags, LPCSTR section) {
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        item->OnSettingChange(flags, section);
    }
}

void VEzaCmdProfile::OnDisplayChange(int bitsPerPixel, int cx, int cy) {
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        item->OnDisplayChange(bitsPerPixel, cx, cy);
    }
}

void VEzaCmdProfile::OnThemeChanged(WPARAM wParam, LPARAM lParam) {
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        item->OnThemeChanged(wParam, lParam);
    }
}

void VEzaCmdProfile::ResetUsageStatistics() {
    POSITION pos = m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_cmds.GetNextAssoc(pos, id, item);
        item->ResetUsageStatistics();
    }
    m_nTotalUsage = 0;
}

void VEzaCmdProfile::AssignFrom(const VEzaCmdProfile& other) {
    if (&other == this) return;
    m_sName = other.m_sName;
    m_nRarelyUsedPercent = other.m_nRarelyUsedPercent;
    m_nTotalUsage = other.m_nTotalUsage;
    m_dwReserved = other.m_dwReserved;
    CmdRemoveAll();
    POSITION pos = other.m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        other.m_cmds.GetNextAssoc(pos, id, item);
        VEzaCmdItem* copy = CreateCmdItem(*item);
        // The usage arithmetic expects an item's owner to be the profile holding it.
        copy->m_pProfile = this;
        m_cmds.SetAt(id, copy);
    }
    for (INT_PTR i = 0; i < other.m_icons.GetSize(); ++i) m_icons.Add(new VEzaCmdIcon(*other.m_icons[i]));
}

VEzaCmdItem* VEzaCmdProfile::CreateCmdItem(const VEzaCmdItem& item) { return new VEzaCmdItem(item); }

#include "commands/registry_archiver.h"

#include <vector>

#include "toolkit/toolkit_log.h"

namespace {

constexpr DWORD kPieceSize = 16;
constexpr DWORD kPiecesPerBlock = 128;

// Keys opened by Save/Load, closed on every way out.
class KeyHolder {
public:
    KeyHolder() = default;
    KeyHolder(const KeyHolder&) = delete;
    KeyHolder& operator=(const KeyHolder&) = delete;
    ~KeyHolder() { Close(); }
    HKEY* Out() {
        Close();
        return &m_key;
    }
    HKEY Get() const { return m_key; }
    void Close() {
        if (m_key != nullptr) ::RegCloseKey(m_key);
        m_key = nullptr;
    }

private:
    HKEY m_key = nullptr;
};

CString BlockName(DWORD piece) {
    CString s;
    s.Format("block_0x%08lX", static_cast<unsigned long>(piece / kPiecesPerBlock));
    return s;
}

CString PieceName(DWORD piece) {
    CString s;
    s.Format("data_0x%08lX", static_cast<unsigned long>(piece));
    return s;
}

bool Fail(bool throwOnError, LPCSTR path, LPCSTR what, LONG error) {
    ToolkitLogFailure("registry archiver: %s failed for \"%s\" (error %ld)", what, path ? path : "", long(error));
    if (throwOnError) AfxThrowUserException();
    return false;
}

}  // namespace

DWORD VEzaToolkitVersion::GetVersionDword(bool shortForm) {
    static const DWORD version = 0x02050200;
    return shortForm ? (version >> 16) : version;
}

CString VEzaToolkitVersion::GetVersionText() {
    DWORD v = GetVersionDword(false);
    CString s;
    s.Format("%d%c%d%c%d%c%d", int((v >> 24) & 0xFF), '.', int((v >> 16) & 0xFF), '.', int((v >> 8) & 0xFF), '.',
             int(v & 0xFF));
    return s;
}

void VEzaRegistryArchiver::Checksum::Update(const BYTE* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        DWORD& lane = m_lanes[m_lane];
        lane = (lane << 4) + data[i];
        DWORD g = lane & 0xF0000000u;
        if (g != 0) lane = lane ^ (g >> 24) ^ g;
        m_lane = (m_lane + 1) & 3;
    }
}

CString VEzaRegistryArchiver::Checksum::GetText() const {
    CString text;
    for (int i = 0; i < 4; ++i) {
        DWORD v = m_lanes[i];
        CString part;
        part.Format("%02X %02X %02X %02X", unsigned((v >> 24) & 0xFF), unsigned((v >> 16) & 0xFF),
                    unsigned((v >> 8) & 0xFF), unsigned(v & 0xFF));
        if (i > 0) text += ' ';
        text += part;
    }
    return text;
}

bool VEzaRegistryArchiver::Save(CFile& stream, LPCSTR path, HKEY root, bool throwOnError) {
    if (path == nullptr || *path == '\0') return Fail(throwOnError, path, "save without a path", 0);
    RegDeleteKeyOrValue(root, path);
    stream.SeekToBegin();
    const ULONGLONG length = stream.GetLength();
    if (length > 0xFFFFFFFFull) return Fail(throwOnError, path, "stream length", 0);

    KeyHolder key;
    LONG rc = ::RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                key.Out(), nullptr);
    if (rc != ERROR_SUCCESS) return Fail(throwOnError, path, "RegCreateKeyEx", rc);
    DWORD size = DWORD(length);
    rc = ::RegSetValueExA(key.Get(), "data_size", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof size);
    if (rc != ERROR_SUCCESS) return Fail(throwOnError, path, "writing data_size", rc);

    Checksum sum;
    KeyHolder block;
    DWORD openBlock = DWORD(-1);
    BYTE piece[kPieceSize];
    for (DWORD n = 0, done = 0; done < size; ++n) {
        UINT want = UINT(size - done < kPieceSize ? size - done : kPieceSize);
        UINT got = stream.Read(piece, want);
        if (got != want) return Fail(throwOnError, path, "reading the stream", 0);
        if (n / kPiecesPerBlock != openBlock) {
            openBlock = n / kPiecesPerBlock;
            rc = ::RegCreateKeyExA(key.Get(), BlockName(n), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   nullptr, block.Out(), nullptr);
            if (rc != ERROR_SUCCESS) return Fail(throwOnError, path, "creating a block key", rc);
        }
        rc = ::RegSetValueExA(block.Get(), PieceName(n), 0, REG_BINARY, piece, got);
        if (rc != ERROR_SUCCESS) return Fail(throwOnError, path, "writing a piece", rc);
        sum.Update(piece, got);
        done += got;
    }
    block.Close();
    if (!RegWriteStringValue(key.Get(), "data_integrity", sum.GetText()))
        return Fail(throwOnError, path, "writing data_integrity", 0);
    CString generator;
    generator.Format("VEza-GUI v. %s registry archiver", VEzaToolkitVersion::GetVersionText());
    if (!RegWriteStringValue(key.Get(), "data_generator", generator))
        return Fail(throwOnError, path, "writing data_generator", 0);
    return true;
}

bool VEzaRegistryArchiver::Load(CFile& stream, LPCSTR path, HKEY root, bool throwOnError) {
    if (path == nullptr || *path == '\0') return Fail(throwOnError, path, "load without a path", 0);
    KeyHolder key;
    LONG rc = ::RegOpenKeyExA(root, path, 0, KEY_READ, key.Out());
    if (rc != ERROR_SUCCESS) return Fail(throwOnError, path, "RegOpenKeyEx", rc);
    DWORD type = 0, size = 0, cb = sizeof size;
    rc = ::RegQueryValueExA(key.Get(), "data_size", nullptr, &type, reinterpret_cast<BYTE*>(&size), &cb);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || cb != sizeof size)
        return Fail(throwOnError, path, "reading data_size", rc);
    if (size == 0) return true;

    Checksum sum;
    BYTE piece[kPieceSize];
    for (DWORD n = 0, done = 0; done < size; ++n) {
        DWORD expected = size - done < kPieceSize ? size - done : kPieceSize;
        DWORD got = expected;
        if (!RegReadBinaryValue(key.Get(), BlockName(n), PieceName(n), piece, &got))
            return Fail(throwOnError, path, "reading a piece", 0);
        sum.Update(piece, got);
        stream.Write(piece, got);
        done += got;
        // A stored piece of no bytes would never reach the size.
        if (got == 0) return Fail(throwOnError, path, "an empty piece", 0);
    }
    char text[64] = {};
    if (!RegReadStringValue(key.Get(), nullptr, "data_integrity", text, sizeof text) ||
        sum.GetText().Compare(text) != 0)
        return Fail(throwOnError, path, "the checksum", 0);
    stream.SeekToBegin();
    return true;
}

void MakeProfileRegPath(CString& path, LPCSTR section, LPCSTR profileName, LPCSTR regKeyName, LPCSTR appName) {
    auto s = [](LPCSTR p) { return p ? p : ""; };
    path.Format("Software\\%s\\%s\\%s\\%s\\%s\\%s", s(regKeyName), s(appName), "ZiruZOV252", "Profiles",
                s(profileName), s(section));
    for (char c : {'\r', '\t', '\n', '?', '*'}) path.Replace(c, '_');
}

CString MakeCommandProfileRegPath(LPCSTR profileName, LPCSTR regKeyName, LPCSTR appName) {
    CString path;
    MakeProfileRegPath(path, "CommandManager", profileName, regKeyName, appName);
    return path;
}

bool RegDeleteKeyRecursive(HKEY key) {
    DWORD count = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    for (DWORD i = count; i-- > 0;) {
        char name[256];
        DWORD len = sizeof name;
        if (::RegEnumKeyExA(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return false;
        HKEY sub = nullptr;
        if (::RegOpenKeyExA(key, name, 0, KEY_ALL_ACCESS, &sub) != ERROR_SUCCESS) return false;
        bool ok = RegDeleteKeyRecursive(sub);
        ::RegCloseKey(sub);
        if (!ok || ::RegDeleteKeyA(key, name) != ERROR_SUCCESS) return false;
    }
    return true;
}

bool RegDeleteKeyOrValue(HKEY root, LPCSTR subKey, LPCSTR valueName) {
    if (valueName != nullptr) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(root, subKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
        bool ok = ::RegDeleteValueA(key, valueName) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        return ok;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    bool ok = RegDeleteKeyRecursive(key);
    ::RegCloseKey(key);
    return ok && ::RegDeleteKeyA(root, subKey) == ERROR_SUCCESS;
}

namespace {

bool ReadValue(HKEY key, LPCSTR subKey, LPCSTR valueName, DWORD* type, BYTE* buf, DWORD* size) {
    HKEY opened = nullptr;
    if (subKey != nullptr && *subKey != '\0') {
        if (::RegOpenKeyExA(key, subKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
        key = opened;
    }
    LONG rc = ::RegQueryValueExA(key, valueName, nullptr, type, buf, size);
    if (opened != nullptr) ::RegCloseKey(opened);
    return rc == ERROR_SUCCESS;
}

}  // namespace

bool RegReadStringValue(HKEY key, LPCSTR subKey, LPCSTR valueName, char* buf, DWORD bufSize) {
    if (buf == nullptr || bufSize == 0) return false;
    DWORD type = 0, size = bufSize - 1;
    std::vector<BYTE> tmp(bufSize);
    if (!ReadValue(key, subKey, valueName, &type, tmp.data(), &size)) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_LINK && type != REG_MULTI_SZ) return false;
    if (size > bufSize - 1) return false;
    memcpy(buf, tmp.data(), size);
    buf[size] = '\0';
    return true;
}

bool RegReadBinaryValue(HKEY key, LPCSTR subKey, LPCSTR valueName, BYTE* buf, DWORD* size) {
    DWORD type = 0;
    if (!ReadValue(key, subKey, valueName, &type, buf, size)) return false;
    return type == REG_BINARY;
}

bool RegWriteStringValue(HKEY key, LPCSTR valueName, LPCSTR text) {
    return ::RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                            DWORD(strlen(text) + 1)) == ERROR_SUCCESS;
}

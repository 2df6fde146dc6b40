// The registry archiver and the stored command profile against Wine's
// registry: value layout, checksum text, the profile's byte stream, stored
// statistics read back, and damaged data refused with the profile unchanged.
#include <cstring>
#include <string>
#include <vector>

#include "afx.h"
#include "commands/cmd_profile.h"
#include "commands/registry_archiver.h"
#include "wtest.h"

namespace {

const char* const kPath = "Software\\TarvaneTest\\Archiver";

std::vector<BYTE> Bytes(size_t n, int start = 0) {
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = BYTE(start + i);
    return v;
}

CString ChecksumOf(const std::vector<BYTE>& v) {
    VEzaRegistryArchiver::Checksum sum;
    sum.Update(v.data(), v.size());
    return sum.GetText();
}

bool SaveBytes(const std::vector<BYTE>& v, LPCSTR path = kPath) {
    CMemFile file;
    if (!v.empty()) file.Write(v.data(), UINT(v.size()));
    return VEzaRegistryArchiver::Save(file, path);
}

bool LoadBytes(std::vector<BYTE>& out, LPCSTR path = kPath) {
    CMemFile file;
    if (!VEzaRegistryArchiver::Load(file, path)) return false;
    out.assign(size_t(file.GetLength()), 0);
    if (!out.empty()) file.Read(out.data(), UINT(out.size()));
    return true;
}

// A value under kPath (subkey may be empty): its type and bytes; type 0 when missing.
struct Value {
    DWORD type = 0;
    std::vector<BYTE> data;
};

Value ReadValue(const std::string& subKey, LPCSTR name) {
    Value v;
    std::string path = std::string(kPath) + (subKey.empty() ? "" : "\\" + subKey);
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
    BYTE buf[256];
    DWORD size = sizeof buf, type = 0;
    if (::RegQueryValueExA(key, name, nullptr, &type, buf, &size) == ERROR_SUCCESS) {
        v.type = type;
        v.data.assign(buf, buf + size);
    }
    ::RegCloseKey(key);
    return v;
}

void WriteValue(const std::string& subKey, LPCSTR name, DWORD type, const void* data, DWORD size) {
    std::string path = std::string(kPath) + (subKey.empty() ? "" : "\\" + subKey);
    HKEY key = nullptr;
    WCHECK(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                             nullptr) == ERROR_SUCCESS);
    WCHECK(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS);
    ::RegCloseKey(key);
}

}  // namespace

WTEST(checksum_text_of_known_streams) {
    WCHECK_EQ(ChecksumOf({}), CString("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
    WCHECK_EQ(ChecksumOf(Bytes(33)), CString("08 D1 59 A0 05 9E 26 BD 06 AF 37 9E 07 C0 48 FF"));
    WCHECK_EQ(ChecksumOf(std::vector<BYTE>(64, 0xFF)), CString("00 10 FF EF 00 10 FF EF 00 10 FF EF 00 10 FF EF"));
    WCHECK_EQ(ChecksumOf(Bytes(33)).GetLength(), 47);
}

WTEST(save_cuts_the_stream_into_16_byte_values) {
    const std::vector<BYTE> data = Bytes(33);
    WCHECK(SaveBytes(data));
    Value size = ReadValue("", "data_size");
    WCHECK_EQ(size.type, DWORD(REG_DWORD));
    WCHECK(size.data.size() == 4 && size.data[0] == 33 && size.data[1] == 0);
    const char* names[] = {"data_0x00000000", "data_0x00000001", "data_0x00000002"};
    for (int i = 0; i < 3; ++i) {
        Value piece = ReadValue("block_0x00000000", names[i]);
        WCHECK_EQ(piece.type, DWORD(REG_BINARY));
        WCHECK_EQ(piece.data.size(), size_t(i < 2 ? 16 : 1));
        WCHECK(std::equal(piece.data.begin(), piece.data.end(), data.begin() + 16 * i));
    }
    WCHECK_EQ(ReadValue("block_0x00000000", "data_0x00000003").type, DWORD(0));
    Value integrity = ReadValue("", "data_integrity");
    WCHECK_EQ(integrity.type, DWORD(REG_SZ));
    WCHECK_EQ(CString(reinterpret_cast<const char*>(integrity.data.data())),
              CString("08 D1 59 A0 05 9E 26 BD 06 AF 37 9E 07 C0 48 FF"));
    Value generator = ReadValue("", "data_generator");
    WCHECK_EQ(CString(reinterpret_cast<const char*>(generator.data.data())),
              CString("VEza-GUI v. 2.5.2.0 registry archiver"));

    std::vector<BYTE> back;
    WCHECK(LoadBytes(back));
    WCHECK(back == data);
}

WTEST(piece_128_lies_in_the_second_block_and_names_keep_counting) {
    const std::vector<BYTE> data = Bytes(16 * 129 + 5);
    WCHECK(SaveBytes(data));
    WCHECK_EQ(ReadValue("block_0x00000000", "data_0x0000007F").data.size(), size_t(16));
    WCHECK_EQ(ReadValue("block_0x00000000", "data_0x00000080").type, DWORD(0));
    WCHECK_EQ(ReadValue("block_0x00000001", "data_0x00000080").data.size(), size_t(16));
    WCHECK_EQ(ReadValue("block_0x00000001", "data_0x00000081").data.size(), size_t(5));
    std::vector<BYTE> back;
    WCHECK(LoadBytes(back));
    WCHECK(back == data);
    // A later, shorter save replaces the whole key.
    WCHECK(SaveBytes(Bytes(3)));
    WCHECK_EQ(ReadValue("block_0x00000001", "data_0x00000080").type, DWORD(0));
}

WTEST(an_empty_stream_stores_size_0_and_loads_without_blocks) {
    WCHECK(SaveBytes({}));
    WCHECK(ReadValue("", "data_size").data == std::vector<BYTE>({0, 0, 0, 0}));
    WCHECK_EQ(CString(reinterpret_cast<const char*>(ReadValue("", "data_integrity").data.data())),
              CString("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"));
    std::vector<BYTE> back{1};
    WCHECK(LoadBytes(back));
    WCHECK(back.empty());
}

namespace {
const DWORD kBigSize = 34;
const BYTE kSeventeen[17] = {};
const BYTE kOne = 1;
}  // namespace

WTEST(damaged_stores_are_refused) {
    struct Case {
        const char* what;
        void (*damage)();
    } cases[] = {
        {"checksum in lower case",
         [] { WriteValue("", "data_integrity", REG_SZ, "08 d1 59 a0 05 9e 26 bd 06 af 37 9e 07 c0 48 ff", 48); }},
        {"a piece changed", [] {
             const BYTE b = 99;
             WriteValue("block_0x00000000", "data_0x00000002", REG_BINARY, &b, 1);
         }},
        {"a piece missing", [] { ::RegDeleteKeyValueA(HKEY_CURRENT_USER, (std::string(kPath) + "\\block_0x00000000").c_str(), "data_0x00000001"); }},
        {"a piece of the wrong type", [] { WriteValue("block_0x00000000", "data_0x00000000", REG_SZ, "x", 2); }},
        {"size past the stored pieces", [] { WriteValue("", "data_size", REG_DWORD, &kBigSize, 4); }},
        {"size of the wrong type", [] { WriteValue("", "data_size", REG_BINARY, "\x21\0\0\0", 4); }},
        {"a piece too long", [] { WriteValue("block_0x00000000", "data_0x00000002", REG_BINARY, kSeventeen, 17); }},
        {"an empty piece", [] { WriteValue("block_0x00000000", "data_0x00000002", REG_BINARY, &kOne, 0); }},
        {"no checksum", [] { ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kPath, "data_integrity"); }},
    };
    for (const Case& c : cases) {
        WCHECK(SaveBytes(Bytes(33)));
        c.damage();
        std::vector<BYTE> back;
        if (LoadBytes(back)) wtest::fail(__FILE__, __LINE__, std::string("loaded despite ") + c.what);
        CMemFile file;
        WCHECK_THROWS(VEzaRegistryArchiver::Load(file, kPath, HKEY_CURRENT_USER, true), CUserException*);
    }
    std::vector<BYTE> none;
    WCHECK(!LoadBytes(none, "Software\\TarvaneTest\\Nothing"));
}

WTEST(profile_paths_turn_control_characters_and_wildcards_into_underscores) {
    CString path;
    MakeProfileRegPath(path, "Sec", "a*b?c\td\re\nf", "Key", "App");
    WCHECK_EQ(path, CString("Software\\Key\\App\\ZiruZOV252\\Profiles\\a_b_c_d_e_f\\Sec"));
    WCHECK_EQ(MakeCommandProfileRegPath("P", "K*", "A"), CString("Software\\K_\\A\\ZiruZOV252\\Profiles\\P\\CommandManager"));
    WCHECK_EQ(VEzaToolkitVersion::GetVersionText(), CString("2.5.2.0"));
    WCHECK_EQ(VEzaToolkitVersion::GetVersionDword(true), DWORD(0x205));
}

namespace {

std::vector<BYTE> Stored(VEzaCmdProfile& profile) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        WCHECK(profile.Serialize(ar));
        ar.Close();
    }
    std::vector<BYTE> out(size_t(file.GetLength()));
    file.SeekToBegin();
    file.Read(out.data(), UINT(out.size()));
    return out;
}

bool LoadFrom(VEzaCmdProfile& profile, const std::vector<BYTE>& bytes) {
    CMemFile file;
    file.Write(bytes.data(), UINT(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    return profile.Serialize(ar);
}

void Put32(std::vector<BYTE>& v, DWORD d) {
    for (int i = 0; i < 4; ++i) v.push_back(BYTE(d >> (8 * i)));
}

}  // namespace

WTEST(profile_stream_layout) {
    VEzaCmdProfile profile("layout");
    profile.CmdSetup(VEzaCmdItem(0x100));  // usage 0: not saved
    profile.CmdSetup(VEzaCmdItem(0x101));
    profile.CmdSetup(VEzaCmdItem(0xF060));  // system command: not saved
    profile.CmdSetup(VEzaCmdItem(0x102));
    profile.CmdGetPtr(0x101)->m_nUsage = 7;
    profile.CmdGetPtr(0x102)->m_nUsage = 5;
    profile.CmdGetPtr(0x102)->SetFlagBit6(true);  // flagged: not saved
    profile.CmdGetPtr(0xF060)->m_nUsage = 3;
    profile.m_nTotalUsage = 15;

    std::vector<BYTE> expected;
    const char* header = "VEza-GUI (v. 2.5.2.0) command profile";
    expected.push_back(37);
    expected.insert(expected.end(), header, header + 37);
    Put32(expected, 0x02050200);
    Put32(expected, 0x00000205);
    for (int i = 0; i < 4; ++i) Put32(expected, 0);
    Put32(expected, 15);
    Put32(expected, 0x101);
    Put32(expected, 7);
    Put32(expected, 0);
    WCHECK(Stored(profile) == expected);
}

WTEST(stored_profile_reads_back_equal) {
    VEzaCmdProfile profile("Round*trip");
    for (UINT id = 1; id <= 300; ++id) {
        profile.CmdSetup(VEzaCmdItem(id));
        profile.CmdGetPtr(id)->m_nUsage = id * 3;
        profile.m_nTotalUsage += id * 3;
    }
    WCHECK(profile.SerializeState("TarvaneTest", "Toolkit", true));
    const UINT total = profile.m_nTotalUsage;
    profile.ResetUsageStatistics();
    profile.CmdSetup(VEzaCmdItem(301));
    WCHECK(profile.SerializeState("TarvaneTest", "Toolkit", false));
    WCHECK_EQ(profile.m_nTotalUsage, total);
    for (UINT id = 1; id <= 300; ++id) WCHECK_EQ(profile.CmdGetPtr(id)->m_nUsage, id * 3);
    WCHECK_EQ(profile.CmdGetPtr(301)->m_nUsage, UINT(0));

    // Stored under the sanitised name.
    HKEY key = nullptr;
    WCHECK(::RegOpenKeyExA(HKEY_CURRENT_USER,
                           "Software\\TarvaneTest\\Toolkit\\ZiruZOV252\\Profiles\\Round_trip\\CommandManager", 0,
                           KEY_READ, &key) == ERROR_SUCCESS);
    if (key) ::RegCloseKey(key);
}

WTEST(damaged_profile_data_leaves_the_profile_as_it_was) {
    VEzaCmdProfile profile("damaged");
    profile.CmdSetup(VEzaCmdItem(1));
    profile.CmdSetup(VEzaCmdItem(2));
    profile.CmdGetPtr(1)->m_nUsage = 4;
    profile.CmdGetPtr(2)->m_nUsage = 6;
    profile.m_nTotalUsage = 10;
    const std::vector<BYTE> good = Stored(profile);

    auto check_unchanged = [&](const char* what) {
        if (profile.m_nTotalUsage != 10 || profile.CmdGetPtr(1)->m_nUsage != 4 || profile.CmdGetPtr(2)->m_nUsage != 6)
            wtest::fail(__FILE__, __LINE__, std::string("profile changed by ") + what);
    };
    VEzaCmdProfile other("damaged");
    other.CmdSetup(VEzaCmdItem(1));
    other.CmdSetup(VEzaCmdItem(2));
    other.CmdGetPtr(1)->m_nUsage = 90;
    other.m_nTotalUsage = 90;
    std::vector<BYTE> stream = Stored(other);

    // Cut inside the pairs: the stream ends before its 0 mark.
    std::vector<BYTE> cut(stream.begin(), stream.end() - 6);
    WCHECK(!LoadFrom(profile, cut));
    check_unchanged("a stream cut short");
    {
        CMemFile file;
        file.Write(cut.data(), UINT(cut.size()));
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        WCHECK_THROWS(profile.Serialize(ar, true), CArchiveException*);
    }
    check_unchanged("a stream cut short, rethrown");

    // Another short version.
    std::vector<BYTE> version = stream;
    version[38 + 4] = 0x06;
    WCHECK(!LoadFrom(profile, version));
    check_unchanged("another version");

    // Registry data with a bad checksum.
    WCHECK(other.SerializeState("TarvaneTest", "Damaged", true));
    const char* path = "Software\\TarvaneTest\\Damaged\\ZiruZOV252\\Profiles\\damaged\\CommandManager";
    HKEY key = nullptr;
    WCHECK(::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS);
    ::RegSetValueExA(key, "data_integrity", 0, REG_SZ, reinterpret_cast<const BYTE*>("00"), 3);
    ::RegCloseKey(key);
    WCHECK(!profile.SerializeState("TarvaneTest", "Damaged", false));
    WCHECK(!profile.SerializeState("TarvaneTest", "Damaged", false, HKEY_CURRENT_USER, true));
    check_unchanged("a bad checksum");

    // A whole stream of the right checksum whose content is cut short.
    CMemFile file;
    file.Write(cut.data(), UINT(cut.size()));
    WCHECK(VEzaRegistryArchiver::Save(file, path));
    WCHECK(!profile.SerializeState("TarvaneTest", "Damaged", false));
    check_unchanged("a stored stream cut short");

    WCHECK(LoadFrom(profile, good));
    WCHECK(LoadFrom(profile, stream));
    WCHECK_EQ(profile.m_nTotalUsage, UINT(90));
    WCHECK_EQ(profile.CmdGetPtr(1)->m_nUsage, UINT(90));
}

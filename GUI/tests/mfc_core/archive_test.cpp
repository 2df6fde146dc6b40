// Archive byte layouts: integers, string length prefixes, class and object
// records; memory files; archive errors.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "afx.h"
#include "core_check.h"
#include "core_peer.h"
#include "wtest.h"

namespace {

using Bytes = std::vector<BYTE>;

// Stores through an archive into a memory file and returns the bytes.
template <class F>
Bytes Stored(F store) {
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        store(ar);
        ar.Close();
    }
    Bytes out(size_t(file.GetLength()));
    file.SeekToBegin();
    file.Read(out.data(), UINT(out.size()));
    return out;
}

std::string Hex(const Bytes& b, size_t max = 24) {
    std::string s;
    char t[4];
    for (size_t i = 0; i < b.size() && i < max; ++i) {
        wsprintfA(t, "%02X ", b[i]);
        s += t;
    }
    return s;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes r;
    for (const Bytes& p : parts) r.insert(r.end(), p.begin(), p.end());
    return r;
}

Bytes Text(const char* s) { return Bytes(s, s + std::strlen(s)); }

// A new-class record naming a class, with a stored schema.
Bytes ClassRecord(WORD schema, const char* name) {
    return Concat({{0xFF, 0xFF, BYTE(schema), BYTE(schema >> 8), BYTE(std::strlen(name)), 0x00}, Text(name)});
}

}  // namespace

WTEST(integers_are_little_endian_and_unpadded) {
    const Bytes got = Stored([](CArchive& ar) {
        ar << BYTE(0xAB) << WORD(0x1234) << LONG(-2) << DWORD(0x89ABCDEF) << int(0x01020304) << char('z');
    });
    const Bytes want = {0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD,
                        0xAB, 0x89, 0x04, 0x03, 0x02, 0x01, 'z'};
    WCHECK_EQ(Hex(got), Hex(want));
    WCHECK_EQ(got.size(), want.size());

    CMemFile file(const_cast<BYTE*>(got.data()), UINT(got.size()));
    CArchive ar(&file, CArchive::load);
    BYTE b; WORD w; LONG l; DWORD d; int i; char c;
    ar >> b >> w >> l >> d >> i >> c;
    WCHECK(b == 0xAB && w == 0x1234 && l == -2 && d == 0x89ABCDEF && i == 0x01020304 && c == 'z');
}

WTEST(string_length_prefix_forms) {
    struct Case {
        DWORD length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {37, {0x25}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0x10001, {0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        CString s('q', int(c.length));
        const Bytes got = Stored([&](CArchive& ar) { ar << s; });
        WCHECK_EQ(got.size(), c.prefix.size() + c.length);  // no terminator
        WCHECK_EQ(Hex(Bytes(got.begin(), got.begin() + std::min(got.size(), c.prefix.size()))), Hex(c.prefix));
        CMemFile file(const_cast<BYTE*>(got.data()), UINT(got.size()));
        CArchive ar(&file, CArchive::load);
        CString back;
        ar >> back;
        WCHECK(back == s);
    }
}

WTEST(utf16_strings_load_as_ansi) {
    // 0xFF 0xFFFE marks UTF-16; the prefix that follows counts units.
    const Bytes data = {0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 0xE9, 0, 'z', 0, 0x02, 'o', 'k'};
    CMemFile file(const_cast<BYTE*>(data.data()), UINT(data.size()));
    CArchive ar(&file, CArchive::load);
    CString wide, narrow;
    ar >> wide >> narrow;
    WCHECK_EQ(std::string(wide), std::string("a\xE9z"));
    WCHECK_EQ(std::string(narrow), std::string("ok"));
}

WTEST(reading_past_the_end_throws_end_of_file) {
    const Bytes data = {0x01, 0x02, 0x03, 0x05, 'a', 'b'};
    struct Case {
        const char* what;
        void (*read)(CArchive&);
    };
    const Case cases[] = {
        {"dword", [](CArchive& ar) { DWORD d; ar >> d >> d; }},
        {"word", [](CArchive& ar) { WORD w; ar >> w >> w >> w >> w; }},
        {"string", [](CArchive& ar) { BYTE b; CString s; ar >> b >> b >> b >> s; }},
    };
    for (const Case& c : cases) {
        CMemFile file(const_cast<BYTE*>(data.data()), UINT(data.size()));
        CArchive ar(&file, CArchive::load);
        const Thrown t = ThrownBy([&] { c.read(ar); });
        WCHECK(t.kind == RUNTIME_CLASS(CArchiveException));
        WCHECK_EQ(t.cause, int(CArchiveException::endOfFile));
    }
    // Read() itself answers short at the end.
    CMemFile file(const_cast<BYTE*>(data.data()), UINT(data.size()));
    CArchive ar(&file, CArchive::load);
    BYTE buf[16];
    WCHECK_EQ(ar.Read(buf, 16), 6u);
    WCHECK_EQ(ar.Read(buf, 16), 0u);
}

WTEST(wrong_direction_throws_with_the_file_name) {
    const Bytes data = {1, 2, 3, 4};
    CMemFile file(const_cast<BYTE*>(data.data()), UINT(data.size()));
    CArchive ar(&file, CArchive::load);
    ar.m_strFileName = "C:\\tree.dat";
    const Thrown t = ThrownBy([&] { ar << DWORD(1); });
    WCHECK(t.kind == RUNTIME_CLASS(CArchiveException));
    WCHECK_EQ(t.cause, int(CArchiveException::readOnly));
    WCHECK_EQ(std::string(t.fileName), std::string("C:\\tree.dat"));
    CPeerNode node;
    WCHECK_EQ(ThrownBy([&] { ar.WriteClass(RUNTIME_CLASS(CPeerNode)); }).cause, int(CArchiveException::readOnly));

    CMemFile out;
    CArchive st(&out, CArchive::store);
    WCHECK_EQ(ThrownBy([&] { DWORD d; st >> d; }).cause, int(CArchiveException::writeOnly));
    st.Abort();
}

WTEST(class_and_object_records) {
    CPeerNode a, b;
    a.m_nValue = 7;
    a.m_strName = "A";
    b.m_nValue = 8;
    b.m_strName = "B";
    CPeerLeaf leaf;
    const Bytes got = Stored([&](CArchive& ar) {
        ar << &a;              // new class (index 1), object 2
        ar << &b;              // class 1 again, object 3
        ar << &a;              // object 2 again
        ar << (CObject*)nullptr;
        ar.WriteClass(RUNTIME_CLASS(CPeerLeaf));  // new class, index 4
        ar.WriteClass(RUNTIME_CLASS(CPeerNode));  // class 1
    });
    const Bytes want = Concat({
        {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00}, Text("CPeerNode"), {7, 0, 0, 0, 1, 'A'},
        {0x01, 0x80}, {8, 0, 0, 0, 1, 'B'},
        {0x02, 0x00},
        {0x00, 0x00},
        {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00}, Text("CPeerLeaf"),
        {0x01, 0x80},
    });
    WCHECK_EQ(Hex(got, 200), Hex(want, 200));

    CMemFile file(const_cast<BYTE*>(got.data()), UINT(got.size()));
    CArchive ar(&file, CArchive::load);
    CObject *p1 = nullptr, *p2 = nullptr, *p3 = nullptr, *p4 = nullptr;
    ar >> p1 >> p2 >> p3 >> p4;
    std::unique_ptr<CObject> o1(p1), o2(p2);
    WCHECK(p1 != nullptr && p1->GetRuntimeClass() == RUNTIME_CLASS(CPeerNode));
    WCHECK(p3 == p1);
    WCHECK(p4 == nullptr);
    auto* n2 = DYNAMIC_DOWNCAST(CPeerNode, p2);
    WCHECK(n2 != nullptr && n2->m_nValue == 8 && n2->m_strName == "B");
    UINT schema = 0;
    WCHECK(ar.ReadClass(RUNTIME_CLASS(CPeerNode), &schema) == RUNTIME_CLASS(CPeerLeaf));
    WCHECK_EQ(schema, 1u);
    WCHECK(ar.ReadClass(RUNTIME_CLASS(CObject)) == RUNTIME_CLASS(CPeerNode));
}

WTEST(loading_checks_the_class_before_creating) {
    CPeerNode node;
    const Bytes stored = Stored([&](CArchive& ar) { ar << &node; });
    struct Case {
        Bytes data;
        const char* required;
        int cause;  // -1: loads
    };
    Bytes unknown = stored;
    unknown[6] = 'X';  // "XPeerNode" is no class
    Bytes wrongSchema = stored;
    wrongSchema[2] = 2;
    const Case cases[] = {
        {stored, "CPeerNode", -1},
        {stored, "CObject", -1},
        {stored, "CPeerLeaf", CArchiveException::badClass},  // a base where a leaf is required
        {stored, "CStringArray", CArchiveException::badClass},
        {unknown, nullptr, CArchiveException::badClass},
        {wrongSchema, nullptr, CArchiveException::badSchema},
        {{0x05, 0x80}, nullptr, CArchiveException::badIndex},  // class 5 never stored
        {{0x03, 0x00}, nullptr, CArchiveException::badIndex},  // object 3 never stored
        // Creatable, but not serialisable: never made from stored bytes, whatever the schema.
        {ClassRecord(0xFFFF, "CMenu"), nullptr, CArchiveException::badClass},
        {ClassRecord(0, "CDC"), "CObject", CArchiveException::badClass},
        {ClassRecord(1, "CWnd"), nullptr, CArchiveException::badClass},
    };
    for (const Case& c : cases) {
        CObject* p = nullptr;
        const Thrown t = ThrownBy([&] { p = PeerLoadObject(c.data.data(), UINT(c.data.size()), c.required); });
        std::unique_ptr<CObject> owned(p);
        WCHECK_EQ(t.cause, c.cause);
        WCHECK_EQ(p != nullptr, c.cause == -1);
    }
    // Nor does a bare class record of one load.
    const Bytes menu = ClassRecord(0xFFFF, "CMenu");
    CMemFile file(const_cast<BYTE*>(menu.data()), UINT(menu.size()));
    CArchive ar(&file, CArchive::load);
    WCHECK_EQ(ThrownBy([&] { ar.ReadClass(nullptr); }).cause, int(CArchiveException::badClass));
    // A class that is not serialisable cannot be written.
    WCHECK(ThrownBy([] {
               Stored([](CArchive& ar) { ar.WriteClass(RUNTIME_CLASS(CMapStringToPtr)); });
           }).kind == RUNTIME_CLASS(CNotSupportedException));
}

WTEST(a_failed_load_forgets_only_the_failed_object) {
    // An array whose second element names no class: the array fails after its first
    // element loaded; then references to the array and to that element follow.
    const Bytes data = Concat({
        ClassRecord(0, "CObArray"), {0x02, 0x00},                   // class 1, object 2
        ClassRecord(1, "CPeerNode"), {7, 0, 0, 0, 1, 'A'},          // class 3, object 4
        ClassRecord(1, "XPeerNode"),
        {0x02, 0x00},
        {0x04, 0x00},
    });
    CMemFile file(const_cast<BYTE*>(data.data()), UINT(data.size()));
    CArchive ar(&file, CArchive::load);
    CObject* p = nullptr;
    WCHECK_EQ(ThrownBy([&] { ar >> p; }).cause, int(CArchiveException::badClass));
    WCHECK(p == nullptr);
    // The array was deleted: no reference to it loads.
    WCHECK_EQ(ThrownBy([&] { ar >> p; }).cause, int(CArchiveException::badIndex));
    // The element it had loaded is whole and still known.
    CObject* element = nullptr;
    WCHECK_EQ(ThrownBy([&] { ar >> element; }).cause, -1);
    std::unique_ptr<CObject> owned(element);
    auto* node = DYNAMIC_DOWNCAST(CPeerNode, element);
    WCHECK(node != nullptr && node->m_nValue == 7 && node->m_strName == "A");
}

WTEST(collections_store_through_the_archive) {
    CStringArray arr;
    arr.Add("one");
    arr.Add(CString('x', 300));
    const Bytes got = Stored([&](CArchive& ar) { arr.Serialize(ar); });
    WCHECK_EQ(Hex(Bytes(got.begin(), got.begin() + 6)), Hex(Concat({{0x02, 0x00, 0x03}, Text("one")})));
    CMemFile file(const_cast<BYTE*>(got.data()), UINT(got.size()));
    CArchive ar(&file, CArchive::load);
    CStringArray back;
    back.Serialize(ar);
    WCHECK(back.GetSize() == 2 && back[0] == "one" && back[1] == arr[1]);
}

WTEST(memory_files_grow_or_refuse) {
    CMemFile grow(1024);
    BYTE chunk[1500] = {};
    chunk[1499] = 9;
    grow.Write(chunk, sizeof(chunk));
    WCHECK_EQ(grow.GetLength(), ULONGLONG(1500));
    grow.Seek(-1, CFile::end);
    BYTE last = 0;
    WCHECK_EQ(grow.Read(&last, 1), 1u);
    WCHECK_EQ(last, BYTE(9));
    BYTE* owned = grow.Detach();
    WCHECK(owned != nullptr && owned[1499] == 9);
    WCHECK_EQ(grow.GetLength(), ULONGLONG(0));
    free(owned);

    // A fixed buffer (e.g. resource bytes) reads as a whole and never grows.
    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile ro;
    ro.Attach(fixed, sizeof(fixed), 0);
    WCHECK_EQ(ro.GetLength(), ULONGLONG(4));
    BYTE two[2];
    WCHECK_EQ(ro.Read(two, 2), 2u);
    WCHECK(two[0] == 1 && two[1] == 2);
    ro.SeekToEnd();
    WCHECK(ThrownBy([&] { ro.Write(two, 1); }).kind == RUNTIME_CLASS(CMemoryException));
    WCHECK(ro.Detach() == fixed);
}

WTEST(files_on_disk_round_trip) {
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "arc", 0, path);
    {
        CFile f(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&f, CArchive::store);
        ar << CString("disk") << DWORD(42);
    }
    CFile f;
    WCHECK(f.Open(path, CFile::modeRead));
    WCHECK_EQ(f.GetLength(), ULONGLONG(9));
    CArchive ar(&f, CArchive::load);
    CString s;
    DWORD d = 0;
    ar >> s >> d;
    WCHECK(s == "disk" && d == 42);
    ar.Close();
    f.Close();
    DeleteFileA(path);
    CFileException e;
    CFile missing;
    WCHECK(!missing.Open(path, CFile::modeRead, &e));
    WCHECK_EQ(e.m_cause, int(CFileException::fileNotFound));
}

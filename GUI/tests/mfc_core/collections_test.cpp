// Collections: array bounds and relocation, lists, map lookup and iteration
// order, typed pointer wrappers.
#include <string>
#include <vector>

#include "afx.h"
#include "core_check.h"
#include "wtest.h"

namespace {

std::string Join(const CStringArray& a) {
    std::string s;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) s += std::string(a[i]) + ",";
    return s;
}

bool ThrowsInvalidArg(void (*f)(CStringArray&), CStringArray& a) {
    return ThrownBy([&] { f(a); }).kind == RUNTIME_CLASS(CInvalidArgException);
}

}  // namespace

WTEST(array_index_errors_throw) {
    CStringArray a;
    a.Add("x");
    a.Add("y");
    void (*const bad[])(CStringArray&) = {
        [](CStringArray& x) { (void)x.GetAt(2); },
        [](CStringArray& x) { (void)x.GetAt(-1); },
        [](CStringArray& x) { x.SetAt(2, "z"); },
        [](CStringArray& x) { (void)x.ElementAt(5); },
        [](CStringArray& x) { (void)x[2]; },
        [](CStringArray& x) { x.RemoveAt(2); },
        [](CStringArray& x) { x.RemoveAt(1, 2); },
    };
    for (auto f : bad) WCHECK(ThrowsInvalidArg(f, a));
    WCHECK_EQ(Join(a), "x,y,");  // nothing changed by the failed calls
    CPtrArray p;
    WCHECK(ThrownBy([&] { (void)p[0]; }).kind == RUNTIME_CLASS(CInvalidArgException));
}

WTEST(array_insert_remove_and_grow) {
    CStringArray a;
    // Enough elements to move the storage several times: strings survive.
    for (int i = 0; i < 100; ++i) {
        CString s;
        s.Format("item %03d with a long enough text to live on the heap", i);
        a.Add(s);
    }
    WCHECK_EQ(a.GetSize(), INT_PTR(100));
    WCHECK_EQ(std::string(a[57]), "item 057 with a long enough text to live on the heap");
    a.SetSize(3);
    a.InsertAt(0, "head");
    a.InsertAt(2, "mid", 2);
    a.InsertAt(7, "far");  // beyond the end: the gap is empty strings
    WCHECK_EQ(a.GetSize(), INT_PTR(8));
    WCHECK_EQ(std::string(a[0]), "head");
    WCHECK_EQ(std::string(a[2]) + std::string(a[3]), "midmid");
    WCHECK(a[6].IsEmpty());
    WCHECK_EQ(std::string(a[7]), "far");
    a.RemoveAt(1, 5);
    WCHECK_EQ(a.GetSize(), INT_PTR(3));
    WCHECK_EQ(std::string(a[0]) + "|" + std::string(a[2]), "head|far");
    a.SetAtGrow(4, a[0]);  // an element of the array itself
    WCHECK_EQ(std::string(a[4]), "head");
    CStringArray b;
    b.Add("b");
    a.InsertAt(0, &b);
    WCHECK_EQ(std::string(a[0]), "b");
    a.RemoveAll();
    WCHECK(a.IsEmpty() && a.GetUpperBound() == -1);

    CPtrArray rows;  // a dock row opens with a NULL at the head
    int x = 1;
    rows.Add(&x);
    rows.InsertAt(0, (void*)nullptr);
    WCHECK(rows.GetSize() == 2 && rows[0] == nullptr && rows[1] == &x);
}

WTEST(lists_keep_order_and_positions) {
    CStringList l;
    l.AddTail("b");
    POSITION c = l.AddTail("c");
    l.AddHead("a");
    l.InsertAfter(c, "d");
    l.InsertBefore(c, "bb");
    std::string all;
    for (POSITION p = l.GetHeadPosition(); p;) all += std::string(l.GetNext(p));
    WCHECK_EQ(all, "abbbcd");
    std::string back;
    for (POSITION p = l.GetTailPosition(); p;) back += std::string(l.GetPrev(p));
    WCHECK_EQ(back, "dcbbba");
    WCHECK(l.Find("c") == c);
    WCHECK(l.Find("zz") == nullptr);
    WCHECK_EQ(std::string(l.GetAt(l.FindIndex(1))), "b");
    WCHECK(l.FindIndex(6) == nullptr);
    l.RemoveAt(c);
    WCHECK_EQ(std::string(l.RemoveHead()) + std::string(l.RemoveTail()), "ad");
    WCHECK_EQ(l.GetCount(), INT_PTR(2));
    l.AddTail(&l);  // appending a list to itself doubles it once
    WCHECK_EQ(l.GetCount(), INT_PTR(4));
    l.RemoveAll();
    WCHECK(ThrownBy([&] { (void)l.GetHead(); }).kind == RUNTIME_CLASS(CInvalidArgException));

    CTypedPtrList<CPtrList, int*> ints;
    int v1 = 1, v2 = 2;
    ints.AddTail(&v1);
    ints.AddTail(&v2);
    WCHECK(ints.GetHead() == &v1 && *ints.GetTail() == 2);
}

WTEST(maps_look_up_and_remove) {
    CMapStringToPtr m;
    int one = 1, two = 2;
    m.SetAt("one", &one);
    m["two"] = &two;
    m.SetAt("one", &two);  // replaces
    void* p = nullptr;
    WCHECK(m.Lookup("one", p) && p == &two);
    WCHECK(!m.Lookup("ONE", p));  // case-sensitive
    WCHECK_EQ(m.GetCount(), INT_PTR(2));
    WCHECK(m.RemoveKey("one"));
    WCHECK(!m.RemoveKey("one"));
    WCHECK_EQ(m.GetCount(), INT_PTR(1));

    CMapStringToString ss;
    ss["k"] = "v";
    CString v;
    WCHECK(ss.Lookup("k", v) && v == "v");
    ss.RemoveAll();
    WCHECK(ss.IsEmpty() && ss.GetStartPosition() == nullptr);

    CTypedPtrMap<CMapStringToPtr, CString, int*> typed;
    typed.SetAt("x", &one);
    int* got = nullptr;
    WCHECK(typed.Lookup("x", got) && got == &one);
}

WTEST(map_iteration_is_bucket_order_newest_first) {
    // (key >> 4) % 17 picks the bucket: 0x10 and 0x120 share bucket 1,
    // 0x20 is bucket 2, 0x05 bucket 0, 0x110 bucket 0 too.
    CMapWordToPtr m;
    const WORD inserted[] = {0x20, 0x10, 0x05, 0x120, 0x110};
    for (WORD k : inserted) m.SetAt(k, reinterpret_cast<void*>(UINT_PTR(k)));
    WCHECK_EQ(m.GetHashTableSize(), 17u);
    std::vector<WORD> order;
    for (POSITION pos = m.GetStartPosition(); pos;) {
        WORD k;
        void* v;
        m.GetNextAssoc(pos, k, v);
        WCHECK(v == reinterpret_cast<void*>(UINT_PTR(k)));
        order.push_back(k);
    }
    const std::vector<WORD> want = {0x110, 0x05, 0x120, 0x10, 0x20};
    WCHECK(order == want);

    CMapPtrToPtr pp;
    pp.InitHashTable(7);
    WCHECK_EQ(pp.GetHashTableSize(), 7u);
    int cells[3];
    for (int& c : cells) pp[&c] = &c;
    int visited = 0;
    for (POSITION pos = pp.GetStartPosition(); pos;) {
        void *k, *v;
        pp.GetNextAssoc(pos, k, v);
        visited += k == v;
    }
    WCHECK_EQ(visited, 3);
}

WTEST(named_collections_have_runtime_classes) {
    struct Case {
        CObject* object;
        CRuntimeClass* kind;
        bool serialisable;
    };
    CStringArray sa;
    CObArray oa;
    CPtrList pl;
    CMapStringToPtr sp;
    CStringList sl;
    const Case cases[] = {
        {&sa, RUNTIME_CLASS(CStringArray), true}, {&oa, RUNTIME_CLASS(CObArray), true},
        {&pl, RUNTIME_CLASS(CPtrList), false},    {&sp, RUNTIME_CLASS(CMapStringToPtr), false},
        {&sl, RUNTIME_CLASS(CStringList), true},
    };
    for (const Case& c : cases) {
        WCHECK(c.object->GetRuntimeClass() == c.kind);
        WCHECK(c.object->IsKindOf(RUNTIME_CLASS(CObject)));
        WCHECK_EQ(c.object->IsSerializable() != FALSE, c.serialisable);
    }
}

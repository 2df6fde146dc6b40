// CString semantics: value copies, buffers, formatting, searching and
// slicing, trimming, case and comparisons.
#include <string>

#include "afx.h"
#include "core_check.h"
#include "wtest.h"

namespace {
std::string S(const CString& s) { return std::string(s.GetString(), size_t(s.GetLength())); }
}  // namespace

WTEST(copies_are_independent_values) {
    CString a("tree");
    CString b = a;
    b.SetAt(0, 'f');
    b += "s";
    WCHECK_EQ(S(a), "tree");
    WCHECK_EQ(S(b), "frees");
    CString c;
    WCHECK(c.IsEmpty() && c.GetLength() == 0 && S(c) == "");
    CString n((LPCSTR) nullptr);
    WCHECK(n.IsEmpty());
    a = a;  // self-assignment keeps the value
    WCHECK_EQ(S(a), "tree");
    WCHECK_EQ(S(CString(L"wide")), "wide");
    WCHECK(ThrownBy([&] { (void)a.GetAt(4); }).kind == RUNTIME_CLASS(CInvalidArgException));
}

WTEST(buffers_set_the_length) {
    CString s("abc");
    LPSTR p = s.GetBuffer(11);
    WCHECK_EQ(std::string(p), "abc");  // the old text is in the buffer
    lstrcpyA(p, "longer text");
    s.ReleaseBuffer();
    WCHECK_EQ(S(s), "longer text");
    p = s.GetBuffer(5);
    p[2] = '\0';
    s.ReleaseBuffer();
    WCHECK_EQ(S(s), "lo");
    p = s.GetBufferSetLength(4);
    p[2] = 'x';
    p[3] = 'y';
    s.ReleaseBuffer(4);
    WCHECK_EQ(S(s), "loxy");
    s.GetBuffer(8);
    s.ReleaseBuffer(1);
    WCHECK_EQ(S(s), "l");
}

WTEST(format_and_concatenation) {
    CString s;
    s.Format("%s-%d-%05.1f-%c-%x", "a", -12, 3.14159, 'z', 255u);
    WCHECK_EQ(S(s), "a--12-003.1-z-ff");
    s.Format("%s and %s", (LPCSTR)s, "more");  // arguments may come from the string itself
    WCHECK_EQ(S(s), "a--12-003.1-z-ff and more");
    CString name("node");
    CString t;
    t.Format("%s=%d;%s", name, 3, CString("x"));  // CString arguments pass as their text
    WCHECK_EQ(S(t), "node=3;x");
    t.AppendFormat("[%s]", name);
    WCHECK_EQ(S(t), "node=3;x[node]");
    s.AppendFormat(" %u", 7u);
    WCHECK_EQ(S(s).substr(s.GetLength() - 2), " 7");
    CString big;
    big.Format("%s", std::string(5000, 'w').c_str());
    WCHECK_EQ(big.GetLength(), 5000);
    WCHECK_EQ(S(CString("x") + "y" + CString("z") + 'w'), "xyzw");
    WCHECK_EQ(S("pre" + CString("fix")), "prefix");
}

WTEST(search_and_slices) {
    const CString s("alpha.beta.gamma");
    struct Case {
        int got;
        int want;
    };
    const Case finds[] = {
        {s.Find('.'), 5}, {s.Find('.', 6), 10}, {s.Find('q'), -1}, {s.Find("beta"), 6},
        {s.Find("beta", 7), -1}, {s.Find(""), 0}, {s.Find('a', 100), -1}, {s.ReverseFind('.'), 10},
        {s.FindOneOf("gb"), 6}, {s.Find("a", -3), -1},
    };
    for (const Case& c : finds) WCHECK_EQ(c.got, c.want);

    struct Slice {
        CString got;
        const char* want;
    };
    const Slice slices[] = {
        {s.Left(5), "alpha"}, {s.Left(0), ""}, {s.Left(99), "alpha.beta.gamma"}, {s.Left(-1), ""},
        {s.Mid(6, 4), "beta"}, {s.Mid(11), "gamma"}, {s.Mid(99), ""}, {s.Mid(-2, 3), "alp"},
        {s.Mid(14, 10), "ma"}, {s.Right(5), "gamma"}, {s.Right(99), "alpha.beta.gamma"},
        {s.Right(-1), ""}, {s.SpanIncluding("ahlp"), "alpha"}, {s.SpanExcluding("."), "alpha"},
    };
    for (const Slice& c : slices) WCHECK_EQ(S(c.got), std::string(c.want));

    int pos = 0;
    std::string tokens;
    for (CString t = s.Tokenize(".", pos); pos != -1; t = s.Tokenize(".", pos)) tokens += S(t) + "|";
    WCHECK_EQ(tokens, "alpha|beta|gamma|");
}

WTEST(edits_and_trimming) {
    CString s("a-b-c");
    WCHECK_EQ(s.Replace('-', '+'), 2);
    WCHECK_EQ(S(s), "a+b+c");
    WCHECK_EQ(s.Replace("+", "++"), 2);
    WCHECK_EQ(S(s), "a++b++c");
    WCHECK_EQ(s.Remove('+'), 4);
    WCHECK_EQ(S(s), "abc");
    s.Insert(1, "XY");
    s.Insert(99, '!');
    WCHECK_EQ(S(s), "aXYbc!");
    s.Delete(1, 2);
    WCHECK_EQ(S(s), "abc!");

    struct Trim {
        CString got;
        const char* want;
    };
    const Trim trims[] = {
        {CString(" \t\n x y \r\n").Trim(), "x y"},
        {CString("  x ").TrimLeft(), "x "},
        {CString("  x ").TrimRight(), "  x"},
        {CString("xxaxx").Trim('x'), "a"},
        {CString("\n...menu").TrimLeft(" "), "\n...menu"},  // blanks only: newline kept
        {CString("-=a=-").Trim("-="), "a"},
        {CString("   ").Trim(), ""},
    };
    for (const Trim& t : trims) WCHECK_EQ(S(t.got), std::string(t.want));
}

WTEST(case_and_comparisons) {
    // Pinned to the ANSI code page 1252: accented letters fold too.
    WCHECK_EQ(GetACP(), 1252u);
    CString s("Mixed \xC9t\xE9 42");
    s.MakeUpper();
    WCHECK_EQ(S(s), "MIXED \xC9T\xC9 42");
    s.MakeLower();
    WCHECK_EQ(S(s), "mixed \xE9t\xE9 42");
    WCHECK_EQ(S(CString("abc").MakeReverse()), "cba");

    struct Cmp {
        const char* a;
        const char* b;
        int compare;
        int noCase;
    };
    const Cmp cases[] = {
        {"abc", "abc", 0, 0},      {"abc", "ABC", 1, 0},   {"abc", "abd", -1, -1},
        {"ab", "abc", -1, -1},     {"", "", 0, 0},         {"\xE9", "\xC9", 1, 0},
        {"\xE9", "z", 1, 1},       {"Z", "a", -1, 1},
    };
    for (const Cmp& c : cases) {
        WCHECK_EQ(CString(c.a).Compare(c.b), c.compare);
        WCHECK_EQ(CString(c.a).CompareNoCase(c.b), c.noCase);
        WCHECK_EQ(CString(c.a) == c.b, c.compare == 0);
        WCHECK_EQ(CString(c.a) < CString(c.b), c.compare < 0);
        WCHECK_EQ(c.a != CString(c.b), c.compare != 0);
    }
}

#include "afx_string.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "afx_exceptions.h"
#include "afx_module_state.h"

namespace {

const char kWhitespace[] = " \t\r\n\v\f";

// Case folding of the ANSI code page, built once: CompareNoCase must not
// depend on the C runtime's locale.
struct FoldTable {
    unsigned char lower[256];
    unsigned char upper[256];
    FoldTable() {
        for (int i = 0; i < 256; ++i) {
            char c = char(i);
            CharLowerBuffA(&c, 1);
            lower[i] = (unsigned char)c;
            c = char(i);
            CharUpperBuffA(&c, 1);
            upper[i] = (unsigned char)c;
        }
        lower[0] = upper[0] = 0;
    }
};

const FoldTable& fold() {
    static const FoldTable table;
    return table;
}

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

std::string fromWide(LPCWSTR psz) {
    if (psz == nullptr || *psz == 0) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string s(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, psz, -1, s.data(), n, nullptr, nullptr);
    s.resize(size_t(n - 1));
    return s;
}

bool inSet(char c, LPCSTR set) { return c != '\0' && std::strchr(set, c) != nullptr; }

}  // namespace

CString::CString(LPCSTR psz) {
    if (psz != nullptr && IS_INTRESOURCE(psz))
        LoadString(UINT(reinterpret_cast<UINT_PTR>(psz)));
    else if (psz != nullptr)
        m_s = psz;
}

CString::CString(LPCSTR pch, int nLength) {
    if (pch != nullptr && nLength > 0) m_s.assign(pch, size_t(nLength));
}

CString::CString(LPCWSTR psz) : m_s(fromWide(psz)) {}

CString::CString(char ch, int nRepeat) {
    if (nRepeat > 0) m_s.assign(size_t(nRepeat), ch);
}

CString& CString::operator=(LPCSTR psz) {
    if (psz == nullptr)
        m_s.clear();
    else
        m_s = psz;  // std::string handles a source inside itself
    return *this;
}

CString& CString::operator=(LPCWSTR psz) {
    m_s = fromWide(psz);
    return *this;
}

CString& CString::operator=(char ch) {
    m_s.assign(1, ch);
    return *this;
}

char CString::GetAt(int nIndex) const {
    if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
    return m_s[size_t(nIndex)];
}

void CString::SetAt(int nIndex, char ch) {
    if (nIndex < 0 || nIndex >= GetLength()) AfxThrowInvalidArgException();
    m_s[size_t(nIndex)] = ch;
}

int CString::Compare(LPCSTR psz) const {
    return sign(std::strcmp(m_s.c_str(), psz != nullptr ? psz : ""));
}

int CString::CompareNoCase(LPCSTR psz) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(m_s.c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(psz != nullptr ? psz : "");
    const FoldTable& t = fold();
    for (;; ++a, ++b) {
        const int d = int(t.lower[*a]) - int(t.lower[*b]);
        if (d != 0 || *a == 0) return sign(d);
    }
}

int CString::Collate(LPCSTR psz) const {
    return CompareStringA(LOCALE_USER_DEFAULT, 0, m_s.c_str(), -1, psz ? psz : "", -1) - 2;
}

int CString::CollateNoCase(LPCSTR psz) const {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_s.c_str(), -1, psz ? psz : "", -1) - 2;
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - std::max(nFirst, 0)); }

CString CString::Mid(int nFirst, int nCount) const {
    nFirst = std::max(nFirst, 0);
    nCount = std::max(nCount, 0);
    if (nFirst >= GetLength() || nCount == 0) return CString();
    return CString(m_s.c_str() + nFirst, std::min(nCount, GetLength() - nFirst));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
    nCount = std::clamp(nCount, 0, GetLength());
    return CString(m_s.c_str() + (GetLength() - nCount), nCount);
}

CString CString::SpanIncluding(LPCSTR pszCharSet) const {
    return Left(int(std::strspn(m_s.c_str(), pszCharSet)));
}

CString CString::SpanExcluding(LPCSTR pszCharSet) const {
    return Left(int(std::strcspn(m_s.c_str(), pszCharSet)));
}

CString CString::Tokenize(LPCSTR pszTokens, int& iStart) const {
    if (iStart < 0 || iStart >= GetLength()) {
        iStart = -1;
        return CString();
    }
    const char* p = m_s.c_str() + iStart;
    p += std::strspn(p, pszTokens);
    if (*p == '\0') {
        iStart = -1;
        return CString();
    }
    const size_t n = std::strcspn(p, pszTokens);
    iStart = int(p - m_s.c_str() + n) + (p[n] != '\0' ? 1 : 0);
    return CString(p, int(n));
}

int CString::Find(char ch, int nStart) const {
    if (nStart < 0 || nStart >= GetLength()) return -1;
    const size_t i = m_s.find(ch, size_t(nStart));
    return i == std::string::npos ? -1 : int(i);
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    if (pszSub == nullptr || nStart < 0 || nStart > GetLength()) return -1;
    const size_t i = m_s.find(pszSub, size_t(nStart));
    return i == std::string::npos ? -1 : int(i);
}

int CString::ReverseFind(char ch) const {
    const size_t i = m_s.rfind(ch);
    return i == std::string::npos ? -1 : int(i);
}

int CString::FindOneOf(LPCSTR pszCharSet) const {
    const size_t i = m_s.find_first_of(pszCharSet);
    return i == std::string::npos ? -1 : int(i);
}

int CString::Replace(char chOld, char chNew) {
    int n = 0;
    for (char& c : m_s)
        if (c == chOld) {
            c = chNew;
            ++n;
        }
    return n;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew) {
    const size_t oldLen = pszOld != nullptr ? std::strlen(pszOld) : 0;
    if (oldLen == 0) return 0;
    const std::string with = pszNew != nullptr ? pszNew : "";
    int n = 0;
    for (size_t i = m_s.find(pszOld); i != std::string::npos; i = m_s.find(pszOld, i + with.size())) {
        m_s.replace(i, oldLen, with);
        ++n;
    }
    return n;
}

int CString::Remove(char ch) {
    const size_t before = m_s.size();
    m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
    return int(before - m_s.size());
}

int CString::Insert(int nIndex, char ch) {
    m_s.insert(size_t(std::clamp(nIndex, 0, GetLength())), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz) {
    if (psz != nullptr) m_s.insert(size_t(std::clamp(nIndex, 0, GetLength())), std::string(psz));
    return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
    nIndex = std::max(nIndex, 0);
    if (nCount > 0 && nIndex < GetLength()) m_s.erase(size_t(nIndex), size_t(nCount));
    return GetLength();
}

CString& CString::TrimLeft(LPCSTR pszTargets) {
    size_t i = 0;
    while (i < m_s.size() && inSet(m_s[i], pszTargets)) ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight(LPCSTR pszTargets) {
    size_t n = m_s.size();
    while (n > 0 && inSet(m_s[n - 1], pszTargets)) --n;
    m_s.resize(n);
    return *this;
}

CString& CString::TrimLeft(char chTarget) {
    const char set[2] = {chTarget, '\0'};
    return TrimLeft(set);
}

CString& CString::TrimRight(char chTarget) {
    const char set[2] = {chTarget, '\0'};
    return TrimRight(set);
}

CString& CString::TrimLeft() { return TrimLeft(kWhitespace); }
CString& CString::TrimRight() { return TrimRight(kWhitespace); }
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

CString& CString::MakeUpper() {
    const FoldTable& t = fold();
    for (char& c : m_s) c = char(t.upper[(unsigned char)c]);
    return *this;
}

CString& CString::MakeLower() {
    const FoldTable& t = fold();
    for (char& c : m_s) c = char(t.lower[(unsigned char)c]);
    return *this;
}

CString& CString::MakeReverse() {
    std::reverse(m_s.begin(), m_s.end());
    return *this;
}

void CString::AppendFormatV(LPCSTR pszFormat, va_list args) {
    if (pszFormat == nullptr) AfxThrowInvalidArgException();
    va_list probe;
    va_copy(probe, args);
    const int n = std::vsnprintf(nullptr, 0, pszFormat, probe);
    va_end(probe);
    if (n < 0) AfxThrowInvalidArgException();
    const size_t old = m_s.size();
    m_s.resize(old + size_t(n) + 1);
    std::vsnprintf(m_s.data() + old, size_t(n) + 1, pszFormat, args);
    m_s.resize(old + size_t(n));
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    // The arguments may point into this string: format into a fresh one.
    CString result;
    result.AppendFormatV(pszFormat, args);
    m_s.swap(result.m_s);
}

void CString::FormatRaw(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatIdRaw(UINT nFormatID, ...) {
    CString format;
    if (!format.LoadString(nFormatID)) AfxThrowResourceException();
    va_list args;
    va_start(args, nFormatID);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormatRaw(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID) {
    // A string table block holds 16 counted UTF-16 strings; read it directly
    // so that length and absence are exact (LoadStringA cannot tell an empty
    // entry from a missing one).
    HRSRC block = FindResourceA(hInstance, MAKEINTRESOURCEA((nID >> 4) + 1), MAKEINTRESOURCEA(6));
    if (block == nullptr) return FALSE;
    HGLOBAL h = LoadResource(hInstance, block);
    const WCHAR* p = h != nullptr ? static_cast<const WCHAR*>(LockResource(h)) : nullptr;
    if (p == nullptr) return FALSE;
    const DWORD size = SizeofResource(hInstance, block) / sizeof(WCHAR);
    const WCHAR* end = p + size;
    for (UINT i = 0; i < (nID & 15); ++i) {
        if (p >= end) return FALSE;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end) return FALSE;
    std::wstring text(reinterpret_cast<const wchar_t*>(p + 1), *p);
    m_s = fromWide(text.c_str());
    return TRUE;
}

BOOL CString::LoadString(UINT nID) {
    HINSTANCE h = AfxFindStringResourceHandle(nID);
    return h != nullptr && LoadString(h, nID);
}

LPSTR CString::GetBuffer() { return m_s.data(); }

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (nMinBufLength > GetLength()) m_s.resize(size_t(nMinBufLength), '\0');
    return m_s.data();
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
    m_s.resize(size_t(std::max(nNewLength, 0)), '\0');
    return m_s.data();
}

void CString::ReleaseBuffer(int nNewLength) {
    if (nNewLength < 0)
        m_s.resize(std::strlen(m_s.c_str()));
    else
        m_s.resize(std::min(size_t(nNewLength), m_s.size()));
}

void CString::Truncate(int nNewLength) {
    if (nNewLength >= 0 && nNewLength < GetLength()) m_s.resize(size_t(nNewLength));
}

BSTR CString::AllocSysString() const {
    const int n = MultiByteToWideChar(CP_ACP, 0, m_s.data(), GetLength(), nullptr, 0);
    BSTR b = SysAllocStringLen(nullptr, UINT(n));
    if (b == nullptr) AfxThrowMemoryException();
    MultiByteToWideChar(CP_ACP, 0, m_s.data(), GetLength(), b, n);
    return b;
}

CString AFXAPI operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
CString AFXAPI operator+(const CString& a, LPCSTR b) {
    CString r(a);
    r += b;
    return r;
}
CString AFXAPI operator+(LPCSTR a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
CString AFXAPI operator+(const CString& a, char b) {
    CString r(a);
    r += b;
    return r;
}
CString AFXAPI operator+(char a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

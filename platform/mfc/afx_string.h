// CString: an 8-bit ANSI string with value semantics. Copies are
// independent; the buffer from GetBuffer stays valid until the next change
// and ReleaseBuffer fixes the length. A CString is not a plain pointer:
// Format and AppendFormat pass CString arguments as their text, but other
// printf-style functions need GetString() or (LPCSTR). Not synchronised:
// one thread per object.
#pragma once

#include <cstdarg>
#include <string>

#include "afx_base.h"

class CString;

namespace trvmfc_detail {
// Format's arguments as a C variadic call takes them: strings as pointers.
template <class T>
inline const T& FormatArg(const T& v) { return v; }
inline LPCSTR FormatArg(const CString& s);
}  // namespace trvmfc_detail

class TRVMFC_API CString {
public:
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCSTR psz);  // NULL gives the empty string; MAKEINTRESOURCE ids load the string
    CString(LPCSTR pch, int nLength);
    CString(LPCWSTR psz);  // converted through the ANSI code page
    explicit CString(char ch, int nRepeat = 1);
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCSTR psz);
    CString& operator=(LPCWSTR psz);
    CString& operator=(char ch);

    int GetLength() const { return int(m_s.size()); }
    BOOL IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int nIndex) const;
    void SetAt(int nIndex, char ch);
    char operator[](int nIndex) const { return GetAt(nIndex); }
    operator LPCSTR() const { return m_s.c_str(); }
    LPCSTR GetString() const { return m_s.c_str(); }

    CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
    CString& operator+=(LPCSTR psz) { if (psz) m_s += psz; return *this; }
    CString& operator+=(char ch) { m_s += ch; return *this; }
    void Append(LPCSTR psz, int nLength) { if (psz && nLength > 0) m_s.append(psz, size_t(nLength)); }
    void AppendChar(char ch) { m_s += ch; }

    // Byte-wise (unsigned) order; CompareNoCase and Collate use the ANSI code page.
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;
    int Collate(LPCSTR psz) const;
    int CollateNoCase(LPCSTR psz) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR pszCharSet) const;
    CString SpanExcluding(LPCSTR pszCharSet) const;
    CString Tokenize(LPCSTR pszTokens, int& iStart) const;

    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR pszCharSet) const;

    int Replace(char chOld, char chNew);
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    int Remove(char ch);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR psz);
    int Delete(int nIndex, int nCount = 1);

    // Whitespace is " \t\r\n\v\f".
    CString& Trim();
    CString& Trim(char chTarget);
    CString& Trim(LPCSTR pszTargets);
    CString& TrimLeft();
    CString& TrimLeft(char chTarget);
    CString& TrimLeft(LPCSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(char chTarget);
    CString& TrimRight(LPCSTR pszTargets);

    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();

    template <class... Args>
    void Format(LPCSTR pszFormat, const Args&... args) {
        FormatRaw(pszFormat, trvmfc_detail::FormatArg(args)...);
    }
    // The format is string nFormatID (CResourceException* when missing).
    template <class... Args>
    void Format(UINT nFormatID, const Args&... args) {
        FormatIdRaw(nFormatID, trvmfc_detail::FormatArg(args)...);
    }
    template <class... Args>
    void AppendFormat(LPCSTR pszFormat, const Args&... args) {
        AppendFormatRaw(pszFormat, trvmfc_detail::FormatArg(args)...);
    }
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormatV(LPCSTR pszFormat, va_list args);
    void AFX_CDECL FormatRaw(LPCSTR pszFormat, ...);
    void AFX_CDECL FormatIdRaw(UINT nFormatID, ...);
    void AFX_CDECL AppendFormatRaw(LPCSTR pszFormat, ...);

    // String table entry, searched along the resource chain of the current
    // module state (or only in hInstance).
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    LPSTR GetBuffer();
    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
    void FreeExtra() { m_s.shrink_to_fit(); }
    void Truncate(int nNewLength);
    void Preallocate(int nLength) { if (nLength > 0) m_s.reserve(size_t(nLength)); }

    BSTR AllocSysString() const;

    friend TRVMFC_API CString AFXAPI operator+(const CString& a, const CString& b);
    friend TRVMFC_API CString AFXAPI operator+(const CString& a, LPCSTR b);
    friend TRVMFC_API CString AFXAPI operator+(LPCSTR a, const CString& b);
    friend TRVMFC_API CString AFXAPI operator+(const CString& a, char b);
    friend TRVMFC_API CString AFXAPI operator+(char a, const CString& b);

private:
    std::string m_s;
};

inline LPCSTR trvmfc_detail::FormatArg(const CString& s) { return s.GetString(); }

inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
inline bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
inline bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
inline bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
inline bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
inline bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
inline bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }

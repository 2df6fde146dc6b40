// CArchive: a buffered binary stream over a CFile, in one direction.
// Integers are stored little-endian and unpadded. A string is its length
// prefix and its ANSI bytes without terminator: one byte below 255, else
// 0xFF and a 16-bit length below 0xFFFE, else 0xFF 0xFFFF and a 32-bit
// length; loading also accepts 0xFF 0xFFFE followed by a prefix and UTF-16
// units. Classes and objects are written once and referred to by index
// afterwards: 0 is NULL, 0xFFFF starts a new class record (schema word,
// name length word, name), 0x8000|i refers to class i, i (< 0x7FFF) to
// object i; larger indexes follow a 0x7FFF word as 32 bits (0x80000000|i for
// classes). Indexes count classes and objects together from 1.
// Errors throw CArchiveException* (or the file's exception). One thread.
#pragma once

#include <unordered_map>
#include <vector>

#include "afx_file.h"

class TRVMFC_API CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // Reads up to nMax bytes; fewer only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    void Close();
    void Abort();

    // Text lines (CR LF on store); FALSE / NULL at the end.
    void WriteString(LPCSTR lpsz);
    BOOL ReadString(CString& rString);

    CArchive& operator<<(BYTE v) { return WriteRaw(&v, 1); }
    CArchive& operator<<(char v) { return WriteRaw(&v, 1); }
    CArchive& operator<<(bool v) { return *this << BYTE(v ? 1 : 0); }
    CArchive& operator<<(WORD v) { return WriteLE(v); }
    CArchive& operator<<(short v) { return WriteLE(WORD(v)); }
    CArchive& operator<<(int v) { return WriteLE(DWORD(v)); }
    CArchive& operator<<(UINT v) { return WriteLE(DWORD(v)); }
    CArchive& operator<<(LONG v) { return WriteLE(DWORD(v)); }
    CArchive& operator<<(DWORD v) { return WriteLE(v); }
    CArchive& operator<<(LONGLONG v) { return WriteLE(ULONGLONG(v)); }
    CArchive& operator<<(ULONGLONG v) { return WriteLE(v); }
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const CObject* pOb) { WriteObject(pOb); return *this; }

    CArchive& operator>>(BYTE& v) { return ReadRaw(&v, 1); }
    CArchive& operator>>(char& v) { return ReadRaw(&v, 1); }
    CArchive& operator>>(bool& v);
    CArchive& operator>>(WORD& v) { return ReadLE(v); }
    CArchive& operator>>(short& v) { WORD w; ReadLE(w); v = short(w); return *this; }
    CArchive& operator>>(int& v) { DWORD d; ReadLE(d); v = int(d); return *this; }
    CArchive& operator>>(UINT& v) { DWORD d; ReadLE(d); v = UINT(d); return *this; }
    CArchive& operator>>(LONG& v) { DWORD d; ReadLE(d); v = LONG(d); return *this; }
    CArchive& operator>>(DWORD& v) { return ReadLE(v); }
    CArchive& operator>>(LONGLONG& v) { ULONGLONG q; ReadLE(q); v = LONGLONG(q); return *this; }
    CArchive& operator>>(ULONGLONG& v) { return ReadLE(v); }
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(CObject*& pOb) { pOb = ReadObject(nullptr); return *this; }

    void WriteObject(const CObject* pOb);
    // Reads an object reference; the class must derive from pClass (when given).
    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteClass(const CRuntimeClass* pClassRef);
    // Reads a class record; the class must derive from pClassRefRequested
    // (when given), else CArchiveException badClass. With pObTag, an object
    // reference found instead is returned there (and NULL as the class).
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr,
                             DWORD* pObTag = nullptr);
    void SerializeClass(const CRuntimeClass* pClassRef);
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    // The string length prefix alone (also used for counts by collections).
    void WriteCount(DWORD_PTR dwCount);
    DWORD_PTR ReadCount();

    CString m_strFileName;

protected:
    template <class T>
    CArchive& WriteLE(T v) {
        BYTE b[sizeof(T)];
        for (size_t i = 0; i < sizeof(T); ++i) b[i] = BYTE(v >> (8 * i));
        return WriteRaw(b, sizeof(T));
    }
    template <class T>
    CArchive& ReadLE(T& v) {
        BYTE b[sizeof(T)];
        ReadRaw(b, sizeof(T));
        T r = 0;
        for (size_t i = 0; i < sizeof(T); ++i) r = T(r | (T(b[i]) << (8 * i)));
        v = r;
        return *this;
    }
    CArchive& WriteRaw(const void* p, UINT n);
    CArchive& ReadRaw(void* p, UINT n);  // throws endOfFile when short
    void FillBuffer();
    void WriteTag(DWORD index, bool isClass);
    [[noreturn]] void Fail(int cause) const;

    friend TRVMFC_API CArchive& AFXAPI operator<<(CArchive& ar, const CString& str);
    friend TRVMFC_API CArchive& AFXAPI operator>>(CArchive& ar, CString& str);

    UINT m_nMode;
    CFile* m_pFile;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    UINT m_nBufSize;
    BOOL m_bUserBuf;
    BOOL m_bClosed = FALSE;
    UINT m_nObjectSchema = UINT(-1);

    // Storing: index of each class and object written. Loading: what each
    // index names, with the schema of class entries.
    std::unordered_map<const void*, DWORD> m_storeMap;
    struct LoadEntry {
        void* p;
        bool isClass;
        UINT schema;
    };
    std::vector<LoadEntry> m_loadArray;
};

TRVMFC_API CArchive& AFXAPI operator<<(CArchive& ar, const CString& str);
TRVMFC_API CArchive& AFXAPI operator>>(CArchive& ar, CString& str);

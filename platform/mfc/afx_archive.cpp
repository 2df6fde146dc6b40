#include "afx_archive.h"

#include <cstring>
#include <string>

namespace {

const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kBigClassTag = 0x80000000;
const DWORD kMaxMapCount = 0x3FFFFFFE;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_nMode(nMode), m_pFile(pFile), m_nBufSize(nBufSize < 128 ? 128 : UINT(nBufSize)),
      m_bUserBuf(lpBuf != nullptr) {
    if (pFile == nullptr) AfxThrowInvalidArgException();
    m_strFileName = pFile->GetFilePath();
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(lpBuf) : new BYTE[m_nBufSize];
    m_lpBufCur = m_lpBufStart;
    // Loading starts empty; storing has the whole buffer free.
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
}

CArchive::~CArchive() {
    if (!m_bClosed) {
        if (IsStoring() && !(m_nMode & bNoFlushOnDelete)) {
            try {
                Flush();
            } catch (CException* e) {
                e->Delete();  // a destructor cannot report it; Close() does
            }
        }
        m_bClosed = TRUE;
    }
    if (!m_bUserBuf) delete[] m_lpBufStart;
}

void CArchive::Fail(int cause) const { AfxThrowArchiveException(cause, m_strFileName); }

void CArchive::Flush() {
    if (IsStoring()) {
        if (m_lpBufCur != m_lpBufStart) m_pFile->Write(m_lpBufStart, UINT(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
        m_pFile->Flush();
    } else if (m_lpBufCur != m_lpBufMax) {
        // Give unread bytes back to the file.
        m_pFile->Seek(-LONGLONG(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
    }
}

void CArchive::Close() {
    if (m_bClosed) return;
    Flush();
    m_bClosed = TRUE;
}

void CArchive::Abort() { m_bClosed = TRUE; }

CArchive& CArchive::WriteRaw(const void* p, UINT n) {
    if (!IsStoring()) Fail(CArchiveException::readOnly);
    Write(p, n);
    return *this;
}

CArchive& CArchive::ReadRaw(void* p, UINT n) {
    if (!IsLoading()) Fail(CArchiveException::writeOnly);
    if (Read(p, n) != n) Fail(CArchiveException::endOfFile);
    return *this;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
    if (!IsStoring()) Fail(CArchiveException::readOnly);
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    while (nMax > 0) {
        const UINT room = UINT(m_lpBufMax - m_lpBufCur);
        if (room == 0) {
            m_pFile->Write(m_lpBufStart, UINT(m_lpBufCur - m_lpBufStart));
            m_lpBufCur = m_lpBufStart;
            continue;
        }
        const UINT n = nMax < room ? nMax : room;
        std::memcpy(m_lpBufCur, p, n);
        m_lpBufCur += n;
        p += n;
        nMax -= n;
    }
}

void CArchive::FillBuffer() {
    const UINT got = m_pFile->Read(m_lpBufStart, m_nBufSize);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + got;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
    if (!IsLoading()) Fail(CArchiveException::writeOnly);
    BYTE* p = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_lpBufCur == m_lpBufMax) {
            FillBuffer();
            if (m_lpBufCur == m_lpBufMax) break;
        }
        const UINT avail = UINT(m_lpBufMax - m_lpBufCur);
        const UINT n = nMax - done < avail ? nMax - done : avail;
        std::memcpy(p + done, m_lpBufCur, n);
        m_lpBufCur += n;
        done += n;
    }
    return done;
}

CArchive& CArchive::operator<<(float v) {
    DWORD d;
    std::memcpy(&d, &v, 4);
    return WriteLE(d);
}

CArchive& CArchive::operator<<(double v) {
    ULONGLONG q;
    std::memcpy(&q, &v, 8);
    return WriteLE(q);
}

CArchive& CArchive::operator>>(bool& v) {
    BYTE b;
    ReadRaw(&b, 1);
    v = b != 0;
    return *this;
}

CArchive& CArchive::operator>>(float& v) {
    DWORD d;
    ReadLE(d);
    std::memcpy(&v, &d, 4);
    return *this;
}

CArchive& CArchive::operator>>(double& v) {
    ULONGLONG q;
    ReadLE(q);
    std::memcpy(&v, &q, 8);
    return *this;
}

void CArchive::WriteCount(DWORD_PTR dwCount) {
    if (dwCount < 0xFFFF) {
        *this << WORD(dwCount);
    } else {
        *this << WORD(0xFFFF) << DWORD(dwCount);
    }
}

DWORD_PTR CArchive::ReadCount() {
    WORD w;
    *this >> w;
    if (w != 0xFFFF) return w;
    DWORD d;
    *this >> d;
    return d;
}

void CArchive::WriteString(LPCSTR lpsz) {
    if (lpsz != nullptr) Write(lpsz, UINT(std::strlen(lpsz)));
}

BOOL CArchive::ReadString(CString& rString) {
    rString.Empty();
    char c;
    bool any = false;
    while (Read(&c, 1) == 1) {
        any = true;
        if (c == '\n') break;
        if (c != '\r') rString += c;
    }
    return any ? TRUE : FALSE;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CString& str) {
    const DWORD len = DWORD(str.GetLength());
    if (len < 0xFF) {
        ar << BYTE(len);
    } else if (len < 0xFFFE) {
        ar << BYTE(0xFF) << WORD(len);
    } else {
        ar << BYTE(0xFF) << WORD(0xFFFF) << len;
    }
    ar.Write(str.GetString(), len);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& str) {
    bool wide = false;
    DWORD len = 0;
    for (;;) {
        BYTE b;
        ar >> b;
        if (b < 0xFF) {
            len = b;
            break;
        }
        WORD w;
        ar >> w;
        if (w == 0xFFFE) {  // UTF-16 marker; the real prefix follows
            if (wide) ar.Fail(CArchiveException::genericException);
            wide = true;
            continue;
        }
        if (w < 0xFFFF) {
            len = w;
            break;
        }
        ar >> len;
        break;
    }
    if (!wide) {
        CString s;
        if (len > 0) {
            LPSTR p = s.GetBufferSetLength(int(len));
            if (ar.Read(p, len) != len) ar.Fail(CArchiveException::endOfFile);
        }
        str = s;
        return ar;
    }
    std::wstring units(len, L'\0');
    for (DWORD i = 0; i < len; ++i) {
        WORD u;
        ar >> u;
        units[i] = wchar_t(u);
    }
    str = units.c_str();  // through the ANSI code page
    return ar;
}

void CArchive::WriteTag(DWORD index, bool isClass) {
    if (index < kBigObjectTag) {
        *this << WORD(isClass ? (kClassTag | index) : index);
    } else {
        *this << kBigObjectTag << DWORD(isClass ? (kBigClassTag | index) : index);
    }
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef) {
    if (!IsStoring()) Fail(CArchiveException::readOnly);
    if (pClassRef == nullptr) AfxThrowInvalidArgException();
    if (pClassRef->m_wSchema == 0xFFFF) AfxThrowNotSupportedException();  // not serialisable
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, true);
        return;
    }
    *this << kNewClassTag;
    pClassRef->Store(*this);
    if (m_storeMap.size() >= kMaxMapCount) Fail(CArchiveException::badIndex);
    m_storeMap.emplace(pClassRef, DWORD(m_storeMap.size() + 1));
}

void CArchive::WriteObject(const CObject* pOb) {
    if (!IsStoring()) Fail(CArchiveException::readOnly);
    if (pOb == nullptr) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        WriteTag(it->second, false);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (m_storeMap.size() >= kMaxMapCount) Fail(CArchiveException::badIndex);
    m_storeMap.emplace(pOb, DWORD(m_storeMap.size() + 1));
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag) {
    if (!IsLoading()) Fail(CArchiveException::writeOnly);
    WORD tag;
    *this >> tag;
    DWORD obTag;
    if (tag == kBigObjectTag) {
        *this >> obTag;
    } else {
        obTag = (DWORD(tag & kClassTag) << 16) | (tag & ~kClassTag);
    }
    CRuntimeClass* pClass = nullptr;
    UINT schema = 0;
    if (tag == kNewClassTag) {
        pClass = CRuntimeClass::Load(*this, &schema);
        // Only serialisable classes may be made from stored bytes.
        if (pClass == nullptr || pClass->m_wSchema == 0xFFFF) Fail(CArchiveException::badClass);
        const UINT ours = pClass->m_wSchema & ~VERSIONABLE_SCHEMA;
        if (!(pClass->m_wSchema & VERSIONABLE_SCHEMA) && schema != ours) Fail(CArchiveException::badSchema);
        if (m_loadArray.size() >= kMaxMapCount) Fail(CArchiveException::badIndex);
        m_loadArray.push_back({pClass, true, schema});
    } else if (obTag & kBigClassTag) {
        const DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index > m_loadArray.size() || !m_loadArray[index - 1].isClass)
            Fail(CArchiveException::badIndex);
        pClass = static_cast<CRuntimeClass*>(m_loadArray[index - 1].p);
        schema = m_loadArray[index - 1].schema;
    } else {
        // An object reference (or NULL) where a class was expected.
        if (pObTag == nullptr) Fail(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }
    // Checked before anything is created from the stored name.
    if (pClassRefRequested != nullptr && !pClass->IsDerivedFrom(pClassRefRequested))
        Fail(CArchiveException::badClass);
    if (pSchema != nullptr) *pSchema = schema;
    if (pObTag != nullptr) *pObTag = 0;
    return pClass;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef) {
    if (IsStoring()) {
        WriteClass(pClassRef);
    } else {
        UINT schema = 0;
        ReadClass(pClassRef, &schema);
        m_nObjectSchema = schema;
    }
}

UINT CArchive::GetObjectSchema() {
    const UINT schema = m_nObjectSchema;
    m_nObjectSchema = UINT(-1);  // answered once per object
    return schema;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRef) {
    UINT schema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClass = ReadClass(pClassRef, &schema, &obTag);
    if (pClass == nullptr) {
        if (obTag == 0) return nullptr;
        if (obTag > m_loadArray.size() || m_loadArray[obTag - 1].isClass || m_loadArray[obTag - 1].p == nullptr)
            Fail(CArchiveException::badIndex);
        CObject* pOb = static_cast<CObject*>(m_loadArray[obTag - 1].p);
        if (pClassRef != nullptr && !pOb->IsKindOf(pClassRef)) Fail(CArchiveException::badClass);
        return pOb;
    }
    CObject* pOb = pClass->CreateObject();
    if (pOb == nullptr) Fail(CArchiveException::badClass);
    if (m_loadArray.size() >= kMaxMapCount) {
        delete pOb;
        Fail(CArchiveException::badIndex);
    }
    const size_t slot = m_loadArray.size();
    m_loadArray.push_back({pOb, false, schema});
    const UINT saved = m_nObjectSchema;
    m_nObjectSchema = schema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        // The half-loaded object is the caller's only if it is returned; objects it
        // loaded before failing keep their entries.
        m_loadArray[slot].p = nullptr;
        m_nObjectSchema = saved;
        delete pOb;
        throw;
    }
    m_nObjectSchema = saved;
    return pOb;
}

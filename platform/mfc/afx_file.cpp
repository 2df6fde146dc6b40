#include "afx_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CMemFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : CFile() {
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e)) AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile() {
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) CloseHandle(m_hFile);
}

void CFile::ThrowOsError(DWORD error) const {
    AfxThrowFileException(CFileException::OsErrorToException(LONG(error)), LONG(error), m_strFileName);
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
    DWORD access = 0;
    switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    default: access = GENERIC_READ | GENERIC_WRITE; break;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: share = FILE_SHARE_READ; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    default: share = 0; break;
    }
    DWORD disposition = OPEN_EXISTING;
    if (nOpenFlags & modeCreate) disposition = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, (nOpenFlags & modeNoInherit) ? FALSE : TRUE};
    m_strFileName = lpszFileName;
    HANDLE h = CreateFileA(lpszFileName, access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (pError != nullptr) {
            pError->m_lOsError = LONG(error);
            pError->m_cause = CFileException::OsErrorToException(LONG(error));
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const {
    LARGE_INTEGER zero{}, pos{};
    if (!SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT)) ThrowOsError(GetLastError());
    return ULONGLONG(pos.QuadPart);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
    LARGE_INTEGER off{}, pos{};
    off.QuadPart = lOff;
    const DWORD method = nFrom == current ? FILE_CURRENT : nFrom == end ? FILE_END : FILE_BEGIN;
    if (!SetFilePointerEx(m_hFile, off, &pos, method)) ThrowOsError(GetLastError());
    return ULONGLONG(pos.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
    Seek(LONGLONG(dwNewLen), begin);
    if (!SetEndOfFile(m_hFile)) ThrowOsError(GetLastError());
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(m_hFile, &size)) ThrowOsError(GetLastError());
    return ULONGLONG(size.QuadPart);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    DWORD done = 0;
    if (nCount > 0 && !ReadFile(m_hFile, lpBuf, nCount, &done, nullptr)) ThrowOsError(GetLastError());
    return done;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
    DWORD done = 0;
    if (nCount == 0) return;
    if (!WriteFile(m_hFile, lpBuf, nCount, &done, nullptr)) ThrowOsError(GetLastError());
    if (done != nCount) AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::Flush() {
    if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile)) ThrowOsError(GetLastError());
}

void CFile::Close() {
    const HANDLE h = m_hFile;
    m_hFile = INVALID_HANDLE_VALUE;
    const bool close = m_bCloseOnDelete;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (h != INVALID_HANDLE_VALUE && close && !CloseHandle(h)) ThrowOsError(GetLastError());
}

void CFile::Abort() {
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const {
    const int slash = std::max(m_strFileName.ReverseFind('\\'), m_strFileName.ReverseFind('/'));
    return m_strFileName.Mid(slash + 1);
}

CMemFile::CMemFile(UINT nGrowBytes) : m_nGrowBytes(nGrowBytes) {}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) : m_nGrowBytes(0) {
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) {
    Close();
    m_nGrowBytes = nGrowBytes;
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    // A fixed buffer holds data to read; a growable one is empty space.
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach() {
    BYTE* p = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return p;
}

BYTE* CMemFile::Alloc(SIZE_T nBytes) { return static_cast<BYTE*>(std::malloc(nBytes)); }
BYTE* CMemFile::Realloc(BYTE* lpMem, SIZE_T nBytes) { return static_cast<BYTE*>(std::realloc(lpMem, nBytes)); }
void CMemFile::Free(BYTE* lpMem) { std::free(lpMem); }

void CMemFile::GrowFile(SIZE_T dwNewLen) {
    if (dwNewLen <= m_nBufferSize) return;
    // A caller's buffer is never reallocated.
    if (m_nGrowBytes == 0 || !m_bAutoDelete) AfxThrowMemoryException();
    SIZE_T size = m_nBufferSize;
    while (size < dwNewLen) {
        if (size > SIZE_T(-1) - m_nGrowBytes) AfxThrowMemoryException();
        size += m_nGrowBytes;
    }
    BYTE* p = m_lpBuffer == nullptr ? Alloc(size) : Realloc(m_lpBuffer, size);
    if (p == nullptr) AfxThrowMemoryException();
    m_lpBuffer = p;
    m_nBufferSize = size;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom) {
    LONGLONG base = nFrom == current ? LONGLONG(m_nPosition) : nFrom == end ? LONGLONG(m_nFileSize) : 0;
    const LONGLONG pos = base + lOff;
    if (pos < 0) AfxThrowFileException(CFileException::badSeek);
    m_nPosition = SIZE_T(pos);
    return ULONGLONG(pos);
}

void CMemFile::SetLength(ULONGLONG dwNewLen) {
    if (dwNewLen > m_nBufferSize) GrowFile(SIZE_T(dwNewLen));
    if (dwNewLen < m_nPosition) m_nPosition = SIZE_T(dwNewLen);
    m_nFileSize = SIZE_T(dwNewLen);
}

UINT CMemFile::Read(void* lpBuf, UINT nCount) {
    if (m_nPosition >= m_nFileSize || nCount == 0) return 0;
    const SIZE_T n = std::min<SIZE_T>(nCount, m_nFileSize - m_nPosition);
    std::memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return UINT(n);
}

void CMemFile::Write(const void* lpBuf, UINT nCount) {
    if (nCount == 0) return;
    const SIZE_T end = m_nPosition + nCount;
    if (end > m_nBufferSize) GrowFile(end);
    if (m_nPosition > m_nFileSize)  // a seek past the end leaves a gap of zeros
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = end;
    if (end > m_nFileSize) m_nFileSize = end;
}

void CMemFile::Close() {
    if (m_lpBuffer != nullptr && m_bAutoDelete) Free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
}

#include "afx_exceptions.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CUserException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

BOOL copyMessage(LPCSTR text, LPSTR out, UINT max, PUINT help) {
    if (help != nullptr) *help = 0;
    if (out == nullptr || max == 0) return FALSE;
    lstrcpynA(out, text, int(max));
    return TRUE;
}

}  // namespace

CException::CException(BOOL bAutoDelete) : m_bAutoDelete(bAutoDelete) {}
CException::~CException() {}

void CException::Delete() {
    if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
    if (pnHelpContext != nullptr) *pnHelpContext = 0;
    if (lpszError != nullptr && nMaxError > 0) *lpszError = '\0';
    return FALSE;
}

BOOL CMemoryException::GetErrorMessage(LPSTR s, UINT n, PUINT h) const {
    return copyMessage("Out of memory.", s, n, h);
}
BOOL CNotSupportedException::GetErrorMessage(LPSTR s, UINT n, PUINT h) const {
    return copyMessage("An unsupported operation was attempted.", s, n, h);
}
BOOL CInvalidArgException::GetErrorMessage(LPSTR s, UINT n, PUINT h) const {
    return copyMessage("Encountered an improper argument.", s, n, h);
}
BOOL CResourceException::GetErrorMessage(LPSTR s, UINT n, PUINT h) const {
    return copyMessage("A required resource was unavailable.", s, n, h);
}
BOOL CUserException::GetErrorMessage(LPSTR s, UINT n, PUINT h) const {
    return copyMessage("Operation cancelled.", s, n, h);
}

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszArchiveName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}

int PASCAL CFileException::OsErrorToException(LONG lOsError) {
    switch (lOsError) {
    case 0: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return hardIO;
    default: return genericException;
    }
}

BOOL CFileException::GetErrorMessage(LPSTR s, UINT n, PUINT h) const {
    char text[600];
    std::snprintf(text, sizeof(text), "File error %d (os error %ld) on \"%s\".", m_cause,
                  long(m_lOsError), m_strFileName.GetString());
    return copyMessage(text, s, n, h);
}

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName) {}

BOOL CArchiveException::GetErrorMessage(LPSTR s, UINT n, PUINT h) const {
    static const char* const texts[] = {
        "No error.", "An unknown error occurred while accessing %s.",
        "An attempt was made to write to %s while it was being read.",
        "An unexpected end of file was encountered while reading %s.",
        "An attempt was made to read from %s while it was being written.",
        "%s has an incorrect format.", "%s contained an unexpected object.",
        "%s contains an incorrect schema."};
    const int i = m_cause >= 0 && m_cause <= badSchema ? m_cause : genericException;
    char text[600];
    std::snprintf(text, sizeof(text), texts[i],
                  m_strFileName.IsEmpty() ? "an unnamed file" : m_strFileName.GetString());
    return copyMessage(text, s, n, h);
}

void AFXAPI AfxThrowMemoryException() {
    // Never auto-deleted, never allocated at throw time.
    static CMemoryException shared(FALSE);
    throw &shared;
}
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AFXAPI AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AFXAPI AfxThrowResourceException() { throw new CResourceException; }
void AFXAPI AfxThrowUserException() { throw new CUserException; }
void AFXAPI AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName) {
    throw new CFileException(cause, lOsError, lpszFileName);
}
void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName) {
    throw new CArchiveException(cause, lpszArchiveName);
}

// The exception family. Exceptions are thrown as heap pointers
// (`throw new CXxxException`, or the AfxThrow* functions), caught as
// CException* and released with Delete(), which frees only objects that own
// themselves (m_bAutoDelete). The memory exception is one shared object that
// Delete() leaves alone, so it can be thrown when allocation fails.
#pragma once

#include "afx_object.h"
#include "afx_string.h"

class TRVMFC_API CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE);
    virtual ~CException();
    void Delete();
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    BOOL m_bAutoDelete;
};

class TRVMFC_API CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    explicit CSimpleException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

#define TRVMFC_SIMPLE_EXCEPTION(name)                                              \
    class TRVMFC_API name : public CSimpleException {                              \
        DECLARE_DYNAMIC(name)                                                      \
    public:                                                                        \
        explicit name(BOOL bAutoDelete = TRUE) : CSimpleException(bAutoDelete) {}  \
        BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,                      \
                             PUINT pnHelpContext = nullptr) const override;        \
    };

TRVMFC_SIMPLE_EXCEPTION(CMemoryException)
TRVMFC_SIMPLE_EXCEPTION(CNotSupportedException)
TRVMFC_SIMPLE_EXCEPTION(CInvalidArgException)
TRVMFC_SIMPLE_EXCEPTION(CResourceException)
TRVMFC_SIMPLE_EXCEPTION(CUserException)
#undef TRVMFC_SIMPLE_EXCEPTION

class TRVMFC_API CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none, genericException, fileNotFound, badPath, tooManyOpenFiles, accessDenied,
        invalidFile, removeCurrentDir, directoryFull, badSeek, hardIO, sharingViolation,
        lockViolation, diskFull, endOfFile
    };
    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
    // Maps a Win32 error code to a cause.
    static int PASCAL OsErrorToException(LONG lOsError);
    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class TRVMFC_API CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr);
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
    int m_cause;
    CString m_strFileName;
};

[[noreturn]] TRVMFC_API void AFXAPI AfxThrowMemoryException();
[[noreturn]] TRVMFC_API void AFXAPI AfxThrowNotSupportedException();
[[noreturn]] TRVMFC_API void AFXAPI AfxThrowInvalidArgException();
[[noreturn]] TRVMFC_API void AFXAPI AfxThrowResourceException();
[[noreturn]] TRVMFC_API void AFXAPI AfxThrowUserException();
[[noreturn]] TRVMFC_API void AFXAPI AfxThrowFileException(int cause, LONG lOsError = -1,
                                                          LPCSTR lpszFileName = nullptr);
[[noreturn]] TRVMFC_API void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);

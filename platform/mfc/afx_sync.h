// Synchronisation objects over Win32: CCriticalSection (recursive, in
// process), CEvent (auto-reset unless asked; Lock waits and, for an
// auto-reset event, consumes the signal) and CSingleLock (scoped lock that
// unlocks on destruction). Any thread may use them; that is their purpose.
#pragma once

#include "afx_exceptions.h"

class TRVMFC_API CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    explicit CSyncObject(LPCSTR pstrName);
    ~CSyncObject() override;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    // TRUE when acquired (or signalled) within dwTimeout milliseconds.
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    operator HANDLE() const { return m_hObject; }
    HANDLE m_hObject = nullptr;
};

class TRVMFC_API CCriticalSection : public CSyncObject {
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;
    BOOL Lock() { ::EnterCriticalSection(&m_sect); return TRUE; }
    // Only INFINITE waits; any other timeout tries once.
    BOOL Lock(DWORD dwTimeout) override;
    BOOL Unlock() override { ::LeaveCriticalSection(&m_sect); return TRUE; }
    operator CRITICAL_SECTION*() { return &m_sect; }
    CRITICAL_SECTION m_sect;
};

class TRVMFC_API CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)
public:
    // Throws CResourceException* when the event cannot be created.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

class TRVMFC_API CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;
    BOOL Lock(DWORD dwTimeOut = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};

// OLE data transfer: drop targets, data objects being dropped or on the clipboard, and
// data sources offered to the clipboard or to a drag.
//
// COleDropTarget registers a window with the system (OLE must be initialised on the
// thread) and turns the system's IDropTarget calls into its virtual members, with
// points in the window's client coordinates. It is a plain member object of its
// window's class: the system holds its interface only between Register and Revoke.
//
// COleDataSource is reference counted, starting at one for its creator. SetClipboard
// hands that reference to the clipboard: such a source is made with new and is
// deleted when the clipboard lets it go. A source used only for DoDragDrop may live on
// the stack. GUI thread only; every system callback stops exceptions (firewall).
#pragma once
#include "afxwin.h"
#include <ole2.h>
#include <vector>

typedef DWORD DROPEFFECT;

// A data object offered by someone else (a drop, the clipboard).
class TRVMFC_API COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // With autoRelease the object takes over the caller's reference.
    void Attach(LPDATAOBJECT dataObject, BOOL autoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    // The clipboard's current content.
    BOOL AttachClipboard();
    LPDATAOBJECT GetIDataObject(BOOL addRef);

    // Default FORMATETC: the format, content aspect, any medium.
    BOOL IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);
    // The caller releases the medium (ReleaseStgMedium).
    BOOL GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = nullptr);
    // A copy in global memory that the caller frees; null when not available.
    HGLOBAL GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc = nullptr);

protected:
    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

class TRVMFC_API COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    HWND m_hWnd = nullptr;  // the registered window

    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // FALSE (logged) when the system refuses, e.g. OLE is not initialised.
    BOOL Register(CWnd* wnd);
    virtual void Revoke();

    // The drag's effect for the target: a DROPEFFECT_ value (the defaults accept
    // nothing). OnDrop answers whether the data was taken; OnDropEx, when it answers
    // other than -1, replaces OnDrop.
    virtual DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* wnd);
    virtual BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point);
    virtual DROPEFFECT OnDropEx(CWnd* wnd, COleDataObject* data, DROPEFFECT defaultEffect, DROPEFFECT allowed,
                                CPoint point);
    virtual DROPEFFECT OnDragScroll(CWnd* wnd, DWORD keyState, CPoint point);

    // The interface the system calls; it lives as long as this object.
    IDropTarget* GetDropTarget();

private:
    struct XDropTarget;
    XDropTarget* m_xDropTarget;
    COleDataObject m_dataObject;  // the data of the drag in progress
};

class TRVMFC_API COleDataSource : public CCmdTarget {
    DECLARE_DYNAMIC(COleDataSource)
public:
    COleDataSource();
    ~COleDataSource() override;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;

    // Offers data in a format; the source takes the memory (or medium) over.
    void CacheGlobalData(CLIPFORMAT format, HGLOBAL data, LPFORMATETC formatEtc = nullptr);
    void CacheData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc = nullptr);
    void Empty();

    // Puts the source on the clipboard, which takes the creator's reference.
    void SetClipboard();
    // Renders what this process put on the clipboard, so it outlives the process.
    static void PASCAL FlushClipboard();
    // Runs a drag of this source (the system's modal loop); the effect that was done.
    DROPEFFECT DoDragDrop(DROPEFFECT allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          IDropSource* dropSource = nullptr);

    // The interface offered to the system (no reference added).
    IDataObject* GetDataObject();
    ULONG InternalAddRef();
    // Deletes the source when the count reaches zero.
    ULONG InternalRelease();

private:
    struct Entry {
        FORMATETC format;
        STGMEDIUM medium;
    };
    struct XDataObject;
    friend struct XDataObject;
    XDataObject* m_xDataObject;
    std::vector<Entry> m_entries;
    LONG m_refs = 1;
};

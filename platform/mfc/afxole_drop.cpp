// OLE drop targets, data objects and data sources.
#include "afxole.h"
#include "afx_log.h"

#include <cstring>

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)
IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

namespace {

FORMATETC DefaultFormat(CLIPFORMAT format, LPFORMATETC given, DWORD tymed)
{
    if (given) return *given;
    FORMATETC f{};
    f.cfFormat = format;
    f.dwAspect = DVASPECT_CONTENT;
    f.lindex = -1;
    f.tymed = tymed;
    return f;
}

// Keeps the target's answer to what the source allows; scrolling is the target's own.
DROPEFFECT FilterEffect(DROPEFFECT effect, DWORD allowed)
{
    return (effect & DROPEFFECT_SCROLL) | (effect & allowed & ~DROPEFFECT_SCROLL);
}

}  // namespace

// ---- data objects

void COleDataObject::Attach(LPDATAOBJECT dataObject, BOOL autoRelease)
{
    Release();
    m_lpDataObject = dataObject;
    m_bAutoRelease = autoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT p = m_lpDataObject;
    m_lpDataObject = nullptr;
    return p;
}

void COleDataObject::Release()
{
    if (m_lpDataObject && m_bAutoRelease) m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT clip = nullptr;
    HRESULT hr = ::OleGetClipboard(&clip);
    if (FAILED(hr)) {
        AfxLogFailure("OleGetClipboard failed: 0x%08lX", (unsigned long)hr);
        return FALSE;
    }
    Attach(clip, TRUE);
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL addRef)
{
    if (m_lpDataObject && addRef) m_lpDataObject->AddRef();
    return m_lpDataObject;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT format, LPFORMATETC formatEtc)
{
    if (!m_lpDataObject) return FALSE;
    FORMATETC f = DefaultFormat(format, formatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI |
                                                       TYMED_MFPICT | TYMED_ENHMF | TYMED_FILE);
    return m_lpDataObject->QueryGetData(&f) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc)
{
    if (!m_lpDataObject) return FALSE;
    FORMATETC f = DefaultFormat(format, formatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI |
                                                       TYMED_MFPICT | TYMED_ENHMF | TYMED_FILE);
    *medium = {};
    return SUCCEEDED(m_lpDataObject->GetData(&f, medium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT format, LPFORMATETC formatEtc)
{
    if (!m_lpDataObject) return nullptr;
    FORMATETC f = DefaultFormat(format, formatEtc, TYMED_HGLOBAL);
    STGMEDIUM medium{};
    if (FAILED(m_lpDataObject->GetData(&f, &medium))) return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (!medium.pUnkForRelease) return medium.hGlobal;  // ours now
    // The source keeps its memory: copy it.
    HGLOBAL copy = ::OleDuplicateData(medium.hGlobal, format, GMEM_MOVEABLE);
    ::ReleaseStgMedium(&medium);
    return copy;
}

// ---- drop targets

struct COleDropTarget::XDropTarget final : IDropTarget {
    COleDropTarget* owner;
    explicit XDropTarget(COleDropTarget* o) : owner(o) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
            *out = static_cast<IDropTarget*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The object lives as long as its owner; the system's references only borrow it.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    CWnd* Window() const { return owner->m_hWnd ? CWnd::FromHandle(owner->m_hWnd) : nullptr; }
    CPoint ClientPoint(POINTL pt) const
    {
        POINT p{pt.x, pt.y};
        if (owner->m_hWnd) ::ScreenToClient(owner->m_hWnd, &p);
        return p;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override
    {
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        try {
            CWnd* wnd = Window();
            if (!wnd) return S_OK;
            owner->m_dataObject.Attach(data, FALSE);
            CPoint point = ClientPoint(pt);
            DROPEFFECT scroll = owner->OnDragScroll(wnd, keyState, point);
            DROPEFFECT e = (scroll & DROPEFFECT_SCROLL) ? scroll
                                                        : owner->OnDragEnter(wnd, &owner->m_dataObject, keyState, point);
            *effect = FilterEffect(e, allowed);
        } catch (...) {
            AfxFirewallCaughtCurrent("drop target (drag enter)", 0);
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override
    {
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        try {
            CWnd* wnd = Window();
            if (!wnd) return S_OK;
            CPoint point = ClientPoint(pt);
            DROPEFFECT scroll = owner->OnDragScroll(wnd, keyState, point);
            DROPEFFECT e = (scroll & DROPEFFECT_SCROLL) ? scroll
                                                        : owner->OnDragOver(wnd, &owner->m_dataObject, keyState, point);
            *effect = FilterEffect(e, allowed);
        } catch (...) {
            AfxFirewallCaughtCurrent("drop target (drag over)", 0);
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE DragLeave() override
    {
        try {
            if (CWnd* wnd = Window()) owner->OnDragLeave(wnd);
        } catch (...) {
            AfxFirewallCaughtCurrent("drop target (drag leave)", 0);
        }
        owner->m_dataObject.Release();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override
    {
        DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        try {
            CWnd* wnd = Window();
            if (wnd) {
                owner->m_dataObject.Attach(data, FALSE);
                CPoint point = ClientPoint(pt);
                // The effect the drag showed last is the drop's default.
                DROPEFFECT def = FilterEffect(owner->OnDragOver(wnd, &owner->m_dataObject, keyState, point), allowed) &
                                 ~DROPEFFECT_SCROLL;
                DROPEFFECT done = owner->OnDropEx(wnd, &owner->m_dataObject, def, allowed, point);
                if (done == (DROPEFFECT)-1)
                    done = owner->OnDrop(wnd, &owner->m_dataObject, def, point) ? def : DROPEFFECT_NONE;
                *effect = done & allowed;
            }
        } catch (...) {
            AfxFirewallCaughtCurrent("drop target (drop)", 0);
        }
        owner->m_dataObject.Release();
        return S_OK;
    }
};

COleDropTarget::COleDropTarget() : m_xDropTarget(new XDropTarget(this)) {}

COleDropTarget::~COleDropTarget()
{
    COleDropTarget::Revoke();
    delete m_xDropTarget;
}

IDropTarget* COleDropTarget::GetDropTarget() { return m_xDropTarget; }

BOOL COleDropTarget::Register(CWnd* wnd)
{
    if (!wnd || !wnd->m_hWnd) return FALSE;
    if (m_hWnd) Revoke();
    HRESULT hr = ::RegisterDragDrop(wnd->m_hWnd, m_xDropTarget);
    if (FAILED(hr)) {
        AfxLogFailure("RegisterDragDrop failed: 0x%08lX", (unsigned long)hr);
        return FALSE;
    }
    m_hWnd = wnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (!m_hWnd) return;
    if (::IsWindow(m_hWnd)) ::RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
    m_dataObject.Release();
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
void COleDropTarget::OnDragLeave(CWnd*) {}
BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT COleDropTarget::OnDropEx(CWnd*, COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) { return (DROPEFFECT)-1; }
DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint) { return DROPEFFECT_NONE; }

// ---- data sources

namespace {

// Enumerates a fixed list of formats.
class CFormatEnum : public IEnumFORMATETC {
public:
    CFormatEnum(std::vector<FORMATETC> formats, size_t next) : m_formats(std::move(formats)), m_next(next) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IEnumFORMATETC)) {
            *out = static_cast<IEnumFORMATETC*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)::InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG n = ::InterlockedDecrement(&m_refs);
        if (n == 0) delete this;
        return (ULONG)n;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* out, ULONG* fetched) override
    {
        ULONG n = 0;
        while (n < count && m_next < m_formats.size()) out[n++] = m_formats[m_next++];
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        m_next += count;
        if (m_next <= m_formats.size()) return S_OK;
        m_next = m_formats.size();
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override
    {
        *out = new CFormatEnum(m_formats, m_next);
        return S_OK;
    }

private:
    virtual ~CFormatEnum() = default;
    std::vector<FORMATETC> m_formats;
    size_t m_next;
    LONG m_refs = 1;
};

// Ends a drag when the button goes up, cancels it on Esc.
class CDefaultDropSource : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keyState) override
    {
        if (escape) return DRAGDROP_S_CANCEL;
        if (!(keyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

bool SameFormat(const FORMATETC& a, const FORMATETC& b)
{
    return a.cfFormat == b.cfFormat && (a.tymed & b.tymed) != 0 && a.dwAspect == b.dwAspect &&
           (a.lindex == b.lindex || a.lindex == -1 || b.lindex == -1);
}

}  // namespace

struct COleDataSource::XDataObject final : IDataObject {
    COleDataSource* owner;
    explicit XDataObject(COleDataSource* o) : owner(o) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return owner->InternalAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return owner->InternalRelease(); }

    const Entry* Find(const FORMATETC* wanted) const
    {
        for (const Entry& e : owner->m_entries)
            if (SameFormat(e.format, *wanted)) return &e;
        return nullptr;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* wanted, STGMEDIUM* medium) override
    {
        if (!wanted || !medium) return E_INVALIDARG;
        const Entry* e = Find(wanted);
        if (!e) return DV_E_FORMATETC;
        // Each caller gets a copy of its own to release.
        *medium = {};
        medium->tymed = e->medium.tymed;
        switch (e->medium.tymed) {
        case TYMED_HGLOBAL:
        case TYMED_GDI:
        case TYMED_MFPICT:
        case TYMED_ENHMF:
            medium->hGlobal = (HGLOBAL)::OleDuplicateData(e->medium.hGlobal, e->format.cfFormat, GMEM_MOVEABLE);
            if (!medium->hGlobal) return E_OUTOFMEMORY;
            return S_OK;
        case TYMED_ISTREAM:
        case TYMED_ISTORAGE:
            // Shared: the caller releases its reference.
            *medium = e->medium;
            if (medium->pstm) medium->pstm->AddRef();
            if (medium->pUnkForRelease) medium->pUnkForRelease->AddRef();
            return S_OK;
        default: return DV_E_TYMED;
        }
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* wanted) override
    {
        if (!wanted) return E_INVALIDARG;
        return Find(wanted) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Entry& e : owner->m_entries) formats.push_back(e.format);
        *out = new CFormatEnum(std::move(formats), 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
};

COleDataSource::COleDataSource() : m_xDataObject(new XDataObject(this)) {}

COleDataSource::~COleDataSource()
{
    Empty();
    delete m_xDataObject;
}

IDataObject* COleDataSource::GetDataObject() { return m_xDataObject; }

ULONG COleDataSource::InternalAddRef() { return (ULONG)::InterlockedIncrement(&m_refs); }

ULONG COleDataSource::InternalRelease()
{
    LONG n = ::InterlockedDecrement(&m_refs);
    if (n == 0) delete this;
    return (ULONG)n;
}

void COleDataSource::CacheData(CLIPFORMAT format, LPSTGMEDIUM medium, LPFORMATETC formatEtc)
{
    FORMATETC f = DefaultFormat(format, formatEtc, medium->tymed);
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if (it->format.cfFormat == f.cfFormat && it->format.dwAspect == f.dwAspect && it->format.lindex == f.lindex) {
            ::ReleaseStgMedium(&it->medium);
            m_entries.erase(it);
            break;
        }
    }
    m_entries.push_back({f, *medium});
}

void COleDataSource::CacheGlobalData(CLIPFORMAT format, HGLOBAL data, LPFORMATETC formatEtc)
{
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = data;
    CacheData(format, &medium, formatEtc);
}

void COleDataSource::Empty()
{
    for (Entry& e : m_entries) ::ReleaseStgMedium(&e.medium);
    m_entries.clear();
}

void COleDataSource::SetClipboard()
{
    HRESULT hr = ::OleSetClipboard(m_xDataObject);
    if (FAILED(hr)) AfxLogFailure("OleSetClipboard failed: 0x%08lX", (unsigned long)hr);
    InternalRelease();  // the clipboard holds the source now (or nobody does)
}

void COleDataSource::FlushClipboard() { ::OleFlushClipboard(); }

DROPEFFECT COleDataSource::DoDragDrop(DROPEFFECT allowed, IDropSource* dropSource)
{
    CDefaultDropSource defaultSource;
    DWORD effect = DROPEFFECT_NONE;
    InternalAddRef();  // alive through the drag whoever releases what
    HRESULT hr = ::DoDragDrop(m_xDataObject, dropSource ? dropSource : &defaultSource, allowed, &effect);
    if (FAILED(hr)) AfxLogFailure("DoDragDrop failed: 0x%08lX", (unsigned long)hr);
    DROPEFFECT done = hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
    InternalRelease();
    return done;
}

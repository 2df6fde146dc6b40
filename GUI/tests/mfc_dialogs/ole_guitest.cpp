// OLE and COM support under Wine: the <comdef.h> types link and raise their COM error
// (a failed variant conversion, an object's error information); a registered drop
// target gets enter, over, leave and drop with client points and the dragged text,
// through its interface and through a real in-process DoDragDrop; a data source on the
// clipboard renders its text and is freed when the clipboard lets it go.
#include "afxdisp.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "wtest.h"

namespace {

struct OleScope {
    HRESULT hr = ::OleInitialize(nullptr);
    ~OleScope()
    {
        if (SUCCEEDED(hr)) ::OleUninitialize();
    }
};

HGLOBAL TextMemory(const char* text)
{
    size_t n = std::strlen(text) + 1;
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, n);
    std::memcpy(::GlobalLock(h), text, n);
    ::GlobalUnlock(h);
    return h;
}

std::string TextOf(HGLOBAL h)
{
    if (!h) return "<none>";
    std::string s(static_cast<const char*>(::GlobalLock(h)));
    ::GlobalUnlock(h);
    return s;
}

// Says it keeps error information for IDispatch calls.
class CErrorSource : public ISupportErrorInfo {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISupportErrorInfo)) {
            *out = static_cast<ISupportErrorInfo*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override
    {
        return IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
    }
};

void SetErrorDescription(const wchar_t* text)
{
    ICreateErrorInfo* create = nullptr;
    ::CreateErrorInfo(&create);
    create->SetDescription(const_cast<LPOLESTR>(text));
    IErrorInfo* info = nullptr;
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    ::SetErrorInfo(0, info);
    info->Release();
    create->Release();
}

class CHost : public CWnd {
public:
    BOOL Make()
    {
        return CreateEx(WS_EX_TOPMOST, nullptr, "drop here", WS_POPUP | WS_VISIBLE, CRect(100, 100, 300, 300), nullptr,
                        0);
    }
};

class CProbeTarget : public COleDropTarget {
public:
    std::string events;
    std::string droppedText;
    CPoint lastPoint;
    CWnd* lastWnd = nullptr;
    bool throwOnDrop = false;

    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD, CPoint point) override
    {
        events += "enter ";
        lastWnd = wnd;
        lastPoint = point;
        return data->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD, CPoint point) override
    {
        if (events.empty() || events.compare(events.size() - 5, 5, "over ") != 0) events += "over ";
        lastWnd = wnd;
        lastPoint = point;
        return data->IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    void OnDragLeave(CWnd*) override { events += "leave "; }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT effect, CPoint point) override
    {
        events += "drop ";
        if (throwOnDrop) throw std::runtime_error("drop handler failed");
        lastPoint = point;
        HGLOBAL text = data->GetGlobalData(CF_TEXT);
        droppedText = TextOf(text);
        if (text) ::GlobalFree(text);
        return effect == DROPEFFECT_COPY;
    }
};

// Drops as soon as the drag has begun, whatever the mouse buttons say.
class CDropAtOnce : public IDropSource {
public:
    int queries = 0;
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
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override
    {
        return ++queries >= 2 ? DRAGDROP_S_DROP : S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

class CCountedSource : public COleDataSource {
public:
    static int destroyed;
    ~CCountedSource() override { ++destroyed; }
};
int CCountedSource::destroyed = 0;

std::string ClipboardText()
{
    if (!::OpenClipboard(nullptr)) return "<clipboard busy>";
    std::string text = TextOf(::GetClipboardData(CF_TEXT));
    ::CloseClipboard();
    return text;
}

}  // namespace

WTEST(com_support_types_raise_their_com_error)
{
    OleScope ole;
    bool caught = false;
    try {
        _variant_t v("not a number");
        v.ChangeType(VT_I4);
    } catch (const _com_error& e) {
        caught = true;
        WCHECK_EQ(e.Error(), DISP_E_TYPEMISMATCH);
        WCHECK(e.ErrorMessage() != nullptr);
    }
    WCHECK(caught);

    _variant_t number("42");
    number.ChangeType(VT_I4);
    WCHECK_EQ((long)number, 42L);

    // 8-bit text in code page 1252 and back, with the BSTR's own length.
    _bstr_t text("Gr\xFC\xDF" "e");
    WCHECK_EQ(text.length(), 5u);
    WCHECK(std::wstring((const wchar_t*)text) == L"Gr\u00FC\u00DF" L"e");
    WCHECK_EQ(std::string((const char*)text), std::string("Gr\xFC\xDF" "e"));
    _bstr_t joined = text + _bstr_t(" 1");
    WCHECK_EQ(std::string((const char*)joined), std::string("Gr\xFC\xDF" "e 1"));
    WCHECK(_bstr_t().length() == 0 && (const char*)_bstr_t() == nullptr);

    WCHECK_EQ(vtMissing.vt, VARTYPE(VT_ERROR));
    WCHECK_EQ(vtMissing.scode, DISP_E_PARAMNOTFOUND);

    // The object's error information rides along when it says it keeps some.
    CErrorSource source;
    SetErrorDescription(L"no workbook");
    caught = false;
    try {
        _com_issue_errorex(E_FAIL, &source, IID_IDispatch);
    } catch (const _com_error& e) {
        caught = true;
        WCHECK_EQ(e.Error(), E_FAIL);
        WCHECK_EQ(std::string((const char*)e.Description()), std::string("no workbook"));
    }
    WCHECK(caught);
    SetErrorDescription(L"not for this interface");
    caught = false;
    try {
        _com_issue_errorex(E_NOTIMPL, &source, IID_IUnknown);
    } catch (const _com_error& e) {
        caught = true;
        WCHECK_EQ(e.Error(), E_NOTIMPL);
        WCHECK(e.Description().length() == 0);
    }
    WCHECK(caught);
}

WTEST(a_drop_target_gets_enter_over_leave_and_drop)
{
    OleScope ole;
    WCHECK(SUCCEEDED(ole.hr));
    CHost host;
    WCHECK(host.Make());
    CProbeTarget target;
    WCHECK(target.Register(&host));
    WCHECK(target.m_hWnd == host.m_hWnd);
    WCHECK_EQ(::RegisterDragDrop(host.m_hWnd, target.GetDropTarget()), DRAGDROP_E_ALREADYREGISTERED);

    COleDataSource source;  // only dragged: it may live on the stack
    source.CacheGlobalData(CF_TEXT, TextMemory("dropped text"));
    IDropTarget* drop = target.GetDropTarget();
    POINTL at{150, 170};  // screen: (50, 70) in the window
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    WCHECK_EQ(drop->DragEnter(source.GetDataObject(), MK_LBUTTON, at, &effect), S_OK);
    WCHECK_EQ(effect, DWORD(DROPEFFECT_COPY));
    WCHECK(target.lastWnd == &host);
    WCHECK(target.lastPoint == CPoint(50, 70));
    effect = DROPEFFECT_MOVE;  // the source no longer allows a copy
    drop->DragOver(MK_LBUTTON, POINTL{160, 180}, &effect);
    WCHECK_EQ(effect, DWORD(DROPEFFECT_NONE));
    WCHECK(target.lastPoint == CPoint(60, 80));
    drop->DragLeave();
    effect = DROPEFFECT_COPY;
    drop->DragEnter(source.GetDataObject(), MK_LBUTTON, at, &effect);
    effect = DROPEFFECT_COPY;
    drop->Drop(source.GetDataObject(), 0, POINTL{170, 190}, &effect);
    WCHECK_EQ(effect, DWORD(DROPEFFECT_COPY));
    WCHECK_EQ(target.events, std::string("enter over leave enter over drop "));
    WCHECK_EQ(target.droppedText, std::string("dropped text"));
    WCHECK(target.lastPoint == CPoint(70, 90));

    // A handler's exception stops at the interface: nothing is dropped.
    unsigned stopped = AfxGetFirewallCount();
    target.throwOnDrop = true;
    effect = DROPEFFECT_COPY;
    drop->DragEnter(source.GetDataObject(), MK_LBUTTON, at, &effect);
    effect = DROPEFFECT_COPY;
    WCHECK_EQ(drop->Drop(source.GetDataObject(), 0, at, &effect), S_OK);
    WCHECK_EQ(effect, DWORD(DROPEFFECT_NONE));
    WCHECK_EQ(AfxGetFirewallCount(), stopped + 1);
    target.throwOnDrop = false;

    // A real drag in this process, dropped where the cursor is: over the window.
    target.events.clear();
    target.droppedText.clear();
    ::SetCursorPos(200, 200);
    CDropAtOnce dropAtOnce;
    WCHECK_EQ(source.DoDragDrop(DROPEFFECT_COPY, &dropAtOnce), DWORD(DROPEFFECT_COPY));
    WCHECK_EQ(target.droppedText, std::string("dropped text"));
    WCHECK(target.events.find("enter ") == 0);
    WCHECK(target.events.find("drop ") != std::string::npos);
    WCHECK(target.lastPoint == CPoint(100, 100));

    target.Revoke();
    WCHECK(target.m_hWnd == nullptr);
    WCHECK_EQ(::RegisterDragDrop(host.m_hWnd, target.GetDropTarget()), S_OK);
    ::RevokeDragDrop(host.m_hWnd);
}

WTEST(a_data_source_on_the_clipboard_renders_and_goes_with_it)
{
    OleScope ole;
    CCountedSource::destroyed = 0;
    auto* source = new CCountedSource;
    source->CacheGlobalData(CF_TEXT, TextMemory("copied text"));
    source->SetClipboard();  // the clipboard owns it now
    WCHECK_EQ(CCountedSource::destroyed, 0);
    WCHECK(::IsClipboardFormatAvailable(CF_TEXT));
    WCHECK_EQ(ClipboardText(), std::string("copied text"));
    COleDataObject clip;
    WCHECK(clip.AttachClipboard());
    WCHECK(clip.IsDataAvailable(CF_TEXT));
    WCHECK(!clip.IsDataAvailable(CF_BITMAP));
    HGLOBAL copy = clip.GetGlobalData(CF_TEXT);
    WCHECK_EQ(TextOf(copy), std::string("copied text"));
    if (copy) ::GlobalFree(copy);
    clip.Release();

    ::OleSetClipboard(nullptr);  // another content replaces it
    WCHECK_EQ(CCountedSource::destroyed, 1);

    // Flushed, the text stays on the clipboard without its source.
    source = new CCountedSource;
    source->CacheGlobalData(CF_TEXT, TextMemory("kept after flush"));
    source->SetClipboard();
    COleDataSource::FlushClipboard();
    WCHECK_EQ(CCountedSource::destroyed, 2);
    WCHECK_EQ(ClipboardText(), std::string("kept after flush"));
}

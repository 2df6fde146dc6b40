// The automation plumbing shared by the server's objects: a reference-counted
// IDispatch whose members are found by name (GetIDsOfNames, case-insensitive)
// and called through Invoke, and the reading of Invoke's arguments. Objects
// answer QueryInterface for IUnknown, IDispatch and their own interface id,
// which clients may ask for as a dual interface: only the IDispatch part of it
// is offered. Single-threaded apartment: each object is used on the thread
// that made it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace xl {

struct Member {
    const wchar_t* name;
    DISPID id;
};

// The arguments of one Invoke, in the caller's order (Invoke hands them reversed).
class Args {
public:
    explicit Args(DISPPARAMS* params) : m_params(params) {}
    // Positional arguments, not counting the value of a property put.
    UINT Count() const;
    // Argument i (null when not given or given as "missing").
    const VARIANT* Get(UINT i) const;
    // The value of a property put (null when there is none).
    const VARIANT* PutValue() const;

private:
    DISPPARAMS* m_params;
};

class DispObject : public IDispatch {
public:
    DispObject(const IID& iid, const Member* members);
    DispObject(const DispObject&) = delete;
    DispObject& operator=(const DispObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argErr) override;

protected:
    virtual ~DispObject();
    // One member call: flags as Invoke has them; result may be null.
    virtual HRESULT Call(DISPID id, WORD flags, const Args& args, VARIANT* result) = 0;

private:
    LONG m_refs = 1;
    const IID& m_iid;
    const Member* m_members;  // ends with a null name
};

// Puts a new reference to an object (the caller's reference is handed over)
// into a result variant, or drops it when there is no result.
HRESULT ReturnObject(IDispatch* object, VARIANT* result);
// Reads a variant as text, an integer, a real or a truth value (with the
// standard conversions); false when it cannot be converted.
bool ToText(const VARIANT& v, std::wstring& out);
bool ToInt(const VARIANT& v, long& out);
bool ToDouble(const VARIANT& v, double& out);
bool ToBool(const VARIANT& v, bool& out);

std::string Utf8(const std::wstring& w);
std::wstring Wide(const std::string& utf8);

// The error a spreadsheet gives for a call it refuses (bad name, bad range).
constexpr HRESULT kCallFailed = static_cast<HRESULT>(0x800A03ECL);

// Number of live objects, for DllCanUnloadNow.
LONG LiveObjects();

}  // namespace xl

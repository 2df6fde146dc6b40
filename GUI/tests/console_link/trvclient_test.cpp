// TrvClient.dll under Wine: loaded by name as the console loads it, its five
// exports looked up by name, and its contract checked against the scripted
// server on 127.0.0.1 (the same cases run natively in tests/console).
#include "wtest.h"

#include <cstdlib>
#include <windows.h>

#define CLIENT_CASE(name) WTEST(name)
#define CHECK(cond) WCHECK(cond)
#define CHECK_EQ(a, b) WCHECK_EQ(a, b)

bool ApiComplete();

// Registered first: without the library and its five exports every other
// test would crash rather than fail.
WTEST(TheLibraryLoadsByNameWithItsFiveExports)
{
    WCHECK(ApiComplete());
    if (!ApiComplete())
        std::exit(1);
}

#include "trvclient_cases.h"

namespace {

template <class Fn>
Fn Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

const TrvApi& Api()
{
    static const TrvApi api = [] {
        HMODULE module = LoadLibraryA("TrvClient");
        TrvApi a{};
        if (!module)
            return a;
        a.connect = Export<TrvConnectFn>(module, "fnConnect");
        a.send = Export<TrvSendStringFn>(module, "fnSendString");
        a.free = Export<TrvFreeMemFn>(module, "fnFreeMem");
        a.post = Export<TrvSendAsynchStringFn>(module, "fnSendAsynchString");
        a.disconnect = Export<TrvDisconnectFn>(module, "fnDisconnect");
        return a;
    }();
    return api;
}

void SetTestEnv(const char* name, const char* value)
{
    _putenv_s(name, value);
}

bool ApiComplete()
{
    return Api().connect && Api().send && Api().free && Api().post && Api().disconnect;
}

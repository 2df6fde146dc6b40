// TrvClient.dll under Wine against the real server (started by the native
// trv_link_fixture): synchronous requests per second, pipelined asynchronous
// replies per second, and the throughput of notifications that one console's
// changes push to another. Prints one "name value unit" line per figure.
//
//   build/tests/trv_link_fixture -- scripts/wine-run.sh -- build-win/bin/trvclient_bench.exe
//   (or: cmake --build build-win --target run_trvclient_bench)
#include "trv_client.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Api {
    TrvConnectFn connect;
    TrvSendStringFn send;
    TrvFreeMemFn free;
    TrvSendAsynchStringFn post;
    TrvDisconnectFn disconnect;
} api;

std::atomic<int> g_pongs{0};
std::atomic<int> g_items_a{0};

void Callback(const char* text, int id)
{
    if (std::strncmp(text, "<PONG", 5) == 0)
        ++g_pongs;
    else if (id == 0 && std::strncmp(text, "<TREEITEM", 9) == 0)
        ++g_items_a;
}

std::string Sync(int id, const std::string& request)
{
    char* reply = nullptr;
    api.send(id, request.c_str(), &reply);
    std::string text = reply ? reply : "";
    api.free(&reply);
    return text;
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

bool WaitFor(const std::atomic<int>& counter, int target, int seconds)
{
    const Clock::time_point until = Clock::now() + std::chrono::seconds(seconds);
    while (counter.load() < target) {
        if (Clock::now() > until)
            return false;
        Sleep(1);
    }
    return true;
}

template <class Fn>
Fn Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int main()
{
    const char* port_text = std::getenv("TRV_SERVER_PORT");
    HMODULE module = LoadLibraryA("TrvClient");
    if (!port_text || !module) {
        std::fprintf(stderr, "run under trv_link_fixture, beside TrvClient.dll\n");
        return 2;
    }
    api = {Export<TrvConnectFn>(module, "fnConnect"), Export<TrvSendStringFn>(module, "fnSendString"),
           Export<TrvFreeMemFn>(module, "fnFreeMem"), Export<TrvSendAsynchStringFn>(module, "fnSendAsynchString"),
           Export<TrvDisconnectFn>(module, "fnDisconnect")};
    const int port = std::atoi(port_text);
    const int a = api.connect(&Callback, "127.0.0.1", port);
    const int b = api.connect(&Callback, "127.0.0.1", port);
    const std::string login = "<LOGIN login=\"bench\" password=\"\" ConID=\"\" Type=\"Console\" HostId=\"\"/>";
    if (a != 0 || b != 1 || Sync(a, login).find("SESSION") == std::string::npos ||
        Sync(b, login).find("SESSION") == std::string::npos) {
        std::fprintf(stderr, "cannot log in\n");
        return 1;
    }

    const int sync_pings = 2000;
    Clock::time_point start = Clock::now();
    for (int i = 0; i < sync_pings; ++i)
        Sync(a, "<PING/>");
    std::printf("sync_ping_per_s %.0f requests/s\n", sync_pings / Seconds(start));

    const std::string added =
        Sync(a, "<ADDTREEITEM uid=\"13\" parent=\"-1\" type=\"0\" name=\"bench\"/>");
    const std::size_t at = added.find(" uid=\"");
    const std::string uid = added.substr(at + 6, added.find('"', at + 6) - at - 6);
    const int element_reads = 1000;
    start = Clock::now();
    for (int i = 0; i < element_reads; ++i)
        Sync(a, "<GETTREEELEMENT uid=\"" + uid + "\"/>");
    std::printf("sync_gettreeelement_per_s %.0f requests/s\n", element_reads / Seconds(start));

    const int async_pings = 20000;
    g_pongs = 0;
    start = Clock::now();
    for (int i = 0; i < async_pings; ++i)
        api.post(a, "<PING/>");
    if (!WaitFor(g_pongs, async_pings, 300))
        std::fprintf(stderr, "only %d of %d PONGs\n", g_pongs.load(), async_pings);
    std::printf("async_ping_replies_per_s %.0f replies/s\n", g_pongs.load() / Seconds(start));

    // b renames the folder again and again; every rename reaches a as a
    // TREEITEM notification (b's own copy goes to b's callback).
    const int renames = 2000;
    g_items_a = 0;
    start = Clock::now();
    for (int i = 0; i < renames; ++i)
        api.post(b, ("<CHANGEITEM uid=\"" + uid + "\" parent=\"-1\" type=\"0\" locked=\"0\" name=\"bench " +
                     std::to_string(i) + "\"/>").c_str());
    if (!WaitFor(g_items_a, renames, 300))
        std::fprintf(stderr, "only %d of %d notifications\n", g_items_a.load(), renames);
    std::printf("notifications_per_s %.0f notifications/s\n", g_items_a.load() / Seconds(start));

    api.disconnect(a);
    api.disconnect(b);
    return 0;
}

#include "link_fakes.h"

#include "connection_link.h"
#include "trv_client.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

FakeClientLibrary* FakeClientLibrary::current = nullptr;

namespace {

TrvReplyCallback g_callback = nullptr;

FakeClientLibrary& Lib()
{
    return *FakeClientLibrary::current;
}

int FakeConnect(TrvReplyCallback callback, const char*, int)
{
    FakeClientLibrary& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.m);
    g_callback = callback;
    return lib.connect_result < 0 ? lib.connect_result : lib.connect_result++;
}

int FakeSendString(int, const char* request, char** reply)
{
    FakeClientLibrary& lib = Lib();
    {
        std::lock_guard<std::mutex> lock(lib.m);
        lib.sync_requests.push_back(request);
    }
    *reply = nullptr;
    std::string text;
    if (lib.respond && lib.respond(request, text)) {
        *reply = static_cast<char*>(std::malloc(text.size() + 1));
        std::memcpy(*reply, text.c_str(), text.size() + 1);
        std::lock_guard<std::mutex> lock(lib.m);
        ++lib.live_replies;
    }
    return *reply ? 0 : -1;
}

void FakeFreeMem(char** reply)
{
    FakeClientLibrary& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.m);
    if (*reply) {
        --lib.live_replies;
        std::free(*reply);
        *reply = nullptr;
    }
    ++lib.frees;
}

int FakeSendAsynchString(int, const char* request)
{
    FakeClientLibrary& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.m);
    lib.async_requests.push_back(request);
    return 0;
}

void FakeDisconnect(int id)
{
    FakeClientLibrary& lib = Lib();
    std::lock_guard<std::mutex> lock(lib.m);
    lib.disconnected.push_back(id);
}

}  // namespace

FakeClientLibrary::FakeClientLibrary()
{
    current = this;
    g_callback = nullptr;
}

FakeClientLibrary::~FakeClientLibrary()
{
    current = nullptr;
}

void* FakeClientLibrary::Export(const char* name)
{
    std::lock_guard<std::mutex> lock(m);
    ++lookups[name];
    if (missing.count(name))
        return nullptr;
    const std::string n = name;
    if (n == "fnConnect")
        return reinterpret_cast<void*>(&FakeConnect);
    if (n == "fnSendString")
        return reinterpret_cast<void*>(&FakeSendString);
    if (n == "fnFreeMem")
        return reinterpret_cast<void*>(&FakeFreeMem);
    if (n == "fnSendAsynchString")
        return reinterpret_cast<void*>(&FakeSendAsynchString);
    if (n == "fnDisconnect")
        return reinterpret_cast<void*>(&FakeDisconnect);
    return nullptr;
}

void FakeClientLibrary::Notify(const std::string& text, int id)
{
    TrvReplyCallback callback;
    {
        std::lock_guard<std::mutex> lock(m);
        callback = g_callback;
    }
    // Before any fnConnect, the callback the link would have given.
    (callback ? callback : &OnAsyncResponse)(text.c_str(), id);
}

void RecordingSink::Record(const std::string& call)
{
    {
        std::lock_guard<std::mutex> lock(m_);
        if (std::this_thread::get_id() != gui_thread)
            off_gui_thread = true;
        calls_.push_back(call);
    }
    if (on_call)
        on_call(call);
}

std::vector<std::string> RecordingSink::Calls()
{
    std::lock_guard<std::mutex> lock(m_);
    return calls_;
}

void RecordingSink::PostLogLine(const std::string& text, bool alert)
{
    Record("log " + text + (alert ? " !" : ""));
}

void RecordingSink::OpenReport(int kind, const std::string& name)
{
    Record("report " + std::to_string(kind) + " " + name);
}

void RecordingSink::BroadcastDisconnect(int id)
{
    Record("disconnect " + std::to_string(id));
}

void RecordingSink::OnItemChanged(long uid, long parent, int id)
{
    Record("item " + std::to_string(uid) + " " + std::to_string(parent) + " " + std::to_string(id));
}

void RecordingSink::OnBranchRemoved(long uid, long parent, int id)
{
    Record("removed " + std::to_string(uid) + " " + std::to_string(parent) + " " + std::to_string(id));
}

std::string RecordingSink::OnSnmpOutput(long uid, const TiXmlElement& output, int id)
{
    int lines = 0;
    for (const TiXmlElement* ln = output.FirstChildElement("LN"); ln; ln = ln->NextSiblingElement("LN"))
        ++lines;
    Record("snmp " + std::to_string(uid) + " " + std::to_string(lines) + " " + std::to_string(id));
    return "snmp output written";
}

bool CountingPoster::PostDispatch()
{
    std::lock_guard<std::mutex> lock(m_);
    ++posts_;
    cv_.notify_all();
    return !fail;
}

int CountingPoster::Posts()
{
    std::lock_guard<std::mutex> lock(m_);
    return posts_;
}

bool CountingPoster::WaitPosts(int count, int seconds)
{
    std::unique_lock<std::mutex> lock(m_);
    return cv_.wait_for(lock, std::chrono::seconds(seconds), [&] { return posts_ >= count; });
}

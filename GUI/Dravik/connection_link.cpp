#include "connection_link.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "trv_client.h"

#include <tinyxml.h>

#include <cstdlib>
#include <stdexcept>

namespace {

// The process-wide link pointer and the callbacks that use it: the link's
// destructor clears the pointer and then waits for those under way.
std::mutex g_link_m;
std::condition_variable g_link_idle;
CConnectionLink* g_link = nullptr;  // guarded by g_link_m
int g_link_users = 0;               // guarded by g_link_m

const char* const disconnected = "<DISCONNECTED/>";

template <class Fn>
Fn Resolve(IClientLibrary& library, const char* name)
{
    if (!library.Loaded())
        return nullptr;
    return reinterpret_cast<Fn>(library.Export(name));
}

int IntAttribute(const TiXmlElement& element, const char* name)
{
    int value = 0;
    return element.QueryIntAttribute(name, &value) == TIXML_SUCCESS ? value : 0;
}

std::string TextAttribute(const TiXmlElement& element, const char* name)
{
    const char* value = element.Attribute(name);
    return value ? value : "";
}

// The names whose effect reaches the windows (the rest only feed the cache).
bool Dispatched(const std::string& name)
{
    for (const char* n : {"LOG", "ERROR", "TREEITEM", "REMOVEBRANCH", "SNMP_OUTPUT", "TABLE", "DISCONNECT"})
        if (name == n)
            return true;
    return false;
}

}  // namespace

std::string EscapeAttribute(const std::string& value)
{
    std::string out;
    out.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

CConnectionLink::CConnectionLink(const LinkServices& services, int log_watch_step_ms)
    : services_(services), log_(log_watch_step_ms)
{
    {
        std::lock_guard<std::mutex> lock(g_link_m);
        if (g_link)
            qr_exception("A connection link exists already");
        g_link = this;
    }
    SerializeSettings(false);
    // No file name is a log the user has not asked for, not a failure to tell.
    if (StartLog() != 0 && !log_.Settings().file_name.empty())
        services_.ui.ShowMessageBox("Could not create log file " + log_.Settings().file_name, 16);
}

CConnectionLink::~CConnectionLink()
{
    {
        std::unique_lock<std::mutex> lock(g_link_m);
        g_link = nullptr;
        g_link_idle.wait(lock, [] { return g_link_users == 0; });
    }
    {
        std::lock_guard<std::mutex> lock(cache_m_);
        cache_.Clear();
    }
    TRV_LOG(qr_Notice, "End writing to log. ConnectionLink is destroying.");
    StopLog();
}

int CConnectionLink::Connect(const std::string& server, int port, const std::string& login,
                             const std::string& password)
{
    if (!services_.library.Loaded())
        return -1001;
    TRV_LOG(qr_Notice, "Trying to connect with server " << server);
    auto connect = Resolve<TrvConnectFn>(services_.library, "fnConnect");
    if (!connect) {
        TRV_LOG(qr_Error, "Failed to get fnConnect from Dll");
        return -1002;
    }
    const int id = connect(&OnAsyncResponse, server.c_str(), port);
    if (id < 0)
        return id;
    TRV_LOG(qr_Notice, "Connection result: connection resource " << id << " was created");
    TRV_LOG(qr_Notice, "Logging in to server " << server);
    // Escaped: a quote in a login or password must not end the attribute.
    const std::string request = "<LOGIN login=\"" + EscapeAttribute(login) + "\" password=\"" +
                                EscapeAttribute(password) + "\" ConID=\"\" Type=\"Console\" HostId=\"\"/>";
    const std::string reply = SendSyncRequest(request, id, 1);
    if (reply.find("ERROR") != std::string::npos || reply.find("TIMEOUT") != std::string::npos) {
        TRV_LOG(qr_Notice, "Server refused to connect, cashing responce");
        OnAsyncResponse(reply.c_str(), id);
        TRV_LOG(qr_Notice, "Response cashed, disconnecting");
        Disconnect(id);
        TRV_LOG(qr_Notice, "Successfully disconnected from server");
        return -1004;
    }
    if (reply.find("DISCONNECTED") != std::string::npos) {
        TRV_LOG(qr_Notice, "Server terminated during logging in, cashing response");
        OnAsyncResponse("<LOG text='Server terminated connection abnormally'/>", id);
        // The library's connection is closed too, or it would live on unused.
        if (auto disconnect = Resolve<TrvDisconnectFn>(services_.library, "fnDisconnect"))
            disconnect(id);
        UpdateCache("<DISCONNECT/>", id);
        return -5;
    }
    return id;
}

int CConnectionLink::Disconnect(int id)
{
    auto disconnect = Resolve<TrvDisconnectFn>(services_.library, "fnDisconnect");
    if (!disconnect)
        return -1;
    disconnect(id);
    if (id >= 0)
        OnAsyncResponse("<LOG text='Server was disconnected'/>", id);
    UpdateCache("<DISCONNECT/>", id);
    return 0;
}

std::string CConnectionLink::SendSyncRequest(const std::string& request, int id, int mode)
{
    if (mode == 0)
        return AnswerFromCache(request, id);
    return SendToServer(request, id);
}

std::string CConnectionLink::SendToServer(const std::string& request, int id)
{
    auto send = Resolve<TrvSendStringFn>(services_.library, "fnSendString");
    if (send) {
        services_.ui.BeginWaitCursor();
        TRV_LOG(qr_Notice, "Sending request\n" << request << "\nto server " << id);
        {
            // From here until the reply is cached the callback waits, so a
            // notification is never cached before the reply that came ahead of it.
            std::lock_guard<std::mutex> lock(cache_m_);
            ++sync_busy_;
        }
        TRV_LOG(qr_Notice, "Starting a synchronic command to server");
        char* reply = nullptr;
        send(id, request.c_str(), &reply);
        services_.ui.EndWaitCursor();
        std::string copy;
        if (reply) {
            TRV_LOG(qr_Notice, "The responce result is:" << reply);
            copy = reply;
            if (auto free_reply = Resolve<TrvFreeMemFn>(services_.library, "fnFreeMem"))
                free_reply(&reply);
            else
                TRV_LOG(qr_Error, "Failed to get fnFreeMem from Dll: a reply was not released");
        }
        {
            std::lock_guard<std::mutex> lock(cache_m_);
            if (!copy.empty()) {
                TRV_LOG(qr_Notice, "Cashing synchronic response");
                cache_.Update(copy, id);
                TRV_LOG(qr_Notice, "Synchronic response successfully cashed");
            }
            --sync_busy_;
        }
        sync_idle_.notify_all();
        if (!copy.empty()) {
            if (copy.find("<TIMEOUT") != std::string::npos)
                OnAsyncResponse(
                    "<LOG text='Synchronization client-server error occurred: the request was timed out'/>", id);
            TRV_LOG(qr_Notice, "Return response to calling function");
            return copy;
        }
    }
    TRV_LOG(qr_Notice, "response failed - send DISCONNECTED message to calling function");
    return disconnected;
}

void CConnectionLink::SendAsyncRequest(const std::string& request, int id)
{
    TRV_LOG(qr_Notice, "Sending request\n" << request << "\nto server " << id);
    if (auto send = Resolve<TrvSendAsynchStringFn>(services_.library, "fnSendAsynchString"))
        send(id, request.c_str());
}

bool CConnectionLink::IsFailureResponse(const TiXmlElement* reply)
{
    if (!reply)
        return true;
    const std::string name = reply->ValueStr();
    for (const char* failure : {"ERROR", "DISCONNECTED", "TIMEOUT", "UPDATING_CASHE"})
        if (name.find(failure) != std::string::npos)
            return true;
    return false;
}

void CConnectionLink::UpdateCache(const std::string& reply, int id)
{
    std::lock_guard<std::mutex> lock(cache_m_);
    cache_.Update(reply, id);
}

std::string CConnectionLink::AnswerFromCache(const std::string& request, int id)
{
    std::string answer;
    bool answered;
    {
        std::lock_guard<std::mutex> lock(cache_m_);
        answered = cache_.Answer(request, id, answer);
    }
    return answered ? answer : SendToServer(request, id);
}

std::unique_ptr<TiXmlElement> CConnectionLink::GetCachedTable()
{
    std::lock_guard<std::mutex> lock(cache_m_);
    return cache_.CachedTable();
}

std::string CConnectionLink::CachedTreeText(int id)
{
    std::lock_guard<std::mutex> lock(cache_m_);
    return cache_.TreeText(id);
}

void OnAsyncResponse(const char* text, int id)
{
    CConnectionLink* link;
    {
        std::lock_guard<std::mutex> lock(g_link_m);
        link = g_link;
        if (!link || !text)
            return;
        ++g_link_users;
    }
    try {
        link->HandleResponse(text, id);
    } catch (const std::exception& e) {
        TRV_LOG(qr_Error, "A reply of connection " << id << " was lost: " << e.what());
    }
    {
        std::lock_guard<std::mutex> lock(g_link_m);
        --g_link_users;
    }
    g_link_idle.notify_all();
}

void CConnectionLink::HandleResponse(const std::string& text, int id)
{
    TRV_LOG(qr_Notice, "Asyncronical data " << text << " received from server " << id);
    {
        std::unique_lock<std::mutex> lock(cache_m_);
        sync_idle_.wait(lock, [this] { return sync_busy_ == 0; });
        TRV_LOG(qr_Notice, "Cashing asynchronic response");
        cache_.Update(text, id);
        TRV_LOG(qr_Notice, "Asynchronic response successfully cashed");
    }
    std::unique_ptr<TiXmlElement> element = ParseElement(text);
    if (!element) {
        TRV_LOG(qr_Error, "A reply of connection " << id << " holds no element: " << text);
        return;
    }
    if (!Dispatched(element->ValueStr())) {
        TRV_LOG(qr_Notice, "Successfully processed the asynchronic response");
        return;
    }
    // Nothing reaches windows that do not exist; the cache has it already.
    if (!services_.console.HasMainFrame()) {
        TRV_LOG(qr_Notice, "No main frame: " << element->ValueStr() << " of connection " << id << " dropped");
        return;
    }
    bool post;
    {
        std::lock_guard<std::mutex> lock(dispatch_m_);
        pending_.push_back(Notice{id, std::move(element)});
        post = !wake_posted_;
        wake_posted_ = true;
    }
    // One wake-up message covers the whole queue; a failed post is tried
    // again with the next notice, and nothing queued is lost meanwhile.
    if (post && !services_.poster.PostDispatch()) {
        TRV_LOG(qr_Error, "The GUI thread could not be woken for connection " << id);
        std::lock_guard<std::mutex> lock(dispatch_m_);
        wake_posted_ = false;
    }
}

void CConnectionLink::DispatchPending()
{
    std::deque<Notice> notices;
    {
        std::lock_guard<std::mutex> lock(dispatch_m_);
        notices.swap(pending_);
        wake_posted_ = false;
    }
    for (const Notice& notice : notices) {
        if (!services_.console.HasMainFrame())
            continue;
        Deliver(notice);
        TRV_LOG(qr_Notice, "Successfully processed the asynchronic response");
    }
}

void CConnectionLink::Deliver(const Notice& notice)
{
    const TiXmlElement& e = *notice.element;
    const std::string name = e.ValueStr();
    IConsoleSink& console = services_.console;
    if (name == "LOG") {
        TRV_LOG(qr_Notice, "Sending log on console");
        console.PostLogLine(TextAttribute(e, "text"), IntAttribute(e, "alert") != 0);
        TRV_LOG(qr_Notice, "Log sent");
    } else if (name == "ERROR") {
        TRV_LOG(qr_Notice, "Sending error log on console");
        console.PostLogLine(TextAttribute(e, "message"), IntAttribute(e, "alert") != 0);
        TRV_LOG(qr_Notice, "ERROR Log sent");
    } else if (name == "TREEITEM") {
        TRV_LOG(qr_Notice, "A TREEITEM responce is processing");
        console.OnItemChanged(IntAttribute(e, "uid"), IntAttribute(e, "parent"), notice.id);
        TRV_LOG(qr_Notice, "TREEITEM response processed");
    } else if (name == "REMOVEBRANCH") {
        TRV_LOG(qr_Notice, "A REMOVEBRANCH responce is processing");
        console.OnBranchRemoved(IntAttribute(e, "uid"), IntAttribute(e, "parent"), notice.id);
        TRV_LOG(qr_Notice, "REMOVEBRANCH response processed");
    } else if (name == "SNMP_OUTPUT") {
        TRV_LOG(qr_Notice, "A SNMP_OUTPUT responce is processing");
        const std::string line = console.OnSnmpOutput(IntAttribute(e, "uid"), e, notice.id);
        if (!line.empty())
            console.PostLogLine(line, false);
        TRV_LOG(qr_Notice, "SNMP_OUTPUT response processed");
    } else if (name == "TABLE") {
        TRV_LOG(qr_Notice, "A TABLE responce is processing");
        const int repid = IntAttribute(e, "repid");
        const int compid = IntAttribute(e, "compid");
        if (repid != 0 || compid != 0)
            console.OpenReport(repid != 0 ? 10 : 12, TextAttribute(e, "repname"));
        TRV_LOG(qr_Notice, "TABLE response processed");
    } else if (name == "DISCONNECT") {
        TRV_LOG(qr_Notice, "A DISCONNECT responce is processing");
        console.BroadcastDisconnect(notice.id);
        console.OnBranchRemoved(-1, -1, notice.id);
        TRV_LOG(qr_Notice, "DISCONNECT response processed");
    }
}

void CConnectionLink::SerializeSettings(bool save)
{
    log_.SerializeSettings(save, services_.settings.XmlSettingsRoot());
}

int CConnectionLink::StartLog()
{
    return log_.Start();
}

int CConnectionLink::StopLog()
{
    if (log_.Stop() != 0)
        return 1;
    SerializeSettings(true);
    return 0;
}

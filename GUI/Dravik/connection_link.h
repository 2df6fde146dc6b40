// CConnectionLink: the console's one path to its servers. It owns the use of
// the client library, connects and logs in, sends the console's requests
// synchronously or asynchronously, keeps the reply cache, takes the library's
// callback (OnAsyncResponse) and hands what must reach the windows to the GUI
// thread, and runs the connection log. Exactly one link exists per process,
// named by a process-wide pointer so that the callback, a plain function, can
// reach it.
//
// Threads: the GUI thread calls everything but OnAsyncResponse, which the
// client library calls on its threads (and the link itself on the GUI thread
// for texts of its own). The callback thread only caches and queues: the
// windows hear of a reply when the GUI thread, woken by IGuiPoster, calls
// DispatchPending. A synchronous send blocks the GUI thread for at most the
// client library's reply time-out; nothing the callback thread does can hold
// it longer.
//
// Locks, in order (never the other way round): the process-wide link lock
// (the pointer and its users, connection_link.cpp), then cache_m_ (the reply
// cache and the sync-busy count), then dispatch_m_ (the queue for the GUI
// thread). None is held while the library, the sink or the user interface is
// called.
#pragma once

#include "connection_log.h"
#include "link_interfaces.h"
#include "reply_cache.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TiXmlElement;

class CConnectionLink {
public:
    // Loads the log settings from the settings document and starts the log;
    // a log file that cannot be created is told in a message box. Throws
    // qr_exception_t when another link exists.
    explicit CConnectionLink(const LinkServices& services, int log_watch_step_ms = 500);
    // Ends the link: callbacks in progress finish first, later ones find no
    // link. Stops the log, which saves its settings.
    virtual ~CConnectionLink();
    CConnectionLink(const CConnectionLink&) = delete;
    CConnectionLink& operator=(const CConnectionLink&) = delete;

    // Connects and logs in: a connection id (0 or more), or -1001 no library,
    // -1002 no fnConnect, the library's own negative code, -1004 log-in
    // refused (the connection is closed again), -5 server gone during the
    // log-in (the connection is closed too).
    int Connect(const std::string& server, int port, const std::string& login, const std::string& password);
    // -1 when the library or fnDisconnect is missing, else 0.
    int Disconnect(int id);
    // The reply text, never empty: "<DISCONNECTED/>" when the exchange failed.
    // Mode 0 answers from the cache when it can, mode 1 always asks the server.
    std::string SendSyncRequest(const std::string& request, int id, int mode);
    void SendAsyncRequest(const std::string& request, int id);
    // The root's name contains ERROR, DISCONNECTED, TIMEOUT or UPDATING_CASHE.
    static bool IsFailureResponse(const TiXmlElement* reply);

    // The console's requests. Synchronous ones return the reply's root (a
    // DISCONNECTED element when the exchange failed); the caller owns it.
    std::unique_ptr<TiXmlElement> GetTreeSibling(long root, int id);
    std::unique_ptr<TiXmlElement> GetTreeElement(long uid, int id);
    std::unique_ptr<TiXmlElement> GetTable(long tabid, int id);
    std::unique_ptr<TiXmlElement> GetReportTree(int id);
    std::unique_ptr<TiXmlElement> StartSearch(const std::string& value, bool by_name, int id);
    std::unique_ptr<TiXmlElement> AddTreeItem(const TiXmlElement& item, int id);
    std::unique_ptr<TiXmlElement> GetServerInfo(int id);
    void CreateReport(long type, long root, int id);
    void Compare(long uid1, long uid2, int id);
    int RemoveBranch(int uid, int id);
    int Scan(int uid, int id);
    int CancelScan(int uid, int id);
    int GetSnmpOutput(int uid, int id);
    int ChangeItem(const TiXmlElement& item, int id);
    // `info` is the settings holder's SERVERINFO element; it is sent renamed
    // SETSERVERINFO and keeps that name, as the holder's element always has.
    void SetServerInfo(TiXmlElement& info, int id);
    // A provisional uid for a new item: the C runtime's rand() plus 13.
    static long TemporaryUid();

    // The reply cache (every call holds the cache lock).
    void UpdateCache(const std::string& reply, int id);
    // The mode-0 path: the cache's answer, else the server's.
    std::string AnswerFromCache(const std::string& request, int id);
    std::unique_ptr<TiXmlElement> GetCachedTable();
    std::string CachedTreeText(int id);

    // GUI thread, when woken by IGuiPoster: hands every queued reply and
    // notification to the console sink, in arrival order.
    void DispatchPending();

    // The connection log.
    TConnectionLogSettings& LogSettings() { return log_.Settings(); }
    void SerializeSettings(bool save);
    int StartLog();
    int StopLog();

    // The link's part of OnAsyncResponse.
    void HandleResponse(const std::string& text, int id);

private:
    struct Notice {
        int id;
        std::unique_ptr<TiXmlElement> element;
    };

    std::string SendToServer(const std::string& request, int id);
    std::unique_ptr<TiXmlElement> SyncElement(const std::string& request, int id, int mode);
    void Deliver(const Notice& notice);

    LinkServices services_;
    CConnectionLog log_;

    std::mutex cache_m_;
    std::condition_variable sync_idle_;
    ReplyCache cache_;   // guarded by cache_m_
    int sync_busy_ = 0;  // guarded by cache_m_: synchronous sends under way

    std::mutex dispatch_m_;
    std::deque<Notice> pending_;  // guarded by dispatch_m_
    bool wake_posted_ = false;    // guarded by dispatch_m_
};

// The client library's callback: caches the text and queues its effect for
// the GUI thread. Without a link the text is dropped.
void OnAsyncResponse(const char* text, int id);

// The path of an item from the top level (-1) down to it, by GETTREEELEMENT
// up the parent chain. False when a reply failed or the chain loops: the list
// is then left as far as it was filled, from the item upwards.
bool PathOfItem(CConnectionLink& link, std::vector<long>& path, long uid, int id);

// An attribute value as XML text (& < > " ' escaped), for the requests that
// are written by hand.
std::string EscapeAttribute(const std::string& value);

// A stand-in for the server's services that records everything pushed to
// consoles and every call, for tests of code that calls the free functions of
// services.h. Lookups answer from what the test set: data sources by key, item
// titles, the server host, and a fixed time text so that LOG texts are exact.
//
// Install it with ScopedServerServices for the life of a test. Calls may come
// from any thread; the records are guarded by one mutex and read as copies.
#pragma once

#include "qr_sync.h"
#include "services.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class RecordingServices : public ServerServices {
public:
    // One element as it left: printed XML, and to whom.
    struct Push {
        TRVConnector* connector;  // the one receiver, or none for a broadcast
        std::string client_type;  // the audience of a broadcast
        std::string xml;
    };
    // A call that the stand-in cannot carry out itself (it has no loader).
    struct Call {
        std::string name;  // "BroadcastTreeItem", "SendTreeItem" or "SendTreeItemList"
        int uid;
        int value;  // the flag of BroadcastTreeItem, the value of SendTreeItemList
        std::string client_type;
        int synch;
        TRVConnector* connector;
        Job* job;
    };

    static constexpr const char* kTimeText = "12/31/2025 23:59:58";

    DataLoader* GetDataSource(const std::string& client_type) override;
    DataLoader* GetAdminDataSource() override;
    qr_mutex& GetDatabaseMutex() override { return database_mutex_; }
    std::string GetServerHost() override;
    std::string GetItemTitle(const std::string& client_type, int uid) override;
    std::string CurrentTimeText() override { return kTimeText; }
    void SendTo(TRVConnector* connector, const TiXmlElement& element) override;
    void SendToClientsOfType(const TiXmlElement& element, const std::string& client_type) override;
    void BroadcastTreeItem(Job* job, int flag) override;
    int SendTreeItem(int uid, const std::string& client_type, TRVConnector* connector,
                     int synch) override;
    void SendTreeItemList(int uid, int value, const std::string& client_type, int synch,
                          TRVConnector* connector) override;

    void set_data_source(const std::string& key, DataLoader* loader);
    void set_server_host(const std::string& host);
    void set_item_title(const std::string& client_type, int uid, const std::string& title);

    std::vector<Push> pushes() const;
    std::vector<Call> calls() const;
    // The text attribute of every LOG pushed, in order.
    std::vector<std::string> log_texts() const;
    void clear();

private:
    void record(TRVConnector* connector, const std::string& client_type,
                const TiXmlElement& element);

    qr_mutex database_mutex_;
    mutable std::mutex m_;
    std::map<std::string, DataLoader*> sources_;             // guarded by m_
    std::map<std::pair<std::string, int>, std::string> titles_;  // guarded by m_
    std::string server_host_ = "localhost";                  // guarded by m_
    std::vector<Push> pushes_;                               // guarded by m_
    std::vector<Call> calls_;                                // guarded by m_
};

// Installs the services for one scope and puts the previous ones back.
class ScopedServerServices {
public:
    explicit ScopedServerServices(ServerServices& services)
        : previous_(SetServerServices(&services)) {}
    ~ScopedServerServices() { SetServerServices(previous_); }
    ScopedServerServices(const ScopedServerServices&) = delete;
    ScopedServerServices& operator=(const ScopedServerServices&) = delete;

private:
    ServerServices* previous_;
};

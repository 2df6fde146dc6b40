// The one server object of the process: its start-up, its data sources (one
// connection pool and one DataLoader per database, under "ADMIN" and under
// each client type), the session registry, the run flag, and the services
// that the inventory code and the scanner call (services.h).
//
// Ownership: data sources are held by shared_ptr. Handlers take a shared hold
// for the length of a request; a replaced or closed source is kept until the
// server object goes, so a raw loader handed out through GetDataSource stays
// valid for every thread that still has it.
//
// Threads: Init and Run run on the main thread; Stop on any thread (the
// signal watcher); look-ups, registry calls and senders on any thread.
// The open mutex serialises the opening of data sources. Lock order: qr_sync.h.
#pragma once

#include "qr_config.h"
#include "qr_pool.h"
#include "qr_sync.h"
#include "services.h"
#include "session.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class DataLoader;

struct DataSource {
    DataSource() = default;
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    std::unique_ptr<MSSQLPool> pool;
    std::unique_ptr<DataLoader> loader;  // gives its connection back before the pool goes
};

// Exit codes of the server process besides 0 (clean stop).
constexpr int exit_listen_failed = 4;
constexpr int exit_scanner_failed = 3;
// The most ping or SNMP worker threads the settings may ask for.
constexpr int max_worker_threads = 256;

class TRVServer : public ServerServices {
public:
    explicit TRVServer(const TinyConfig& section);
    ~TRVServer() override;
    TRVServer(const TRVServer&) = delete;
    TRVServer& operator=(const TRVServer&) = delete;

    // The start-up: ODBC folder, administration data source, log level.
    // Returns 0, or the process exit code of a start-up that cannot go on.
    int Init();
    // Listens and waits for Stop. Returns 0 after a stop, exit_listen_failed
    // when the listening address cannot be had.
    int Run();
    // Safe from any thread, any number of times, also before Run.
    void Stop();

    // Opens the administration database; false (old entry kept) on failure.
    bool OpenAdminDataSource(const std::string& dsn, const std::string& login, const std::string& password);
    // Makes the client type's database ready and opens it unless it is open.
    // Throws qr_exception_t with the reason; the server goes on.
    void OpenUserDataSource(const std::string& client_type);
    // Takes the client type's source out of the map; users keep it alive.
    void CloseDataSource(const std::string& client_type);
    // Under the map mutex; none (logged at Error) when the key is absent.
    std::shared_ptr<DataLoader> FindDataSource(const std::string& key);
    std::shared_ptr<DataLoader> FindAdminDataSource();

    SessionRegistry& Sessions() { return sessions_; }

    // ServerServices
    DataLoader* GetDataSource(const std::string& client_type) override;
    DataLoader* GetAdminDataSource() override;
    qr_mutex& GetDatabaseMutex() override { return loader_mutex_; }
    std::string GetServerHost() override;
    std::string GetItemTitle(const std::string& client_type, int uid) override;
    std::string CurrentTimeText() override;
    void SendTo(TRVConnector* connector, const TiXmlElement& element) override;
    void SendToClientsOfType(const TiXmlElement& element, const std::string& client_type) override;
    void BroadcastTreeItem(Job* job, int flag) override;
    int SendTreeItem(int uid, const std::string& client_type, TRVConnector* connector, int synch) override;
    void SendTreeItemList(int uid, int value, const std::string& client_type, int synch,
                          TRVConnector* connector) override;

private:
    std::shared_ptr<DataSource> MakeDataSource(int size, const std::string& dsn, const std::string& login,
                                               const std::string& password);
    // Puts `source` under `key`; the one it replaces is kept in retired_.
    void Install(const std::string& key, std::shared_ptr<DataSource> source);
    std::shared_ptr<DataLoader> Lookup(const std::string& key, bool log_absent);

    TinyConfig section_;
    std::map<std::string, std::shared_ptr<DataSource>> sources_ GUARDED_BY(map_mutex_);
    std::vector<std::shared_ptr<DataSource>> retired_ GUARDED_BY(map_mutex_);
    qr_mutex loader_mutex_;  // held by every loader for a whole query
    qr_mutex map_mutex_;     // guards sources_ and retired_
    qr_mutex open_mutex_;    // one data source is opened at a time
    SessionRegistry sessions_;
    qr_mutex run_mutex_;
    qr_condition run_changed_;
    bool running_ GUARDED_BY(run_mutex_) = true;
};

// The process-wide server, set when its start-up begins; none before.
TRVServer* GetServer();
// What consoles are told while the administration data source is not open:
// no scan can read the mapping tables and no report can be listed.
std::string AdminNotOpenText();
// Taken by data-source look-ups (lock order: qr_sync.h).
qr_mutex& GlobalServerMutex();

#include "trv_server.h"

#include "scanner.h"

#include <climits>

#include <algorithm>

#include "connector.h"
#include "datasource_files.h"
#include "datasource_odbcinst.h"
#include "dialect.h"
#include "dispatcher.h"
#include "loader.h"
#include "progdir.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_payload.h"
#include "qr_server_frame.h"
#include "qr_settings.h"
#include "qr_socket.h"
#include "server_settings.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <tinyxml.h>

namespace {

std::atomic<TRVServer*> g_server{nullptr};

std::string DefaultAdminPasswordPayload()
{
    for (const SettingDefault& d : ServerSettingDefaults())
        if (d.name == "AdminDBPassword")
            return CompressPayload(d.text, true);
    return std::string();
}

}  // namespace

TRVServer* GetServer()
{
    return g_server.load();
}

std::string AdminNotOpenText()
{
    return "The administration data source '" + ReadRegistryStringDefault("AdminDBDSN", "TarvaneSrvAdmin") +
           "' is not open: scans cannot read the mapping tables and reports cannot be listed. See the server's log.";
}

qr_mutex& GlobalServerMutex()
{
    static qr_mutex global;
    return global;
}

DataSource::~DataSource()
{
    loader.reset();
    pool.reset();
}

TRVServer::TRVServer(const TinyConfig& section) : section_(section) {}

TRVServer::~TRVServer()
{
    if (g_server.load() == this)
        g_server.store(nullptr);
    if (GetServerServices() == this)
        SetServerServices(nullptr);
}

int TRVServer::Init()
{
    g_server.store(this);
    SetServerServices(this);

    const std::string folder = GetProgramFolder();
    try {
        odbc_use_ini_folder(odbc_ini_folder(folder));
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Emergency, "Cannot prepare the ODBC folder [" << e.message() << "]");
        return 1;
    }

    const std::string dsn = ReadRegistryStringDefault("AdminDBDSN", "TarvaneSrvAdmin");
    const std::string login = ReadRegistryStringDefault("AdminDBLogin", "");
    const std::string password =
        DecompressPayload(ReadRegistryStringDefault("AdminDBPassword", DefaultAdminPasswordPayload()), true);

    const std::string file = folder + "/" + admin_database_file;
    TRV_LOG(qr_Info, "Creating ODBC Data Source..");
    const int registered = register_admin_data_source(folder, dsn);
    if (!SqlDialect::for_dsn(dsn).keeps_files())
        TRV_LOG(qr_Info, "Data source '" << dsn << "' is the " << describe_data_source(dsn) << ".");
    else if (registered >= 1)
        TRV_LOG(qr_Info, "Data source '" << dsn << "' created [" << file << "].");
    else
        TRV_LOG(qr_Info, "Error creating data source '" << dsn << "' [" << file << "].");
    // Without it the server still serves; a working SETSERVERINFO installs one.
    if (OpenAdminDataSource(dsn, login, password))
        TRV_LOG(qr_Info, "Administration data source '" << dsn << "' is open.");
    else
        TRV_LOG(qr_Critical, "The administration data source '"
                                 << dsn << "' (" << describe_data_source(dsn)
                                 << ") is not open: scans cannot read the mapping tables and reports cannot be "
                                    "listed until it opens. The server logs in to it as "
                                 << (login.empty() ? "the data source's Username" : "AdminDBLogin '" + login + "'")
                                 << " with the password of the setting AdminDBPassword (the data source's "
                                    "Password when that setting holds the empty password).");

    set_errorlevel(ReadRegistryInt("LogLevel", -1));

    // A scanner that cannot start ends start-up: a server that accepts scans
    // it can never run would report failure as success.
    try {
        // Settings are clamped so a damaged value cannot start thousands of
        // threads; the time-out product is formed wide, as it may overflow.
        auto workers = [](const char* name) {
            int n = ReadRegistryInt(name, 1);
            int clamped = n < 1 ? 1 : (n > max_worker_threads ? max_worker_threads : n);
            if (clamped != n)
                TRV_LOG(qr_Warning, name << " " << n << " is out of range; using " << clamped);
            return clamped;
        };
        const long long timeout_us = static_cast<long long>(ReadRegistryInt("SNMPTimeout", -1)) * 1000000LL;
        scanner_init(workers("PingThreads"), workers("ScanThreads"), ReadRegistryInt("SNMPRetries", -1),
                     static_cast<int>(std::clamp<long long>(timeout_us, INT_MIN, INT_MAX)));
    } catch (const std::exception& e) {
        TRV_LOG(qr_Emergency, "Could not initialize scaner [" << e.what() << "]");
        return exit_scanner_failed;
    } catch (...) {
        TRV_LOG(qr_Emergency, "Could not initialize scaner");
        return exit_scanner_failed;
    }

    compact_all_data_databases();
    return 0;
}

int TRVServer::Run()
{
    const std::string host = ReadRegistryStringDefault("ServerHost", "localhost");
    const std::string port = ReadRegistryStringDefault("ServerPort", "5432");
    // Bound here, not on the accept thread, which would only log a failed
    // bind and end; the bound socket is handed over, never bound twice.
    std::unique_ptr<Server_socket> listener;
    try {
        listener = std::make_unique<Server_socket>(host, port);
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Could not run TARVANE SERVER [" << host << ":" << port << ": " << e.message() << "]");
        return exit_listen_failed;
    }
    run_servers(section_, "TRV", ServeConnection, std::move(listener));

    qr_automutex hold(run_mutex_);
    while (running_)
        run_changed_.wait_until(run_mutex_, std::chrono::steady_clock::now() + std::chrono::milliseconds(5000));
    return 0;
}

void TRVServer::Stop()
{
    {
        qr_automutex hold(run_mutex_);
        running_ = false;
    }
    run_changed_.notify_all();
}

std::shared_ptr<DataSource> TRVServer::MakeDataSource(int size, const std::string& dsn, const std::string& login,
                                                      const std::string& password)
{
    auto source = std::make_shared<DataSource>();
    source->pool.reset(MSSQLPool_ctor(size, dsn, dsn, login, password));
    if (!source->pool)
        qr_exception("Cannot make the connection pool of %s", dsn.c_str());
    source->pool->open_all();
    source->loader = std::make_unique<DataLoader>(source->pool.get(), &loader_mutex_, true);
    return source;
}

void TRVServer::Install(const std::string& key, std::shared_ptr<DataSource> source)
{
    qr_automutex hold(map_mutex_);
    auto it = sources_.find(key);
    if (it != sources_.end()) {
        retired_.push_back(std::move(it->second));
        it->second = std::move(source);
    } else {
        sources_.emplace(key, std::move(source));
    }
}

bool TRVServer::OpenAdminDataSource(const std::string& dsn, const std::string& login, const std::string& password)
{
    qr_automutex opening(open_mutex_);
    try {
        Install("ADMIN", MakeDataSource(ReadRegistryInt("AdminDBMaxConn", 10), dsn, login, password));
        return true;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Cannot open the administration data source " << dsn << " [" << e.message() << "]");
        return false;
    }
}

void TRVServer::OpenUserDataSource(const std::string& client_type)
{
    qr_automutex opening(open_mutex_);
    {
        qr_automutex hold(map_mutex_);
        if (sources_.count(client_type))
            return;
    }
    const std::string folder = GetProgramFolder();
    const std::string admin_dsn = ReadRegistryStringDefault("AdminDBDSN", "TarvaneSrvAdmin");
    MadeClientSource made;
    const std::string dsn = prepare_client_data_source(folder, admin_dsn, client_type, &made);
    std::shared_ptr<DataSource> source;
    try {
        source = MakeDataSource(ReadRegistryInt("UserDBMaxConn", 10), dsn, "", "");
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Failed to initialize database connection Pool. Reason is [" << e.message() << "]");
        // The login is refused: a data source or file made for it would only
        // be found, unusable, by the next login of the type.
        source.reset();
        forget_client_data_source(made);
        throw;
    }
    TRV_LOG(qr_Info, "Successfully connected to data source " << dsn);
    // First use in this process: no scan of this inventory can be running
    // yet, so whatever a previous run left unfinished is marked as such.
    DataLoader::compact_database(source->loader.get(), SqlDialect::for_dsn(dsn));
    DataLoader::reset_after_start(source->loader.get());
    Install(client_type, std::move(source));
}

void TRVServer::CloseDataSource(const std::string& client_type)
{
    qr_automutex hold(map_mutex_);
    auto it = sources_.find(client_type);
    if (it == sources_.end())
        return;
    retired_.push_back(std::move(it->second));
    sources_.erase(it);
}

std::shared_ptr<DataLoader> TRVServer::Lookup(const std::string& key, bool log_absent)
{
    std::shared_ptr<DataSource> source;
    {
        qr_automutex hold(map_mutex_);
        auto it = sources_.find(key);
        if (it != sources_.end())
            source = it->second;
    }
    if (!source) {
        if (log_absent)
            TRV_LOG(qr_Error, "Can not get data source by key " << key);
        return nullptr;
    }
    DataLoader* loader = source->loader.get();
    return std::shared_ptr<DataLoader>(std::move(source), loader);
}

std::shared_ptr<DataLoader> TRVServer::FindDataSource(const std::string& key)
{
    return Lookup(key, true);
}

std::shared_ptr<DataLoader> TRVServer::FindAdminDataSource()
{
    return Lookup("ADMIN", false);
}

DataLoader* TRVServer::GetDataSource(const std::string& client_type)
{
    qr_automutex hold(GlobalServerMutex());
    return Lookup(client_type, false).get();  // retired sources live on: the pointer stays valid
}

DataLoader* TRVServer::GetAdminDataSource()
{
    qr_automutex hold(GlobalServerMutex());
    return Lookup("ADMIN", false).get();
}

std::string TRVServer::GetServerHost()
{
    return ReadRegistryStringDefault("ServerHost", "");
}

std::string TRVServer::CurrentTimeText()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", local.tm_mon + 1, local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

void TRVServer::SendTo(TRVConnector* connector, const TiXmlElement& element)
{
    if (connector != nullptr)
        connector->Send(element);
}

void TRVServer::SendToClientsOfType(const TiXmlElement& element, const std::string& client_type)
{
    // A plain copy of the audience: no lock is held while sending, so a
    // console that stops reading holds up only its own sends (which time out).
    const ConnectorSnapshot audience = sessions_.Snapshot();
    for (const RegistryEntry& entry : audience.entries())
        if (entry.client_type == client_type)
            entry.connector->Send(element);
}

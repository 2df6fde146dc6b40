// The settings of a connected server as the console's server property pages
// edit them: CServerAdmin fetches the server's SERVERINFO record into a
// TServerSettings and sends an edited record back (SETSERVERINFO, no answer
// awaited). GUI thread; the admin uses the link it is given, which must
// outlive it.
#pragma once

#include <memory>
#include <string>
#include <vector>

class CConnectionLink;
class TiXmlElement;

struct TServerSettings {
    std::vector<std::string> admin_db_types;
    int admin_db_type = 0;  // index of the selected type
    std::string admin_server, admin_database, admin_login, admin_password;
    int admin_max_connections = 0;
    std::vector<std::string> user_db_types;
    int user_db_type = 0;
    std::string user_server, user_database, user_login, user_password;
    int user_max_connections = 0;
    int ping_threads = 0, ping_retries = 0, ping_timeout = 0;
    int scan_threads = 0, scan_retries = 0, scan_timeout = 0;
    std::string log_file;
    int log_level = 0, log_size = 0, log_keep = 0;
    std::string listener_server, listener_interface;
    int port = 0, max_requests = 0;
    std::string version;
};

class IServerAdmin {
public:
    virtual ~IServerAdmin() = default;
    // The server's settings; an empty record when it does not answer.
    virtual TServerSettings ParseServerInfo(int id) = 0;
    // Sends the record to the server.
    virtual void BuildServerInfo(TServerSettings settings, int id) = 0;
};

class CServerAdmin : public IServerAdmin {
public:
    static std::unique_ptr<CServerAdmin> Create(CConnectionLink& link);
    explicit CServerAdmin(CConnectionLink& link) : link_(link) {}

    TServerSettings ParseServerInfo(int id) override;
    void BuildServerInfo(TServerSettings settings, int id) override;

    // The two halves without traffic.
    static void FillFromServerInfo(const TiXmlElement& info, TServerSettings& settings);
    static std::unique_ptr<TiXmlElement> ServerInfoOf(const TServerSettings& settings);

private:
    CConnectionLink& link_;
};

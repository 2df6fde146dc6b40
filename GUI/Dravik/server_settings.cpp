#include "server_settings.h"

#include "connection_link.h"

#include <tinyxml.h>

namespace {

void ReadText(const TiXmlElement& e, const char* name, std::string& value)
{
    const char* text = e.Attribute(name);
    value = text ? text : "";
}

// A missing or non-numeric attribute keeps the field.
void ReadNumber(const TiXmlElement& e, const char* name, int& value)
{
    int read = 0;
    if (e.QueryIntAttribute(name, &read) == TIXML_SUCCESS)
        value = read;
}

void ReadDatabase(const TiXmlElement& e, std::vector<std::string>& types, int& selected, std::string& server,
                  std::string& database, std::string& login, std::string& password, int& max_connections)
{
    int position = 0;
    for (const TiXmlElement* type = e.FirstChildElement("DBTYPE"); type; type = type->NextSiblingElement("DBTYPE")) {
        std::string name;
        ReadText(*type, "typename", name);
        types.push_back(name);
        int chosen = 0;
        ReadNumber(*type, "selected", chosen);
        if (chosen != 0)
            selected = position;
        ++position;
    }
    ReadText(e, "server", server);
    ReadText(e, "database", database);
    ReadText(e, "login", login);
    ReadText(e, "password", password);
    ReadNumber(e, "maxcon", max_connections);
}

TiXmlElement Database(const char* name, const std::vector<std::string>& types, int selected,
                      const std::string& server, const std::string& database, const std::string& login,
                      const std::string& password, int max_connections)
{
    TiXmlElement e(name);
    e.SetAttribute("server", server.c_str());
    e.SetAttribute("database", database.c_str());
    e.SetAttribute("login", login.c_str());
    e.SetAttribute("password", password.c_str());
    e.SetAttribute("maxcon", max_connections);
    for (std::size_t i = 0; i < types.size(); ++i) {
        TiXmlElement type("DBTYPE");
        type.SetAttribute("typename", types[i].c_str());
        type.SetAttribute("selected", static_cast<int>(i) == selected ? "1" : "0");
        e.InsertEndChild(type);
    }
    return e;
}

}  // namespace

std::unique_ptr<CServerAdmin> CServerAdmin::Create(CConnectionLink& link)
{
    return std::make_unique<CServerAdmin>(link);
}

TServerSettings CServerAdmin::ParseServerInfo(int id)
{
    TServerSettings settings;
    std::unique_ptr<TiXmlElement> reply = link_.GetServerInfo(id);
    if (CConnectionLink::IsFailureResponse(reply.get()))
        return settings;
    FillFromServerInfo(*reply, settings);
    return settings;
}

void CServerAdmin::FillFromServerInfo(const TiXmlElement& info, TServerSettings& s)
{
    ReadText(info, "version", s.version);
    for (const TiXmlElement* c = info.FirstChildElement(); c; c = c->NextSiblingElement()) {
        const std::string name = c->ValueStr();
        if (name == "ADMINDB") {
            ReadDatabase(*c, s.admin_db_types, s.admin_db_type, s.admin_server, s.admin_database, s.admin_login,
                         s.admin_password, s.admin_max_connections);
        } else if (name == "USERDB") {
            ReadDatabase(*c, s.user_db_types, s.user_db_type, s.user_server, s.user_database, s.user_login,
                         s.user_password, s.user_max_connections);
        } else if (name == "CONNECTIONS") {
            ReadText(*c, "server", s.listener_server);
            ReadText(*c, "interface", s.listener_interface);
            ReadNumber(*c, "port", s.port);
            ReadNumber(*c, "maxrequests", s.max_requests);
        } else if (name == "SCANINFO") {
            ReadNumber(*c, "pingthreads", s.ping_threads);
            ReadNumber(*c, "scanthreads", s.scan_threads);
            ReadNumber(*c, "pingretries", s.ping_retries);
            ReadNumber(*c, "scanretries", s.scan_retries);
            ReadNumber(*c, "pingtimeout", s.ping_timeout);
            ReadNumber(*c, "scantimeout", s.scan_timeout);
        } else if (name == "LOGINFO") {
            ReadText(*c, "file", s.log_file);
            ReadNumber(*c, "loglevel", s.log_level);
            ReadNumber(*c, "logsize", s.log_size);
            ReadNumber(*c, "logkeep", s.log_keep);
        }
    }
}

std::unique_ptr<TiXmlElement> CServerAdmin::ServerInfoOf(const TServerSettings& s)
{
    auto info = std::make_unique<TiXmlElement>("SERVERINFO");
    info->SetAttribute("version", s.version.c_str());
    TiXmlElement log("LOGINFO");
    log.SetAttribute("file", s.log_file.c_str());
    log.SetAttribute("loglevel", s.log_level);
    log.SetAttribute("logsize", s.log_size);
    log.SetAttribute("logkeep", s.log_keep);
    info->InsertEndChild(log);
    TiXmlElement scan("SCANINFO");
    scan.SetAttribute("pingthreads", s.ping_threads);
    scan.SetAttribute("scanthreads", s.scan_threads);
    scan.SetAttribute("pingretries", s.ping_retries);
    scan.SetAttribute("scanretries", s.scan_retries);
    scan.SetAttribute("pingtimeout", s.ping_timeout);
    scan.SetAttribute("scantimeout", s.scan_timeout);
    info->InsertEndChild(scan);
    TiXmlElement connections("CONNECTIONS");
    connections.SetAttribute("server", s.listener_server.c_str());
    connections.SetAttribute("interface", s.listener_interface.c_str());
    connections.SetAttribute("port", s.port);
    connections.SetAttribute("maxrequests", s.max_requests);
    info->InsertEndChild(connections);
    info->InsertEndChild(Database("ADMINDB", s.admin_db_types, s.admin_db_type, s.admin_server, s.admin_database,
                                  s.admin_login, s.admin_password, s.admin_max_connections));
    info->InsertEndChild(Database("USERDB", s.user_db_types, s.user_db_type, s.user_server, s.user_database,
                                  s.user_login, s.user_password, s.user_max_connections));
    return info;
}

void CServerAdmin::BuildServerInfo(TServerSettings settings, int id)
{
    std::unique_ptr<TiXmlElement> info = ServerInfoOf(settings);
    link_.SetServerInfo(*info, id);
}

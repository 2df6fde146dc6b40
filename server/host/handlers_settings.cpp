// The server settings record: GETSERVERINFO shows every stored setting,
// SETSERVERINFO checks and stores a changed record, applies the log level,
// the log file, the SNMP time-outs and a new administration data source at
// once, and tells the console in one alert line what waits for a restart and
// what it refused.
#include "connector.h"
#include "handlers.h"
#include "log_file.h"
#include "progdir.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_payload.h"
#include "qr_settings.h"
#include "scanner.h"
#include "services.h"
#include "trv_server.h"

#include <cctype>
#include <climits>
#include <filesystem>
#include <tinyxml.h>

namespace {

const char* const record_version = "1.81.703.13194";

// The settings record: each attribute of each element, the stored setting
// behind it, and for numbers the range SETSERVERINFO accepts. GETSERVERINFO
// shows the rows in this order. Thread counts match what the start-up may
// start; time-outs and retries keep a scan's wait per host bounded.
enum class Kind { text, number, secret };  // secret: stored compressed
struct Field {
    const char* element;
    const char* attribute;
    const char* setting;
    Kind kind;
    int low = 0;
    int high = 0;
};
const Field record_fields[] = {
    {"LOGINFO", "file", "LogFileName", Kind::text},
    {"LOGINFO", "loglevel", "LogLevel", Kind::number, 1, 11},
    {"LOGINFO", "logsize", "MaxLogSizeMb", Kind::number, 1, 99},
    {"LOGINFO", "logkeep", "LogCutPerc", Kind::number, 1, 99},
    {"SCANINFO", "pingthreads", "PingThreads", Kind::number, 1, max_worker_threads},
    {"SCANINFO", "scanthreads", "ScanThreads", Kind::number, 1, max_worker_threads},
    {"SCANINFO", "pingretries", "PINGRetries", Kind::number, 0, 10},
    {"SCANINFO", "scanretries", "SNMPRetries", Kind::number, 0, 10},
    {"SCANINFO", "pingtimeout", "PINGTimeout", Kind::number, 1, 60},
    {"SCANINFO", "scantimeout", "SNMPTimeout", Kind::number, 1, 60},
    {"CONNECTIONS", "server", "ServerName", Kind::text},
    {"CONNECTIONS", "interface", "ServerInterface", Kind::text},
    {"CONNECTIONS", "port", "ServerPort", Kind::text},
    {"CONNECTIONS", "maxrequests", "ServerMaxRequests", Kind::number, 1, 9999},
    {"ADMINDB", "server", "AdminDBHost", Kind::text},
    {"ADMINDB", "database", "AdminDBDSN", Kind::text},
    {"ADMINDB", "login", "AdminDBLogin", Kind::text},
    {"ADMINDB", "password", "AdminDBPassword", Kind::secret},
    {"ADMINDB", "maxcon", "AdminDBMaxConn", Kind::number, 1, 1000},
    {"USERDB", "server", "UserDBHost", Kind::text},
    {"USERDB", "database", "UserDBDSN", Kind::text},
    {"USERDB", "login", "UserDBLogin", Kind::text},
    {"USERDB", "password", "UserDBPassword", Kind::text},
    {"USERDB", "maxcon", "UserDBMaxConn", Kind::number},
};
// The elements of the record in their order; the database ones list the database types.
const char* const record_elements[] = {"LOGINFO", "SCANINFO", "CONNECTIONS", "ADMINDB", "USERDB"};
// Texts stay below what the settings store reads back.
constexpr size_t max_setting_text = 299;

const Field& FieldOf(const std::string& element, const std::string& attribute)
{
    for (const Field& f : record_fields)
        if (element == f.element && attribute == f.attribute)
            return f;
    qr_exception("No settings field %s.%s", element.c_str(), attribute.c_str());
}

void AddDbTypes(TiXmlElement& parent)
{
    TiXmlElement access("DBTYPE");
    access.SetAttribute("typename", "Access Database");
    access.SetAttribute("selected", "1");
    parent.InsertEndChild(access);
    TiXmlElement mysql("DBTYPE");
    mysql.SetAttribute("typename", "MySQL Database");
    mysql.SetAttribute("selected", "0");
    parent.InsertEndChild(mysql);
}

std::string Text(const char* name) { return ReadRegistryStringDefault(name, ""); }
int Number(const char* name) { return ReadRegistryInt(name, -1); }

void AddLine(std::string& line, const std::string& text)
{
    if (!line.empty())
        line += "\r\n";
    line += text;
}

// Names the value as the console sent it.
void Refuse(std::string& refused, const char* name, const std::string& value, int low, int high)
{
    AddLine(refused, std::string("Value of ") + name + " is out of range (" + std::to_string(low) + ".." +
                         std::to_string(high) + "): " + value.substr(0, 40) + "; not changed.");
}

// A whole number in decimal: an optional sign and digits, nothing else, so
// "1e3" or "5abc" is never read as its first digits. A number too long for
// 64 bits reads as the largest of its sign, outside every range.
bool WholeNumber(const std::string& text, long long& value)
{
    const size_t first = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (first == text.size())
        return false;
    long long magnitude = 0;
    for (size_t i = first; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        magnitude = magnitude > (LLONG_MAX - 9) / 10 ? LLONG_MAX : magnitude * 10 + (text[i] - '0');
    }
    value = text[0] == '-' ? -magnitude : magnitude;
    return true;
}

// An integer attribute that is present and a whole number: true and `value`
// set, for the caller's range test. One that is present but no whole number
// is refused here.
bool PresentInt(const TiXmlElement& element, const char* name, long long& value, std::string& refused)
{
    const char* text = element.Attribute(name);
    if (text == nullptr)
        return false;
    if (!WholeNumber(text, value)) {
        AddLine(refused, std::string("Value of ") + name + " is not a whole number: '" +
                             std::string(text).substr(0, 40) + "'; not changed.");
        return false;
    }
    return true;
}

// A present whole number within the field's range: true and `value` set. Out
// of the range it is refused and named.
bool IntInRange(const TiXmlElement& element, const Field& field, int& value, std::string& refused)
{
    long long number = 0;
    if (!PresentInt(element, field.attribute, number, refused))
        return false;
    if (number < field.low || number > field.high) {
        Refuse(refused, field.attribute, element.Attribute(field.attribute), field.low, field.high);
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// A present whole number within the field's range, or nothing: out of the
// range the value is left as it is without a word.
bool QuietlyInRange(const TiXmlElement& element, const Field& field, int& value, std::string& refused)
{
    long long number = 0;
    if (!PresentInt(element, field.attribute, number, refused) || number < field.low || number > field.high)
        return false;
    value = static_cast<int>(number);
    return true;
}

// A text setting that may be stored: short enough to be read back whole.
bool StorableText(const char* name, const std::string& value, std::string& refused)
{
    if (value.size() <= max_setting_text)
        return true;
    AddLine(refused, std::string("Value of ") + name + " is longer than " + std::to_string(max_setting_text) +
                         " characters; not changed.");
    return false;
}

// A port is decimal digits only, 1 to 65535.
bool ValidPort(const std::string& port)
{
    if (port.empty() || port.size() > 5)
        return false;
    for (char c : port)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    const int value = std::stoi(port);
    return value >= 1 && value <= 65535;
}

// The log may move only to a new file named *.log directly in the program
// folder's Logs folder: the server runs as root, and a console must not be
// able to make it create or write files anywhere else. A name is either a
// plain file name, taken inside Logs, or an absolute path whose folder is
// Logs once symbolic links are resolved.
bool AcceptableLogPath(const std::string& name, std::string& path)
{
    namespace fs = std::filesystem;
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    const fs::path p(name);
    if (p.extension() != ".log" || p.filename() == ".log")
        return false;
    std::error_code ec;
    const fs::path logs = fs::canonical(fs::path(GetProgramFolder()) / "Logs", ec);
    if (ec)
        return false;
    if (p.is_relative()) {
        if (p != p.filename())
            return false;
        path = (logs / p).string();
        return true;
    }
    const fs::path folder = fs::canonical(p.parent_path(), ec);
    if (ec || folder != logs)
        return false;
    path = (logs / p.filename()).string();
    return true;
}

void SetLogInfo(const TiXmlElement& element, std::string& refused)
{
    // Out of range, the log values are left as they are without a word.
    const Field& level_field = FieldOf("LOGINFO", "loglevel");
    int level = 0;
    if (QuietlyInRange(element, level_field, level, refused)) {
        set_errorlevel(level);
        WriteRegistryInt(level_field.setting, level);
    }

    if (const char* file = element.Attribute("file")) {
        const char* const setting = FieldOf("LOGINFO", "file").setting;
        const std::string old_name = Text(setting);
        const std::string new_name = file;
        if (new_name != old_name) {
            std::string path;
            if (AcceptableLogPath(new_name, path) && TestCreateFile(path)) {
                TRV_LOG(qr_Debug, "Changing log file name from : " << old_name << " to " << path);
                ReopenLogFile(path);
                // Kept for the next start too, like every other setting.
                WriteRegistryString(setting, path);
            } else {
                TRV_LOG(qr_Debug, "Can not create file " << new_name << ", using prevous " << old_name);
                AddLine(refused, "Value of file is not a new *.log file in the Logs folder: '" +
                                     new_name.substr(0, max_setting_text) + "'; not changed.");
            }
        }
    }

    for (const char* attribute : {"logsize", "logkeep"}) {
        const Field& field = FieldOf("LOGINFO", attribute);
        int value = 0;
        if (QuietlyInRange(element, field, value, refused))
            WriteRegistryInt(field.setting, value);
    }
}

void SetScanInfo(const TiXmlElement& element, bool& threads_changed, std::string& refused)
{
    int timeout = -1;
    int retries = -1;
    for (const Field& r : record_fields) {
        if (std::string(r.element) != "SCANINFO")
            continue;
        long long number = 0;
        if (!PresentInt(element, r.attribute, number, refused) || number == -1)  // -1: not given
            continue;
        if (number < r.low || number > r.high) {
            Refuse(refused, r.attribute, element.Attribute(r.attribute), r.low, r.high);
            continue;
        }
        const int value = static_cast<int>(number);
        const int before = ReadRegistryInt(r.setting, -1);
        WriteRegistryInt(r.setting, value);
        const std::string attribute = r.attribute;
        if ((attribute == "pingthreads" || attribute == "scanthreads") && value != before)
            threads_changed = true;
        if (attribute == "scantimeout")
            timeout = value;
        if (attribute == "scanretries")
            retries = value;
    }
    if (Scanner* scanner = Scanner::instance())
        scanner->set_snmp_timeouts(timeout, retries);
}

void SetConnections(const TiXmlElement& element, bool& requests_changed, bool& port_changed, std::string& refused)
{
    for (const char* attribute : {"server", "interface"}) {
        const std::string text = TextAttribute(element, attribute);
        if (!text.empty() && StorableText(attribute, text, refused))
            WriteRegistryString(FieldOf("CONNECTIONS", attribute).setting, text);
    }

    const std::string port = TextAttribute(element, "port");
    if (!port.empty()) {
        if (!ValidPort(port)) {
            AddLine(refused, "Value of port is not a port number (1..65535): '" + port.substr(0, 40) +
                                 "'; not changed.");
        } else {
            const char* const setting = FieldOf("CONNECTIONS", "port").setting;
            const std::string before = ReadRegistryStringDefault(setting, "5432");
            WriteRegistryString(setting, port);
            if (port != before)
                port_changed = true;
        }
    }

    const Field& requests_field = FieldOf("CONNECTIONS", "maxrequests");
    int requests = 0;
    if (IntInRange(element, requests_field, requests, refused)) {
        const int before = ReadRegistryInt(requests_field.setting, 1024);
        WriteRegistryInt(requests_field.setting, requests);
        if (requests != before)
            requests_changed = true;
    }
}

void SetAdminDb(const TiXmlElement& element, std::string& db_message, std::string& refused)
{
    const std::string server = TextAttribute(element, "server");
    if (!server.empty() && StorableText("server", server, refused))
        WriteRegistryString(FieldOf("ADMINDB", "server").setting, server);

    const char* const dsn_setting = FieldOf("ADMINDB", "database").setting;
    const char* const login_setting = FieldOf("ADMINDB", "login").setting;
    const char* const password_setting = FieldOf("ADMINDB", "password").setting;
    const Field& max_field = FieldOf("ADMINDB", "maxcon");
    const std::string stored_dsn = ReadRegistryStringDefault(dsn_setting, "TarvaneSrvAdmin");
    const std::string stored_login = ReadRegistryStringDefault(login_setting, "");
    const std::string stored_password = DecompressPayload(Text(password_setting), true);
    const int stored_max = ReadRegistryInt(max_field.setting, 10);

    const std::string database = element.Attribute("database") ? TextAttribute(element, "database") : stored_dsn;
    const std::string login = element.Attribute("login") ? TextAttribute(element, "login") : stored_login;
    const std::string password =
        element.Attribute("password") ? TextAttribute(element, "password") : stored_password;
    int max_connections = stored_max;
    if (!IntInRange(element, max_field, max_connections, refused))
        max_connections = stored_max;
    if (database == stored_dsn && login == stored_login && password == stored_password &&
        max_connections == stored_max)
        return;
    if (!StorableText("database", database, refused) || !StorableText("login", login, refused) ||
        !StorableText("password", password, refused))
        return;

    TRVServer* server_object = GetServer();
    if (server_object == nullptr || !server_object->OpenAdminDataSource(database, login, password)) {
        db_message = "Can not connect to database: " + database + ", using previous connection.";
        return;
    }
    WriteRegistryString(dsn_setting, database);
    WriteRegistryString(login_setting, login);
    WriteRegistryString(password_setting, CompressPayload(password, true));
    WriteRegistryInt(max_field.setting, max_connections);
}

void SetUserDb(const TiXmlElement& element, std::string& refused)
{
    const std::string server = TextAttribute(element, "server");
    if (!server.empty() && StorableText("server", server, refused))
        WriteRegistryString(FieldOf("USERDB", "server").setting, server);
}

}  // namespace

int HandleGetServerInfo(TiXmlElement& request, TRVConnector& connector)
{
    TRV_LOG(qr_Info, "Get server info request");
    const int synch = IntAttribute(request, "synch");

    TiXmlElement info("SERVERINFO");
    info.SetAttribute("version", record_version);

    for (const char* name : record_elements) {
        TiXmlElement element(name);
        for (const Field& f : record_fields) {
            if (std::string(f.element) != name)
                continue;
            if (f.kind == Kind::number)
                element.SetAttribute(f.attribute, Number(f.setting));
            else if (f.kind == Kind::secret)
                element.SetAttribute(f.attribute, DecompressPayload(Text(f.setting), true));
            else
                element.SetAttribute(f.attribute, Text(f.setting));
        }
        if (std::string(name) == "ADMINDB" || std::string(name) == "USERDB")
            AddDbTypes(element);
        info.InsertEndChild(element);
    }

    info.SetAttribute("synch", synch);
    connector.Send(info);
    return 0;
}

int HandleSetServerInfo(TiXmlElement& request, TRVConnector& connector)
{
    std::string db_message;
    std::string refused;
    bool requests_changed = false;
    bool threads_changed = false;
    bool port_changed = false;

    for (TiXmlElement* child = request.FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        const std::string name = child->ValueStr();
        if (name == "LOGINFO")
            SetLogInfo(*child, refused);
        else if (name == "SCANINFO")
            SetScanInfo(*child, threads_changed, refused);
        else if (name == "CONNECTIONS")
            SetConnections(*child, requests_changed, port_changed, refused);
        else if (name == "ADMINDB")
            SetAdminDb(*child, db_message, refused);
        else if (name == "USERDB")
            SetUserDb(*child, refused);
    }

    std::string line = db_message;
    if (requests_changed)
        AddLine(line, "Number of active requests was changed.");
    if (threads_changed)
        AddLine(line, "Number of scan threads was changed.");
    if (port_changed)
        AddLine(line, "Server listen port was changed.");
    if (requests_changed || threads_changed || port_changed)
        line += "\r\nTo accept changes you need restart server.";
    if (!refused.empty()) {
        TRV_LOG(qr_Warning, "Server settings refused: " << refused);
        AddLine(line, refused);
    }
    if (!line.empty())
        SendLogAlert(&connector, line);
    return 0;
}

#include "datasource_files.h"

#include "datasource_odbcinst.h"
#include "dialect.h"
#include "files.h"
#include "progdir.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_odbc.h"
#include "schema_scripts.h"

#include <cctype>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <vector>

const char* const admin_database_file = "TarvaneSrvAdmin.db";
const char* const template_database_file = "DataTemplate.db";

namespace {

// Settings a client type's PostgreSQL data source takes over from the administration one.
const char* const postgresql_shared_keys[] = {"Servername", "Port", "Username", "Password", "SSLmode",
                                              "Protocol", "ConnSettings", "ReadOnly"};

// Printable form of untrusted text for a message.
std::string shown(const std::string& text)
{
    std::string out;
    for (char c : text.substr(0, 40)) out += (c >= 0x20 && c < 0x7f) ? c : '?';
    return out;
}

// The names of the tables a script makes, in its order.
std::vector<std::string> created_tables(const std::string& script)
{
    std::vector<std::string> tables;
    for (const auto& statement : split_sql_script(script)) {
        if (strncasecmp(statement.c_str(), "CREATE TABLE ", 13) != 0) continue;
        size_t begin = statement.find_first_not_of(" \"", 13);
        size_t end = statement.find_first_of(" \"(", begin);
        if (begin != std::string::npos) tables.push_back(statement.substr(begin, end - begin));
    }
    return tables;
}

bool postgresql_has(MSSQLODBCConnection& connection, const std::string& sql, const std::string& name)
{
    return connection.get_stmnt_results(sql, {name}).RowCount() > 0;
}

// Creates the data source's PostgreSQL database when it is missing, then its
// tables when they are missing, from the inventory script.
void prepare_postgresql_database(const std::string& dsn, const std::string& admin_dsn,
                                 const std::string& program_folder)
{
    const SqlDialect& dialect = SqlDialect::postgresql();
    const std::string database = odbc_dsn_value(dsn, "Database");
    for (char c : database)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.')
            qr_exception("Data source %s names an unusable database '%s'", dsn.c_str(), shown(database).c_str());
    if (database.empty()) qr_exception("Data source %s names no database", dsn.c_str());

    MSSQLODBCConnection admin(admin_dsn, admin_dsn, "", "");
    admin.connect();
    if (!postgresql_has(admin, dialect.database_exists(), database)) {
        TRV_LOG(qr_Notice, "Creating database " << database << " for data source " << dsn);
        // Another login of the same new type may be making it at this moment.
        if (admin.execute(dialect.create_database(database)) != 0 &&
            !postgresql_has(admin, dialect.database_exists(), database))
            qr_exception("Cannot create database %s for data source %s: %s", database.c_str(), dsn.c_str(),
                         admin.get_error_text().c_str());
    }
    const std::string script = read_schema_script(schema_folder(program_folder), dialect, "inventory");
    const std::vector<std::string> tables = created_tables(script);
    // Every table is looked for, not just one: a database that an earlier
    // build left with only some of them must not pass for a whole one.
    auto missing_tables = [&](MSSQLODBCConnection& connection) {
        std::vector<std::string> missing;
        for (const auto& table : tables)
            if (!postgresql_has(connection, dialect.table_exists(), table)) missing.push_back(table);
        return missing;
    };
    MSSQLODBCConnection inventory(dsn, dsn, "", "");
    inventory.connect();
    if (missing_tables(inventory).empty()) return;
    TRV_LOG(qr_Notice, "Creating the inventory tables of data source " << dsn);
    try {
        // One transaction the connection knows of: the tables are made all
        // together or not at all. A link lost midway throws instead of
        // running the rest of the script on a new session, and a second
        // maker waits for the first, fails, and finds them made.
        qr_transaction transaction(inventory);
        run_schema_script(inventory, script);
        // The tab types' table names, as the SQLite template holds them.
        std::ifstream names(schema_folder(program_folder) + "/table_names.sql");
        if (names) {
            std::ostringstream rows;
            rows << names.rdbuf();
            run_schema_script(inventory, rows.str());
        }
        transaction.commit();
    } catch (const qr_exception_t& e) {
        // Rolled back by now, or lost with the link; the check reconnects.
        const std::vector<std::string> missing = missing_tables(inventory);
        if (!missing.empty())
            qr_exception("Cannot create the inventory tables of data source %s (%zu of %zu missing, %s first): %s",
                         dsn.c_str(), missing.size(), tables.size(), missing.front().c_str(), e.message().c_str());
    }
}

}  // namespace

std::string get_exe_dir()
{
    return GetProgramFolder();
}

bool file_exists(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    std::fclose(f);
    return true;
}

int register_odbc_dsn(const std::string& path, const std::string& dsn)
{
    std::string error;
    const odbc_attributes attributes = {{"Description", "Tarvane Server Data"},
                                        {"Database", path},
                                        {"Timeout", "5000"},
                                        {"JournalMode", "WAL"},
                                        {"SyncPragma", "NORMAL"}};
    if (!odbc_write_dsn(dsn, odbc_sqlite_driver, attributes, error)) {
        TRV_LOG(qr_Error, "Cannot register data source " << dsn << " for " << path << ": " << error);
        return -2;
    }
    return 1;
}

bool list_data_sources(std::vector<std::string>& out)
{
    out = odbc_data_source_names();
    return false;
}

void find_data_sources(std::vector<std::string>& out, const std::string& text)
{
    for (auto& name : odbc_data_source_names())
        if (name.find(text) != std::string::npos) out.push_back(name);
}

bool dsn_exists(const std::string& name)
{
    for (auto& n : odbc_data_source_names())
        if (n == name) return true;
    return false;
}

std::string get_dsn_file(const std::string& name)
{
    if (!SqlDialect::for_dsn(name).keeps_files()) return std::string();
    return odbc_dsn_value(name, "Database");
}

uint32_t database_file_size(const std::string& path)
{
    std::uint64_t size = 0;
    if (!FileSize(path, size))
        return 4294967295u;
    return static_cast<uint32_t>(size);
}

int compact_connection(MSSQLODBCConnection& connection, const SqlDialect& dialect)
{
    try {
        for (const auto& statement : dialect.compact()) connection.query(statement);
        return 0;
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Failed to compact database " << connection.dsn() << ": " << e.message());
        return -1;
    }
}

namespace {

void compact_through(const std::string& name, const std::string& file)
{
    try {
        MSSQLODBCConnection connection(name, name, "", "");
        connection.connect();
        compact_connection(connection, SqlDialect::for_dsn(name));
    } catch (const qr_exception_t& e) {
        TRV_LOG(qr_Error, "Failed to compact database " << file << " [" << e.message() << "]");
    }
}

}  // namespace

int compact_database(const std::string& path)
{
    for (const auto& name : odbc_data_source_names()) {
        if (get_dsn_file(name) == path) {
            compact_through(name, path);
            return 0;
        }
    }
    TRV_LOG(qr_Error, "Failed to compact database " << path << " [no data source is registered for it]");
    return 0;
}

void compact_dsn_database(const std::string& name)
{
    const std::string file = get_dsn_file(name);
    // Connecting would make an empty SQLite file in place of a missing one,
    // and the next login would then take it for the type's database instead
    // of copying the template.
    if (!file.empty() && SqlDialect::for_dsn(name).keeps_files() && !file_exists(file)) {
        TRV_LOG(qr_Warning, "Database " << file << " of data source " << name << " is missing; not compacted");
        return;
    }
    const uint32_t before = database_file_size(file);
    compact_through(name, file);
    const uint32_t after = database_file_size(file);
    TRV_LOG(qr_Info, "Database " << file << " compacted from " << before << " to " << after);
}

void compact_all_data_databases()
{
    std::vector<std::string> names;
    find_data_sources(names, "SrvData");
    for (const auto& name : names) compact_dsn_database(name);
}

bool valid_client_type(const std::string& type, std::string& why)
{
    if (type.empty() || type.size() > 32) {
        why = "a client type has 1 to 32 characters";
        return false;
    }
    for (char c : type) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-') {
            why = "a client type holds only letters, digits, '_' and '-'";
            return false;
        }
    }
    if (strcasecmp(type.c_str(), "ADMIN") == 0) {
        why = "the client type ADMIN is reserved for the administration database";
        return false;
    }
    return true;
}

std::string client_data_source_name(const std::string& type)
{
    std::string name = "Trv" + type + "SrvData";
    if (name.size() <= max_data_source_name) return name;
    // FNV-1a over the exact bytes, written in 13 characters of 5 bits each.
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : type) hash = (hash ^ c) * 1099511628211ull;
    static const char digits[] = "0123456789abcdefghijklmnopqrstuv";
    std::string code;
    for (int n = 0; n < 13; ++n, hash >>= 5) code += digits[hash & 31];
    return "Trv" + type.substr(0, 8) + "." + code + "SrvData";
}

std::string client_database_file(const std::string& program_folder, const std::string& type)
{
    return program_folder + "/" + type + "-SrvData.db";
}

std::string describe_data_source(const std::string& dsn)
{
    if (SqlDialect::for_dsn(dsn).keeps_files()) return "file " + odbc_dsn_value(dsn, "Database");
    const std::string port = odbc_dsn_value(dsn, "Port");
    return "PostgreSQL database '" + odbc_dsn_value(dsn, "Database") + "' on " + odbc_dsn_value(dsn, "Servername") +
           (port.empty() ? std::string() : ":" + port);
}

int register_admin_data_source(const std::string& program_folder, const std::string& admin_dsn)
{
    if (dsn_exists(admin_dsn) && !SqlDialect::for_dsn(admin_dsn).keeps_files()) return 1;
    return register_odbc_dsn(program_folder + "/" + admin_database_file, admin_dsn);
}

namespace {

std::string prepare_source(const std::string& program_folder, const std::string& admin_dsn, const std::string& type,
                           MadeClientSource& made)
{
    std::string why;
    if (!valid_client_type(type, why)) qr_exception("Invalid client type '%s': %s", shown(type).c_str(), why.c_str());
    const std::string dsn = client_data_source_name(type);
    if (dsn_exists(dsn)) {
        if (!SqlDialect::for_dsn(dsn).keeps_files()) {
            prepare_postgresql_database(dsn, admin_dsn, program_folder);
            return dsn;
        }
        if (file_exists(get_dsn_file(dsn))) return dsn;
    } else if (!SqlDialect::for_dsn(admin_dsn).keeps_files()) {
        odbc_attributes attributes = {{"Description", "Tarvane Server Data"}, {"Database", dsn}};
        for (const char* key : postgresql_shared_keys) {
            std::string value = odbc_dsn_value(admin_dsn, key);
            if (!value.empty()) attributes.emplace_back(key, value);
        }
        std::string error;
        if (!odbc_write_dsn(dsn, odbc_dsn_value(admin_dsn, "Driver"), attributes, error))
            qr_exception("Cannot create data source %s: %s", dsn.c_str(), error.c_str());
        made.dsn = dsn;
        prepare_postgresql_database(dsn, admin_dsn, program_folder);
        return dsn;
    }
    const std::string file = client_database_file(program_folder, type);
    if (!file_exists(file)) {
        // Whoever else copies at once, the file is either absent or whole.
        bool placed_here = false;
        std::string error;
        if (!CopyFileWhole(program_folder + "/" + template_database_file, file, placed_here, error))
            qr_exception("%s", error.c_str());
        if (placed_here)
            made.copied_file = file;
    }
    const bool known = dsn_exists(dsn);
    if (register_odbc_dsn(file, dsn) < 1) qr_exception("Cannot create data source %s for %s", dsn.c_str(), file.c_str());
    if (!known) made.dsn = dsn;
    return dsn;
}

}  // namespace

std::string prepare_client_data_source(const std::string& program_folder, const std::string& admin_dsn,
                                       const std::string& type, MadeClientSource* made)
{
    MadeClientSource mine;
    try {
        const std::string dsn = prepare_source(program_folder, admin_dsn, type, mine);
        if (made) *made = mine;
        return dsn;
    } catch (const qr_exception_t&) {
        forget_client_data_source(mine);
        throw;
    }
}

void forget_client_data_source(const MadeClientSource& made)
{
    std::string error;
    if (!made.dsn.empty()) {
        if (odbc_remove_dsn(made.dsn, error))
            TRV_LOG(qr_Info, "Data source " << made.dsn << " removed again");
        else
            TRV_LOG(qr_Error, "Cannot remove data source " << made.dsn << ": " << error);
    }
    if (!made.copied_file.empty()) {
        // SQLite may have left its journal files beside a file it opened.
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
            if (!RemoveFileIfPresent(made.copied_file + suffix, error))
                TRV_LOG(qr_Error, error);
        }
        TRV_LOG(qr_Info, "Database file " << made.copied_file << " removed again");
    }
}

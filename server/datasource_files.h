// Database files and data sources beside the server program.
//
// The administration database "TarvaneSrvAdmin.db", the template
// "DataTemplate.db" and one "<type>-SrvData.db" per client type live in the
// program folder; each is reached through a system data source registered in
// the server's own ODBC ini folder (datasource_odbcinst.h). On PostgreSQL the
// data sources name databases on that server instead of files.
//
// No function here throws except where stated; failures are logged. They take
// no lock beyond the installer's: compaction must run while no other
// connection of that data source is in use (the server runs it as a loader
// operation under its database mutex).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MSSQLODBCConnection;
class SqlDialect;

extern const char* const admin_database_file;     // "TarvaneSrvAdmin.db"
extern const char* const template_database_file;  // "DataTemplate.db"

// The folder of the server program, without a trailing separator.
std::string get_exe_dir();
bool file_exists(const std::string& path);

// Registers the SQLite file `path` as system data source `dsn` (replacing an
// earlier registration): 1 registered, -2 the installer refused it.
int register_odbc_dsn(const std::string& path, const std::string& dsn);
// Fills `out` with every data source name; always returns false.
bool list_data_sources(std::vector<std::string>& out);
// Appends every data source name containing `text` (case-sensitive).
void find_data_sources(std::vector<std::string>& out, const std::string& text);
bool dsn_exists(const std::string& name);
// The database file of a data source; empty when it has none (PostgreSQL) or is unknown.
std::string get_dsn_file(const std::string& name);
// Size of a file in bytes; 4294967295 when it cannot be opened.
uint32_t database_file_size(const std::string& path);

// Compacts the connected database in place with the dialect's statement; the
// file is never removed or replaced by hand. 0 done, -1 failed (logged).
int compact_connection(MSSQLODBCConnection& connection, const SqlDialect& dialect);
// Compacts the database file `path` through the data source registered for
// it; returns 0 (a failure, such as no data source for the file, is logged).
int compact_database(const std::string& path);
// Compacts one data source through a connection of its own and logs the sizes.
// For start-up only, before any DataLoader exists: it takes no database
// mutex. Later compaction goes through DataLoader::compact_database.
void compact_dsn_database(const std::string& name);
// Compacts every data source whose name contains "SrvData"; start-up only,
// like compact_dsn_database.
void compact_all_data_databases();

// A client type becomes part of file, data source and database names: only
// 1 to 32 letters, digits, '_' and '-', and never "ADMIN" in any case.
bool valid_client_type(const std::string& type, std::string& why);
// The data source name of a client type, which on PostgreSQL also names its
// database: "Trv" + type + "SrvData" while that fits the driver manager's 32
// characters (types of up to 22 characters). A longer type gets "Trv", its
// first 8 characters, a dot, 13 characters of a hash of the whole type and
// "SrvData": a type holds no dot, so the two forms never meet, and the hash
// tells apart long types that differ only in letter case, which the driver
// manager's look-up does not.
std::string client_data_source_name(const std::string& type);
// The longest data source name the driver manager connects to.
constexpr size_t max_data_source_name = 32;
// program folder + "/" + type + "-SrvData.db"
std::string client_database_file(const std::string& program_folder, const std::string& type);

// What a data source stands for, for log lines: "PostgreSQL database 'x' on
// host:port" or "file /path".
std::string describe_data_source(const std::string& dsn);

// At start-up: registers the administration data source for program folder +
// "/TarvaneSrvAdmin.db", every time, unless an administrator registered it
// with the PostgreSQL driver (then it is left as it is). register_odbc_dsn's
// result; 1 for a PostgreSQL source left alone.
int register_admin_data_source(const std::string& program_folder, const std::string& admin_dsn);

// Makes the client type's data source usable and returns its name. When it is
// missing and the administration data source is a PostgreSQL one, registers
// it on the same server (database named like the data source) and creates the
// database from the inventory script; otherwise copies the template file
// beside the program (only when the type's file does not exist) and registers
// it. An existing PostgreSQL data source gets its database and tables made
// when they are missing; the tables are made in one transaction. Safe when
// several threads or processes prepare the same new type at once. Throws
// qr_exception_t with the reason; whatever this call made before it failed
// is removed again.
//
// `made`, when given, tells what this call created, so that a caller whose
// later step fails (the pool cannot connect) can remove it with
// forget_client_data_source: a refused login leaves nothing behind.
struct MadeClientSource {
    std::string dsn;          // registered by this call; empty when it was there before
    std::string copied_file;  // copied from the template by this call; empty when none
};
std::string prepare_client_data_source(const std::string& program_folder, const std::string& admin_dsn,
                                       const std::string& type, MadeClientSource* made = nullptr);
// Removes the data source entry and the database file that `made` names.
// Databases made on PostgreSQL are kept: the next login finds them.
void forget_client_data_source(const MadeClientSource& made);

#include "datasource_odbcinst.h"

#include "files.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_sync.h"

#include <sql.h>
#include <sqlext.h>
#include <odbcinst.h>

#include <glob.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

const char* const odbc_sqlite_driver = "SQLite3";
const char* const odbc_postgresql_unicode_driver = "PostgreSQL Unicode";
const char* const odbc_postgresql_ansi_driver = "PostgreSQL ANSI";

namespace {

// The installer keeps its configuration mode in one process-wide variable.
qr_mutex& installer_mutex()
{
    static qr_mutex m;
    return m;
}

// Absolute path of a driver library shipped by a Debian package; empty when not installed.
std::string find_driver_library(const char* file)
{
    std::string found;
    const std::string patterns[] = {std::string("/usr/lib/*/odbc/") + file, std::string("/usr/lib/odbc/") + file};
    for (const auto& pattern : patterns) {
        glob_t g = {};
        if (glob(pattern.c_str(), 0, nullptr, &g) == 0 && g.gl_pathc > 0) found = g.gl_pathv[0];
        globfree(&g);
        if (!found.empty()) break;
    }
    return found;
}

std::string installer_error()
{
    std::string text;
    for (WORD n = 1; n <= 8; ++n) {
        DWORD code = 0;
        char message[SQL_MAX_MESSAGE_LENGTH] = {};
        WORD length = 0;
        RETCODE rc = SQLInstallerError(n, &code, message, sizeof message, &length);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) break;
        if (!text.empty()) text += "; ";
        text += message;
    }
    return text.empty() ? "unknown installer error" : text;
}

void make_folder(const std::string& folder)
{
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        qr_exception("Cannot create the ODBC folder %s: %s", folder.c_str(), std::strerror(errno));
}

void touch(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "a");
    if (!f) qr_exception("Cannot create %s: %s", path.c_str(), std::strerror(errno));
    std::fclose(f);
}

// Replaces a file whole: a reader sees the old text or the new one.
void write_file(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
        if (!out.flush()) qr_exception("Cannot write %s", temporary.c_str());
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        qr_exception("Cannot replace %s: %s", path.c_str(), std::strerror(errno));
}

}  // namespace

std::string odbc_ini_folder(const std::string& program_folder)
{
    return program_folder + "/odbc";
}

void odbc_use_ini_folder(const std::string& folder)
{
    make_folder(folder);
    std::ostringstream drivers;
    const std::string sqlite = find_driver_library("libsqlite3odbc.so");
    if (!sqlite.empty())
        drivers << "[" << odbc_sqlite_driver << "]\nDescription=SQLite3 ODBC Driver\nDriver=" << sqlite
                << "\nSetup=" << sqlite << "\nUsageCount=1\n\n";
    const std::string unicode = find_driver_library("psqlodbcw.so");
    if (!unicode.empty())
        drivers << "[" << odbc_postgresql_unicode_driver << "]\nDescription=PostgreSQL ODBC driver (Unicode)\nDriver="
                << unicode << "\nUsageCount=1\nCommLog=0\nDebug=0\n\n";
    const std::string ansi = find_driver_library("psqlodbca.so");
    if (!ansi.empty())
        drivers << "[" << odbc_postgresql_ansi_driver << "]\nDescription=PostgreSQL ODBC driver (ANSI)\nDriver="
                << ansi << "\nUsageCount=1\nCommLog=0\nDebug=0\n\n";
    if (sqlite.empty()) TRV_LOG(qr_Error, "The SQLite3 ODBC driver library is not installed");
    write_file(folder + "/odbcinst.ini", drivers.str());
    touch(folder + "/odbc.ini");
    touch(folder + "/user-odbc.ini");
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder + "/user-odbc.ini").c_str(), 1);
}

namespace {

// Runs `edit` on a copy of the server's odbc.ini in system mode and, when it
// succeeds, puts the copy in place of the file in one step: connections of
// other threads read odbc.ini while it is written.
template <typename Edit>
bool edit_odbc_ini(Edit edit, std::string& error)
{
    qr_automutex hold(installer_mutex());
    const char* folder = std::getenv("ODBCSYSINI");
    if (!folder || !*folder) {
        error = "the ODBC folder of the server is not set";
        return false;
    }
    const std::string path = std::string(folder) + "/odbc.ini";
    const std::string copy = path + ".new";
    if (!CopyFileOver(path, copy, error))
        return false;
    UWORD previous = ODBC_BOTH_DSN;
    SQLGetConfigMode(&previous);
    SQLSetConfigMode(ODBC_SYSTEM_DSN);
    bool done = edit(copy.c_str());
    if (!done) error = installer_error();
    SQLSetConfigMode(previous);
    if (done && std::rename(copy.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path + ": " + std::strerror(errno);
        done = false;
    }
    if (!done) {
        std::error_code ignored;
        std::filesystem::remove(copy, ignored);
    }
    return done;
}

}  // namespace

bool odbc_write_dsn(const std::string& dsn, const std::string& driver, const odbc_attributes& attributes,
                    std::string& error)
{
    return edit_odbc_ini(
        [&](const char* file) {
            // A section written anew, without what an earlier registration left.
            SQLWritePrivateProfileString(dsn.c_str(), nullptr, nullptr, file);
            bool done = SQLWritePrivateProfileString(dsn.c_str(), "Driver", driver.c_str(), file);
            for (size_t n = 0; done && n < attributes.size(); ++n)
                done = SQLWritePrivateProfileString(dsn.c_str(), attributes[n].first.c_str(),
                                                    attributes[n].second.c_str(), file);
            return done;
        },
        error);
}

bool odbc_remove_dsn(const std::string& dsn, std::string& error)
{
    return edit_odbc_ini(
        [&](const char* file) { return SQLWritePrivateProfileString(dsn.c_str(), nullptr, nullptr, file) != 0; },
        error);
}

std::string odbc_dsn_value(const std::string& dsn, const std::string& key)
{
    qr_automutex hold(installer_mutex());
    UWORD previous = ODBC_BOTH_DSN;
    SQLGetConfigMode(&previous);
    SQLSetConfigMode(ODBC_SYSTEM_DSN);
    char value[1024] = {};
    int length = SQLGetPrivateProfileString(dsn.c_str(), key.c_str(), "", value, sizeof value, "odbc.ini");
    SQLSetConfigMode(previous);
    return length > 0 ? std::string(value, static_cast<size_t>(length)) : std::string();
}

std::vector<std::string> odbc_data_source_names()
{
    std::vector<std::string> names;
    // The driver manager switches the configuration mode while it lists.
    qr_automutex hold(installer_mutex());
    SQLHENV env = SQL_NULL_HENV;
    if (SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env) != SQL_SUCCESS) {
        TRV_LOG(qr_Error, "Cannot allocate an ODBC environment to list the data sources");
        return names;
    }
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLCHAR name[256], description[256];
    SQLSMALLINT name_length = 0, description_length = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        SQLRETURN rc = SQLDataSources(env, direction, name, sizeof name, &name_length, description,
                                      sizeof description, &description_length);
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO) break;
        names.emplace_back(reinterpret_cast<const char*>(name));
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return names;
}

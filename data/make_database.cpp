// Database tool: runs a schema script and row scripts through the server's
// own ODBC code, into a new SQLite file or into a data source of the server.
//   make_database OUTPUT.db SCHEMA.sql [ROWS.sql ...] [--enterprises ENTERPRISES.tsv]
//   make_database --dsn NAME [--program-folder DIR] SCHEMA.sql [ROWS.sql ...]
//                 [--enterprises ENTERPRISES.tsv]
// The build makes DataTemplate.db and TarvaneSrvAdmin.db with the first form;
// the second loads a database that an administrator registered as data source
// NAME in the server's ODBC folder (DIR/odbc, DIR being the folder of this
// program unless given), such as the administration database on PostgreSQL.
// With an enterprise list the last row script is the administration content
// and the vendor names are loaded with it (admin_content.h). Everything runs
// in one transaction: a file appears, or a database is changed, only when all
// of it ran.
#include "admin_content.h"
#include "datasource_files.h"
#include "datasource_odbcinst.h"
#include "qr_exception.h"
#include "qr_odbc.h"
#include "schema_scripts.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string read_text(const std::string& path)
{
    std::ifstream in(path);
    if (!in) qr_exception("Cannot read %s", path.c_str());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Options {
    std::string output;          // file form: the SQLite file to make
    std::string dsn;             // data source form
    std::string program_folder;  // data source form: whose ODBC folder
    std::string schema;
    std::vector<std::string> rows;
    std::string enterprises;
};

bool parse_options(int argc, char** argv, Options& o)
{
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "--enterprises" && has_value)
            o.enterprises = argv[++i];
        else if (arg == "--dsn" && has_value)
            o.dsn = argv[++i];
        else if (arg == "--program-folder" && has_value)
            o.program_folder = argv[++i];
        else if (arg.rfind("--", 0) == 0)
            return false;
        else
            files.push_back(arg);
    }
    if (o.dsn.empty()) {
        if (!o.program_folder.empty() || files.empty())
            return false;
        o.output = files.front();
        files.erase(files.begin());
    }
    if (files.empty())
        return false;
    o.schema = files.front();
    o.rows.assign(files.begin() + 1, files.end());
    return o.enterprises.empty() || !o.rows.empty();
}

// The schema, then the row scripts, in the caller's transaction.
void load(MSSQLODBCConnection& connection, const Options& o)
{
    const std::string schema = read_text(o.schema);
    if (schema_script_version(schema) < 0) qr_exception("%s has no schema version line", o.schema.c_str());
    std::vector<std::string> rows;
    for (const std::string& path : o.rows)
        rows.push_back(read_text(path));

    qr_transaction transaction(connection);
    run_schema_script(connection, schema);
    const size_t plain = o.enterprises.empty() ? rows.size() : rows.size() - 1;
    for (size_t i = 0; i < plain; ++i)
        run_schema_script(connection, rows[i]);
    if (!o.enterprises.empty())
        load_admin_content(connection, rows.back(), o.enterprises);
    transaction.commit();
}

// The file form: a private ODBC folder and a data source for the new file,
// which takes its name only when everything ran.
void make_file(const Options& o)
{
    const std::string part = o.output + ".part";
    char folder_template[] = "/tmp/trv-make-database-XXXXXX";
    if (!mkdtemp(folder_template)) qr_exception("Cannot make a temporary folder");
    const std::string folder = folder_template;
    std::error_code ignored;
    try {
        odbc_use_ini_folder(folder);
        std::filesystem::remove(part);
        if (register_odbc_dsn(part, "TrvMakeDatabase") < 1) qr_exception("Cannot register the build data source");
        {
            MSSQLODBCConnection connection("TrvMakeDatabase", "TrvMakeDatabase", "", "");
            connection.connect();
            load(connection, o);
            connection.disconnect();
        }
        std::filesystem::rename(part, o.output);
    } catch (...) {
        std::filesystem::remove(part, ignored);
        std::filesystem::remove_all(folder, ignored);
        throw;
    }
    std::filesystem::remove_all(folder, ignored);
}

// The data source form: the server's own ODBC folder, as the server reads it.
void fill_data_source(const Options& o)
{
    const std::string program_folder = o.program_folder.empty() ? get_exe_dir() : o.program_folder;
    odbc_use_ini_folder(odbc_ini_folder(program_folder));
    if (!dsn_exists(o.dsn))
        qr_exception("No data source %s in %s", o.dsn.c_str(), odbc_ini_folder(program_folder).c_str());
    MSSQLODBCConnection connection(o.dsn, o.dsn, "", "");
    connection.connect();
    load(connection, o);
    connection.disconnect();
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse_options(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s OUTPUT.db SCHEMA.sql [ROWS.sql ...] [--enterprises ENTERPRISES.tsv]\n"
                     "       %s --dsn NAME [--program-folder DIR] SCHEMA.sql [ROWS.sql ...] "
                     "[--enterprises ENTERPRISES.tsv]\n",
                     argv[0], argv[0]);
        return 2;
    }
    try {
        if (options.dsn.empty())
            make_file(options);
        else
            fill_data_source(options);
    } catch (const qr_exception_t& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.message().c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}

// Build tool: makes an SQLite database file from a schema script through the
// server's own ODBC code, e.g. DataTemplate.db from sql/sqlite/inventory.sql.
//   make_database OUTPUT.db SCHEMA.sql [ROWS.sql ...] [--enterprises ENTERPRISES.tsv]
// Row scripts run after the schema, in one transaction; with an enterprise
// list the last row script is the administration content and the vendor
// names are loaded with it (admin_content.h). The file appears only when
// everything ran.
#include "admin_content.h"
#include "datasource_files.h"
#include "datasource_odbcinst.h"
#include "qr_exception.h"
#include "qr_odbc.h"
#include "schema_scripts.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <filesystem>
#include <vector>

namespace {

std::string read_text(const char* path)
{
    std::ifstream in(path);
    if (!in) qr_exception("Cannot read %s", path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> row_scripts;
    std::string enterprises;
    for (int i = 3; i < argc; ++i) {
        if (std::string(argv[i]) == "--enterprises" && i + 1 < argc)
            enterprises = argv[++i];
        else
            row_scripts.push_back(argv[i]);
    }
    if (argc < 3 || (!enterprises.empty() && row_scripts.empty())) {
        std::fprintf(stderr, "usage: %s OUTPUT.db SCHEMA.sql [ROWS.sql ...] [--enterprises ENTERPRISES.tsv]\n",
                     argv[0]);
        return 2;
    }
    const std::string output = argv[1];
    const std::string part = output + ".part";
    char folder_template[] = "/tmp/trv-make-database-XXXXXX";
    if (!mkdtemp(folder_template)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = folder_template;
    int status = 0;
    try {
        const std::string script = read_text(argv[2]);
        if (schema_script_version(script) < 0) qr_exception("%s has no schema version line", argv[2]);
        std::vector<std::string> rows;
        for (const std::string& path : row_scripts)
            rows.push_back(read_text(path.c_str()));

        odbc_use_ini_folder(folder);
        std::filesystem::remove(part);
        if (register_odbc_dsn(part, "TrvMakeDatabase") < 1) qr_exception("Cannot register the build data source");
        {
            MSSQLODBCConnection connection("TrvMakeDatabase", "TrvMakeDatabase", "", "");
            connection.connect();
            run_schema_script(connection, script);
            const size_t plain = enterprises.empty() ? rows.size() : rows.size() - 1;
            {
                qr_transaction transaction(connection);
                for (size_t i = 0; i < plain; ++i)
                    run_schema_script(connection, rows[i]);
                transaction.commit();
            }
            if (!enterprises.empty())
                load_admin_content(connection, rows.back(), enterprises);
            connection.disconnect();
        }
        std::filesystem::rename(part, output);
    } catch (const qr_exception_t& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.message().c_str());
        status = 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        status = 1;
    }
    std::error_code ignored;
    std::filesystem::remove(part, ignored);
    std::filesystem::remove_all(folder, ignored);
    return status;
}

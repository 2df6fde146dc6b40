// Build tool: makes an SQLite database file from a schema script through the
// server's own ODBC code, e.g. DataTemplate.db from sql/sqlite/inventory.sql.
//   make_database OUTPUT.db SCRIPT.sql
// The file appears only when the whole script ran.
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

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.db SCRIPT.sql\n", argv[0]);
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
        std::ifstream in(argv[2]);
        if (!in) qr_exception("Cannot read %s", argv[2]);
        std::ostringstream script;
        script << in.rdbuf();
        if (schema_script_version(script.str()) < 0) qr_exception("%s has no schema version line", argv[2]);

        odbc_use_ini_folder(folder);
        std::filesystem::remove(part);
        if (register_odbc_dsn(part, "TrvMakeDatabase") < 1) qr_exception("Cannot register the build data source");
        {
            MSSQLODBCConnection connection("TrvMakeDatabase", "TrvMakeDatabase", "", "");
            connection.connect();
            run_schema_script(connection, script.str());
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

// Build tool: makes an SQLite database file from a schema script through the
// server's own ODBC code, e.g. DataTemplate.db from sql/sqlite/inventory.sql.
//   make_database OUTPUT.db SCRIPT.sql [CONTENT.sql ENTERPRISES.tsv]
// With a content script and an enterprise list it also loads the
// administration content (admin_content.h). The file appears only when
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
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: %s OUTPUT.db SCRIPT.sql [CONTENT.sql ENTERPRISES.tsv]\n", argv[0]);
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
        const std::string content = argc == 5 ? read_text(argv[3]) : std::string();

        odbc_use_ini_folder(folder);
        std::filesystem::remove(part);
        if (register_odbc_dsn(part, "TrvMakeDatabase") < 1) qr_exception("Cannot register the build data source");
        {
            MSSQLODBCConnection connection("TrvMakeDatabase", "TrvMakeDatabase", "", "");
            connection.connect();
            run_schema_script(connection, script);
            if (argc == 5)
                load_admin_content(connection, content, argv[4]);
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

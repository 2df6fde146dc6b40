#include "schema_scripts.h"

#include "dialect.h"
#include "qr_exception.h"
#include "qr_odbc.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::string schema_folder(const std::string& program_folder)
{
    return program_folder + "/sql";
}

std::string read_schema_script(const std::string& folder, const SqlDialect& dialect, const std::string& name)
{
    const std::string path = folder + "/" + dialect.name() + "/" + name + ".sql";
    std::ifstream in(path);
    if (!in) qr_exception("Cannot read the schema script %s", path.c_str());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

int schema_script_version(const std::string& text)
{
    char name[64] = {};
    int version = -1;
    if (std::sscanf(text.c_str(), "-- schema %63s version %d", name, &version) != 2) return -1;
    return version;
}

std::vector<std::string> split_sql_script(const std::string& text)
{
    std::vector<std::string> statements;
    std::string current;
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            current += c;
            if (c == quote) quote = 0;  // a doubled quote reopens at once
            continue;
        }
        if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            while (i < text.size() && text[i] != '\n') ++i;
            current += '\n';
            continue;
        }
        if (c == '\'' || c == '"') quote = c;
        if (c == ';') {
            if (current.find_first_not_of(" \t\r\n") != std::string::npos) statements.push_back(current);
            current.clear();
            continue;
        }
        current += c;
    }
    if (current.find_first_not_of(" \t\r\n") != std::string::npos) statements.push_back(current);
    for (auto& s : statements) {
        s.erase(0, s.find_first_not_of(" \t\r\n"));
        s.erase(s.find_last_not_of(" \t\r\n") + 1);
    }
    return statements;
}

void run_schema_script(MSSQLODBCConnection& connection, const std::string& text)
{
    for (const auto& statement : split_sql_script(text)) connection.query(statement);
}

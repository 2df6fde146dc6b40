// The few places where SQLite and PostgreSQL differ, in one named object.
//
// Statement texts elsewhere are portable SQL; whatever is not (autonumber
// columns, compaction, database creation, where schema scripts live) is asked
// of the data source's SqlDialect. The two dialects are constants: any thread
// may use them.
#pragma once

#include <string>
#include <vector>

class SqlDialect {
public:
    static const SqlDialect& sqlite();
    static const SqlDialect& postgresql();
    // The dialect of a registered data source, from its driver's name.
    static const SqlDialect& for_driver(const std::string& driver);
    static const SqlDialect& for_dsn(const std::string& dsn);

    // Folder name of this dialect's schema scripts: "sqlite" or "postgresql".
    const std::string& name() const { return name_; }
    // True when each database is a file beside the program.
    bool keeps_files() const { return keeps_files_; }
    // Column definition of a counter the database assigns on insert.
    const std::string& autonumber() const { return autonumber_; }
    // " LIMIT n" (both databases; TOP n exists on neither).
    std::string limit(int rows) const;
    // A case-insensitive pattern match of a column with one bound pattern; '\' escapes.
    std::string like_ignoring_case(const std::string& column) const;
    // Statements that compact the connected database in place; none when there is nothing to do.
    const std::vector<std::string>& compact() const { return compact_; }
    // Statement that creates a database of a validated name; empty when databases are files.
    std::string create_database(const std::string& name) const;
    // Query with one bound parameter (the database name) giving a row when it exists.
    const std::string& database_exists() const { return database_exists_; }
    // Query with one bound parameter (a table name) giving a row when the table exists.
    const std::string& table_exists() const { return table_exists_; }

private:
    SqlDialect(std::string name, bool keeps_files, std::string autonumber, std::vector<std::string> compact,
               std::string create_database, std::string database_exists, std::string table_exists);

    std::string name_;
    bool keeps_files_;
    std::string autonumber_;
    std::vector<std::string> compact_;
    std::string create_database_;
    std::string database_exists_;
    std::string table_exists_;
};

// Data sources and database files in the server's own ODBC folder: client
// type names, the template copied on first use, lookups, a second process
// opening what the server registered, compaction and schema scripts.
#include "db_test_env.h"

#include "../common/log_capture.h"
#include "datasource_files.h"
#include "datasource_odbcinst.h"
#include "dialect.h"
#include "qr_exception.h"
#include "qr_odbc.h"
#include "schema_scripts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <regex>
#include <set>
#include <thread>

#include <sys/stat.h>

namespace {

const std::string& folder()
{
    return DbTestEnvironment::get().program_folder();
}

// A file's contents and the time it last changed; "absent" when it does not exist.
std::string file_state(const std::string& path)
{
    struct stat st = {};
    if (::stat(path.c_str(), &st) != 0) return "absent";
    return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + "\n" +
           read_file_text(path);
}

std::string sqlite_admin_dsn()
{
    static const std::string dsn = DbTestEnvironment::get().fresh_data_source("sqlite", "admin");
    return dsn;
}

TEST(ClientType, UnsafeNamesAreRefusedBeforeAnyNameIsBuilt)
{
    const std::string refused[] = {"", std::string(33, 'a'), "ADMIN", "admin", "AdMiN", "../etc", "a/b", "a b",
                                   "a.b", "x;Driver=evil", "line\nbreak", "quote'", "caf\xc3\xa9"};
    for (const auto& type : refused) {
        std::string why;
        EXPECT_FALSE(valid_client_type(type, why)) << type;
        EXPECT_FALSE(why.empty());
        try {
            prepare_client_data_source(folder(), sqlite_admin_dsn(), type);
            ADD_FAILURE() << "accepted client type '" << type << "'";
        } catch (const qr_exception_t& e) {
            EXPECT_NE(e.message().find("Invalid client type"), std::string::npos) << e.message();
        }
    }
    std::vector<std::string> names;
    list_data_sources(names);
    for (const auto& n : names) EXPECT_EQ(n.find("Driver=evil"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder() + "/../etc-SrvData.db"));

    for (const std::string& type : {std::string("Console"), std::string("web_2"), std::string("A-b"), std::string(32, 'z'), std::string("ADMINS")}) {
        std::string why;
        EXPECT_TRUE(valid_client_type(type, why)) << type << ": " << why;
    }
}

TEST(ClientDatabase, TemplateIsCopiedOnFirstUseAndKeptAfterwards)
{
    const std::string file = client_database_file(folder(), "Console");
    ASSERT_FALSE(file_exists(file));
    const std::string dsn = prepare_client_data_source(folder(), sqlite_admin_dsn(), "Console");
    EXPECT_EQ(dsn, "TrvConsoleSrvData");
    EXPECT_TRUE(dsn_exists(dsn));
    EXPECT_TRUE(file_exists(file));
    EXPECT_EQ(get_dsn_file(dsn), file);
    {
        auto c = open_connection(dsn);
        EXPECT_EQ(c->query("SELECT COUNT(*) AS n FROM InventoryTree").Column("n").GetLong(0), 0);
        c->get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, name) VALUES (?, ?, ?, ?)",
                             {int32_t(1), int32_t(0), int32_t(0), std::string("kept")});
    }
    // Later uses find the data source and its file: nothing is copied again.
    EXPECT_EQ(prepare_client_data_source(folder(), sqlite_admin_dsn(), "Console"), dsn);
    {
        auto c = open_connection(dsn);
        EXPECT_EQ(c->query("SELECT name FROM InventoryTree").Column("name").GetString(0), "kept");
    }
    // A file that went away is made again from the template.
    std::filesystem::remove(file);
    std::filesystem::remove(file + "-wal");
    std::filesystem::remove(file + "-shm");
    EXPECT_EQ(prepare_client_data_source(folder(), sqlite_admin_dsn(), "Console"), dsn);
    auto c = open_connection(dsn);
    EXPECT_EQ(c->query("SELECT COUNT(*) AS n FROM InventoryTree").Column("n").GetLong(0), 0);
    EXPECT_FALSE(file_exists(file + ".part"));
}

// The driver manager connects to names of at most 32 characters: short
// types keep the name their data sources always had, longer ones get a
// shortened name of their own that the driver manager opens.
TEST(ClientDatabase, EveryAllowedTypeGetsADataSourceItCanOpen)
{
    EXPECT_EQ(client_data_source_name("Console"), "TrvConsoleSrvData");
    // Stored data sources are found by these names: they never change.
    EXPECT_EQ(client_data_source_name("LongTypeWithThirtyTwoCharacters1"), "TrvLongType.ap7m85ub1pna3SrvData");
    const std::string longest_plain(22, 'p');
    EXPECT_EQ(client_data_source_name(longest_plain), "Trv" + longest_plain + "SrvData");
    std::set<std::string> names;
    for (const std::string& type : {std::string(23, 'q'), std::string(32, 'q'), std::string(31, 'q') + "Q",
                                    std::string(31, 'q') + "r", std::string(32, 'Q')}) {
        const std::string name = client_data_source_name(type);
        EXPECT_LE(name.size(), max_data_source_name) << name;
        EXPECT_NE(name.find("SrvData"), std::string::npos) << name;
        EXPECT_NE(name.find('.'), std::string::npos) << name;
        std::string lowered = name;
        for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_TRUE(names.insert(lowered).second) << type << " shares " << name;
    }
    const std::string type = "Long_type-of-32-characters-Zz009";
    ASSERT_EQ(type.size(), 32u);
    const std::string dsn = prepare_client_data_source(folder(), sqlite_admin_dsn(), type);
    EXPECT_EQ(dsn, client_data_source_name(type));
    EXPECT_EQ(get_dsn_file(dsn), client_database_file(folder(), type));
    auto c = open_connection(dsn);
    EXPECT_EQ(c->query("SELECT COUNT(*) AS n FROM InventoryTree").Column("n").GetLong(0), 0);
}

TEST(DataSources, ExactAndSubstringLookups)
{
    ASSERT_EQ(register_odbc_dsn(folder() + "/lookup2.db", "TrvLookupSrvData2"), 1);
    EXPECT_FALSE(dsn_exists("TrvLookupSrvData"));
    EXPECT_TRUE(dsn_exists("TrvLookupSrvData2"));
    std::vector<std::string> found;
    find_data_sources(found, "LookupSrvData");
    EXPECT_EQ(found, std::vector<std::string>{"TrvLookupSrvData2"});
    std::vector<std::string> all = {"stale"};
    EXPECT_FALSE(list_data_sources(all));
    EXPECT_NE(std::find(all.begin(), all.end(), "TrvLookupSrvData2"), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), "stale"), all.end());
    EXPECT_EQ(get_dsn_file("TrvLookupSrvData2"), folder() + "/lookup2.db");
    EXPECT_EQ(get_dsn_file("TrvNeverRegistered"), "");
}

// isql is a separate program: it sees only what the server wrote into its folder.
TEST(DataSources, RegisteredSourcesOpenFromASecondProcess)
{
    auto& env = DbTestEnvironment::get();
    const std::string ini = odbc_ini_folder(folder());
    const char* home = getenv("HOME");
    const std::vector<std::string> outside = {"/etc/odbc.ini", "/etc/odbcinst.ini",
                                              std::string(home ? home : "/root") + "/.odbc.ini"};
    std::vector<std::string> before;
    for (const auto& path : outside) before.push_back(file_state(path));
    for (const std::string& backend : {std::string("sqlite"), std::string("postgresql")}) {
        const std::string dsn = env.fresh_data_source(backend, "inventory");
        {
            auto c = open_connection(dsn);
            c->get_stmnt_results("INSERT INTO InventoryTree (uid, name) VALUES (?, ?)",
                                 {int32_t(7), std::string("written-by-" + backend)});
        }
        const std::string out = folder() + "/isql-" + backend + ".out";
        const std::string command = "echo 'SELECT name FROM InventoryTree WHERE uid = 7' | ODBCSYSINI=" + ini +
                                    " ODBCINI=" + ini + "/user-odbc.ini isql -b -v " + dsn + " > " + out + " 2>&1";
        EXPECT_EQ(run_program({"sh", "-c", command}), 0) << read_file_text(out);
        EXPECT_NE(read_file_text(out).find("written-by-" + backend), std::string::npos) << read_file_text(out);
    }
    ASSERT_EQ(register_odbc_dsn(folder() + "/outside.db", "TrvOutsideSrvData"), 1);
    EXPECT_EQ(prepare_client_data_source(folder(), sqlite_admin_dsn(), "Outside"), "TrvOutsideSrvData");
    // Nothing was written outside the server's folder.
    for (size_t i = 0; i < outside.size(); ++i) EXPECT_EQ(file_state(outside[i]), before[i]) << outside[i];
    EXPECT_EQ(std::string(getenv("ODBCSYSINI")), ini);
    EXPECT_EQ(read_file_text(ini + "/odbcinst.ini").find("CommLog=1"), std::string::npos);
}

TEST(Compaction, VacuumShrinksTheFileWhileOtherConnectionsStayOpen)
{
    const std::string dsn = DbTestEnvironment::get().fresh_data_source("sqlite");
    const std::string file = get_dsn_file(dsn);
    auto writer = open_connection(dsn);
    writer->query("CREATE TABLE filler (id INTEGER, blob_text TEXT)");
    const std::string chunk(4000, 'q');
    for (int32_t n = 0; n < 400; ++n)
        writer->get_stmnt_results("INSERT INTO filler (id, blob_text) VALUES (?, ?)", {n, chunk});
    writer->query("PRAGMA wal_checkpoint(TRUNCATE)");
    writer->query("DELETE FROM filler");
    writer->query("PRAGMA wal_checkpoint(TRUNCATE)");
    const uint32_t before = database_file_size(file);
    ASSERT_GT(before, 1000000u);

    LogCapture log;
    compact_dsn_database(dsn);
    const uint32_t after = database_file_size(file);
    EXPECT_LT(after, before / 10);
    EXPECT_NE(log.text().find("Database " + file + " compacted from " + std::to_string(before) + " to " +
                              std::to_string(after)),
              std::string::npos)
        << log.text();
    EXPECT_EQ(writer->query("SELECT COUNT(*) AS n FROM filler").Column("n").GetLong(0), 0);

    // The same through the file's name.
    for (int32_t n = 0; n < 400; ++n)
        writer->get_stmnt_results("INSERT INTO filler (id, blob_text) VALUES (?, ?)", {n, chunk});
    writer->query("DELETE FROM filler");
    writer->query("PRAGMA wal_checkpoint(TRUNCATE)");
    const uint32_t grown = database_file_size(file);
    ASSERT_GT(grown, 1000000u);
    EXPECT_EQ(compact_database(file), 0);
    EXPECT_LT(database_file_size(file), grown / 10);
}

TEST(Compaction, ASourceWithoutAFileIsLoggedAndLeftAlone)
{
    DbTestEnvironment::get();
    LogCapture log;
    compact_dsn_database("TrvNeverRegisteredSrvData");
    const std::string text = log.text();
    EXPECT_NE(text.find("Failed to compact database "), std::string::npos) << text;
    EXPECT_NE(text.find("Database  compacted from 4294967295 to 4294967295"), std::string::npos) << text;
    EXPECT_EQ(compact_database(folder() + "/no-such.db"), 0);
    EXPECT_NE(log.text().find("Failed to compact database " + folder() + "/no-such.db"), std::string::npos);
    EXPECT_FALSE(file_exists(folder() + "/no-such.db"));
}

TEST(Compaction, ARegisteredSourceWhoseFileIsGoneIsNotMadeAnew)
{
    DbTestEnvironment::get();
    // Connecting would leave an empty database that a later login would take
    // for the type's own instead of copying the template.
    const std::string file = folder() + "/gone-SrvData.db";
    ASSERT_EQ(register_odbc_dsn(file, "TrvGoneSrvData"), 1);
    ASSERT_FALSE(file_exists(file));
    LogCapture log;
    compact_dsn_database("TrvGoneSrvData");
    EXPECT_FALSE(file_exists(file));
    EXPECT_NE(log.text().find("Database " + file + " of data source TrvGoneSrvData is missing; not compacted"),
              std::string::npos)
        << log.text();
}

TEST(Compaction, PostgreSqlSourcesAreVacuumedInPlace)
{
    const std::string dsn = DbTestEnvironment::get().fresh_data_source("postgresql", "inventory");
    auto c = open_connection(dsn);
    c->query("INSERT INTO InventoryComms (InventoryID, Name, PlaceOrder) VALUES (1, 'public', 0)");
    EXPECT_EQ(compact_connection(*c, SqlDialect::for_dsn(dsn)), 0);
    EXPECT_EQ(get_dsn_file(dsn), "");
    EXPECT_EQ(c->query("SELECT Name FROM InventoryComms").Column("Name").GetString(0), "public");
}

// Data sources registered with the PostgreSQL driver: the server makes a
// client type's database on that server from the inventory script.
TEST(ClientDatabase, PostgreSqlDeploymentCreatesTheTypesDatabase)
{
    auto& env = DbTestEnvironment::get();
    const std::string admin = env.fresh_data_source("postgresql", "admin");
    const std::string dsn = prepare_client_data_source(folder(), admin, "PgType");
    EXPECT_EQ(dsn, "TrvPgTypeSrvData");
    EXPECT_EQ(odbc_dsn_value(dsn, "Database"), "TrvPgTypeSrvData");
    EXPECT_EQ(&SqlDialect::for_dsn(dsn), &SqlDialect::postgresql());
    EXPECT_FALSE(file_exists(client_database_file(folder(), "PgType")));
    {
        auto c = open_connection(dsn);
        c->get_stmnt_results("INSERT INTO TrvIndex (atype) VALUES (?)", {int32_t(1)});
        c->get_stmnt_results("INSERT INTO TrvIndex (atype) VALUES (?)", {int32_t(1)});
        EXPECT_EQ(c->query("SELECT MAX(uid) AS uid FROM TrvIndex").Column("uid").GetLong(0), 2);
    }
    EXPECT_EQ(prepare_client_data_source(folder(), admin, "PgType"), dsn);
    auto c = open_connection(dsn);
    EXPECT_EQ(c->query("SELECT COUNT(*) AS n FROM TrvIndex").Column("n").GetLong(0), 2);

    // A source the administrator registered for a database not made yet.
    env.register_postgresql_dsn("TrvPreparedSrvData", "TrvPreparedSrvData");
    EXPECT_EQ(prepare_client_data_source(folder(), admin, "Prepared"), "TrvPreparedSrvData");
    auto p = open_connection("TrvPreparedSrvData");
    EXPECT_EQ(p->query("SELECT COUNT(*) AS n FROM InventoryHosts").Column("n").GetLong(0), 0);
}

// The inventory tables are made all together or not at all, so a failed
// first attempt is finished by the next one instead of being taken as done.
TEST(ClientDatabase, PostgreSqlTablesAreMadeWhollyOrNotAtAll)
{
    auto& env = DbTestEnvironment::get();
    const std::string admin = env.fresh_data_source("postgresql", "admin");
    const std::string dsn = env.register_postgresql_dsn("TrvHalfSrvData", "trvhalfsrvdata");
    auto maintenance = open_connection(env.postgresql_maintenance_dsn());
    maintenance->query("DROP DATABASE IF EXISTS trvhalfsrvdata");
    maintenance->query("CREATE DATABASE trvhalfsrvdata");
    auto c = open_connection(dsn);
    // A table of that name but another shape, late in the script, stops it there.
    c->query("CREATE TABLE ScanSlotsData (other INTEGER); CREATE INDEX ScanSlotsData_host_id ON ScanSlotsData (other)");

    LogCapture log;
    try {
        prepare_client_data_source(folder(), admin, "Half");
        FAIL() << "a schema that could not be made was reported ready";
    } catch (const qr_exception_t& e) {
        EXPECT_NE(e.message().find("Cannot create the inventory tables of data source TrvHalfSrvData"),
                  std::string::npos)
            << e.message();
    }
    const std::string exists = SqlDialect::postgresql().table_exists();
    EXPECT_EQ(c->get_stmnt_results(exists, {std::string("TrvIndex")}).RowCount(), 0);

    c->query("DROP TABLE ScanSlotsData");
    EXPECT_EQ(prepare_client_data_source(folder(), admin, "Half"), dsn);
    EXPECT_EQ(c->query("SELECT COUNT(*) AS n FROM TrvIndex").Column("n").GetLong(0), 0);
    EXPECT_EQ(c->query("SELECT COUNT(*) AS n FROM ScanSlotsData").Column("n").GetLong(0), 0);
    EXPECT_EQ(c->get_stmnt_results(exists, {std::string("ScanSummaryData")}).RowCount(), 1);
}

// The link to the database is cut while the tables are being made: nothing
// of that attempt stays, the attempt fails, and the next one makes them all.
TEST(ClientDatabase, PostgreSqlTablesCutOffMidwayAreMadeWhollyNextTime)
{
    auto& env = DbTestEnvironment::get();
    const std::string admin = env.fresh_data_source("postgresql", "admin");
    const std::string dsn = env.register_postgresql_dsn("TrvCutSrvData", "trvcutsrvdata");
    auto maintenance = open_connection(env.postgresql_maintenance_dsn());
    maintenance->query("DROP DATABASE IF EXISTS trvcutsrvdata");
    maintenance->query("CREATE DATABASE trvcutsrvdata");
    const std::string script = read_schema_script(schema_folder(folder()), SqlDialect::postgresql(), "inventory");
    std::vector<std::string> tables;
    std::regex create("CREATE TABLE (\\w+)");
    for (std::sregex_iterator i(script.begin(), script.end(), create), end; i != end; ++i) tables.push_back((*i)[1]);
    ASSERT_GE(tables.size(), 25u);
    auto present = [&](MSSQLODBCConnection& c) {
        size_t n = 0;
        for (const auto& table : tables) n += c.get_stmnt_results(SqlDialect::postgresql().table_exists(), {table}).RowCount();
        return n;
    };

    // A table of the same name, made and not yet committed elsewhere, holds
    // the script at that statement with the tables before it made, until
    // the maker's session is killed there.
    auto blocker = open_connection(dsn);
    blocker->begin_transaction();
    blocker->query("CREATE TABLE ScanSlotsData (other INTEGER)");
    std::string outcome = "reported ready";
    std::thread maker([&] {
        try {
            prepare_client_data_source(folder(), admin, "Cut");
        } catch (const qr_exception_t& e) {
            outcome = e.message();
        }
    });
    int32_t pid = 0;
    for (int i = 0; i < 3000 && pid == 0; ++i) {
        DB_DATA waiting = maintenance->get_stmnt_results(
            "SELECT pid FROM pg_stat_activity WHERE datname = ? AND state = 'active' AND wait_event_type = 'Lock' "
            "AND query LIKE '%CREATE TABLE ScanSlotsData%'",
            {std::string("trvcutsrvdata")});
        if (waiting.RowCount() > 0) pid = static_cast<int32_t>(waiting.Column("pid").GetLong(0));
        else std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (pid > 0) maintenance->get_stmnt_results("SELECT pg_terminate_backend(?) AS done", {pid});
    blocker->rollback();
    maker.join();
    ASSERT_GT(pid, 0) << "the script never reached the held table";
    EXPECT_NE(outcome.find("Cannot create the inventory tables of data source TrvCutSrvData"), std::string::npos)
        << outcome;
    auto c = open_connection(dsn);
    EXPECT_EQ(present(*c), 0u);

    EXPECT_EQ(prepare_client_data_source(folder(), admin, "Cut"), dsn);
    EXPECT_EQ(present(*c), tables.size());
    EXPECT_EQ(c->query("SELECT DataName FROM TrvDBTablesNames WHERE uid = 1").Column("DataName").GetString(0),
              "ScanSummaryData");

    // A database that lacks its first tables, as a cut build used to leave
    // it, is not taken for a whole one.
    c->query("DROP TABLE InventoryTree");
    try {
        prepare_client_data_source(folder(), admin, "Cut");
        ADD_FAILURE() << "a database without InventoryTree was reported ready";
    } catch (const qr_exception_t& e) {
        EXPECT_NE(e.message().find("(1 of " + std::to_string(tables.size()) + " missing, InventoryTree first)"),
                  std::string::npos)
            << e.message();
    }
}

TEST(DataSources, AdministrationSourceIsRegisteredUnlessItIsOnPostgreSql)
{
    auto& env = DbTestEnvironment::get();
    ASSERT_EQ(register_odbc_dsn(folder() + "/elsewhere.db", "TrvAdminFileTest"), 1);
    EXPECT_EQ(register_admin_data_source(folder(), "TrvAdminFileTest"), 1);
    EXPECT_EQ(get_dsn_file("TrvAdminFileTest"), folder() + "/" + admin_database_file);

    env.register_postgresql_dsn("TrvAdminPgTest", "admin_db");
    EXPECT_EQ(register_admin_data_source(folder(), "TrvAdminPgTest"), 1);
    EXPECT_EQ(odbc_dsn_value("TrvAdminPgTest", "Database"), "admin_db");
    EXPECT_EQ(odbc_dsn_value("TrvAdminPgTest", "Driver"), odbc_postgresql_unicode_driver);
}

TEST(SchemaScripts, StatementsSplitOutsideQuotesAndComments)
{
    const auto statements = split_sql_script(
        "-- schema test version 3\n"
        "CREATE TABLE a (x TEXT DEFAULT 'a;b'); -- trailing; comment\n"
        "INSERT INTO \"odd;name\" VALUES ('it''s; fine');\n"
        "  \n-- only a comment;\n");
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0], "CREATE TABLE a (x TEXT DEFAULT 'a;b')");
    EXPECT_EQ(statements[1], "INSERT INTO \"odd;name\" VALUES ('it''s; fine')");
    EXPECT_EQ(schema_script_version("-- schema test version 3\n"), 3);
    EXPECT_EQ(schema_script_version("CREATE TABLE x (y INTEGER);"), -1);
}

class SchemaOnBoth : public DbBackendTest {};

// Every table a script declares exists after it ran, on both databases.
TEST_P(SchemaOnBoth, ScriptsMakeEveryTableTheyDeclare)
{
    const SqlDialect& dialect = is_postgresql() ? SqlDialect::postgresql() : SqlDialect::sqlite();
    for (const std::string name : {"inventory", "admin"}) {
        const std::string script = read_schema_script(schema_folder(folder()), dialect, name);
        EXPECT_EQ(schema_script_version(script), 1);
        auto c = open_connection(fresh(name));
        std::regex create("CREATE TABLE (\\w+)");
        int tables = 0;
        for (std::sregex_iterator i(script.begin(), script.end(), create), end; i != end; ++i, ++tables) {
            const std::string table = (*i)[1];
            EXPECT_EQ(c->get_stmnt_results(dialect.table_exists(), {table}).RowCount(), 1) << name << " " << table;
        }
        EXPECT_GE(tables, name == "inventory" ? 25 : 9);
    }
}

INSTANTIATE_TEST_SUITE_P(Db, SchemaOnBoth, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace

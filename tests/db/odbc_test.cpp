// One suite, run on SQLite and on PostgreSQL: bound values round-trip
// unchanged, long values are read whole, failures are reported and leave the
// connection usable.
#include "db_test_env.h"

#include "../common/log_capture.h"
#include "dialect.h"
#include "qr_exception.h"
#include "qr_odbc.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

class OdbcTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        c = open_connection(fresh());
        c->query("CREATE TABLE t (id INTEGER, txt TEXT, big BIGINT, real_value DOUBLE PRECISION)");
    }
    std::unique_ptr<MSSQLODBCConnection> c;
};

TEST_P(OdbcTest, HostileTextsRoundTripUnchangedAsBoundValues)
{
    const std::string texts[] = {
        "it's",
        "\"double\" and 'single' quotes",
        "100% of _all_ %s %d",
        "C:\\path\\to\\file \\' \\\\",
        "'); DROP TABLE t; --",
        "1' OR '1'='1",
        "?, ?, ? markers",
        "tab\tnew line\ncarriage\r",
        "Ünïcödé € ☃",
        "",
    };
    int32_t id = 0;
    for (const auto& text : texts)
        c->get_stmnt_results("INSERT INTO t (id, txt) VALUES (?, ?)", {++id, text});
    DB_DATA d = c->query("SELECT id, txt FROM t ORDER BY id");
    ASSERT_EQ(d.RowCount(), id);
    for (int row = 0; row < id; ++row) EXPECT_EQ(d.Column("txt").GetString(row), texts[row]) << row;
    // The same texts find their rows when compared as bound values.
    for (const auto& text : texts) {
        DB_DATA one = c->get_stmnt_results("SELECT COUNT(*) AS n FROM t WHERE txt = ?", {text});
        EXPECT_EQ(one.Column("n").GetLong(0), 1) << text;
    }
}

TEST_P(OdbcTest, LongTextsAreReadWholeThroughEveryFetchPart)
{
    std::string big;
    for (int n = 0; big.size() < 20000; ++n) big += "line " + std::to_string(n) + " 'quoted' \\ %\n";
    const std::string exact_buffer(8191, 'x');  // exactly one full fetch part
    c->get_stmnt_results("INSERT INTO t (id, txt) VALUES (?, ?)", {int32_t(1), big});
    c->get_stmnt_results("INSERT INTO t (id, txt) VALUES (?, ?)", {int32_t(2), exact_buffer});
    DB_DATA d = c->query("SELECT txt FROM t ORDER BY id");
    ASSERT_EQ(d.RowCount(), 2);
    EXPECT_EQ(d.Column("txt").GetString(0).size(), big.size());
    EXPECT_EQ(d.Column("txt").GetString(0), big);
    EXPECT_EQ(d.Column("txt").GetString(1), exact_buffer);
}

TEST_P(OdbcTest, NumbersBindWithTheirOwnTypesAndNullsReadAsEmpty)
{
    c->get_stmnt_results("INSERT INTO t (id, txt, big, real_value) VALUES (?, ?, ?, ?)",
                         {INT32_MIN, std::string("min"), int64_t(INT64_MIN), -1.5e-7});
    c->get_stmnt_results("INSERT INTO t (id, txt, big, real_value) VALUES (?, ?, ?, ?)",
                         {INT32_MAX, std::string("max"), int64_t(1) << 40, 12345.25});
    c->get_stmnt_results("INSERT INTO t (id, txt, big, real_value) VALUES (?, ?, ?, ?)",
                         {int32_t(7), qr_sql_null{}, qr_sql_null{qr_sql_null::bigint}, qr_sql_null{qr_sql_null::real}});
    c->get_stmnt_results("INSERT INTO t (id, txt) VALUES (?, ?)",
                         {qr_sql_null{qr_sql_null::integer}, std::string("no id")});

    DB_DATA d = c->get_stmnt_results("SELECT id, big, real_value FROM t WHERE txt = ?", {std::string("min")});
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d.Column("id").GetLong(0), INT32_MIN);
    EXPECT_EQ(d.Column("big").GetString(0), std::to_string(INT64_MIN));
    EXPECT_DOUBLE_EQ(d.Column("real_value").GetDouble(0), -1.5e-7);

    d = c->get_stmnt_results("SELECT id, big, real_value FROM t WHERE big = ?", {int64_t(1) << 40});
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d.Column("id").GetLong(0), INT32_MAX);
    EXPECT_DOUBLE_EQ(d.Column("real_value").GetDouble(0), 12345.25);

    d = c->get_stmnt_results("SELECT txt, big, real_value FROM t WHERE id = ?", {int32_t(7)});
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d.Column("txt").GetString(0), "");
    EXPECT_EQ(d.Column("big").GetInt(0), -1);
    EXPECT_EQ(d.Column("big").GetLong(0), 0);
    EXPECT_TRUE(d.Column("big").GetBool(0));
    EXPECT_DOUBLE_EQ(d.Column("real_value").GetDouble(0), -1.0);

    d = c->query("SELECT txt FROM t WHERE id IS NULL");
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d.Column("txt").GetString(0), "no id");
}

TEST_P(OdbcTest, MixedCaseColumnNamesAreFoundWhateverCaseTheDatabaseReports)
{
    c->query("CREATE TABLE InventoryHosts (uid INTEGER, NetAddr TEXT, AsOfId INTEGER)");
    c->get_stmnt_results("INSERT INTO InventoryHosts (uid, NetAddr, AsOfId) VALUES (?, ?, ?)",
                         {int32_t(5), std::string("10.1.2.3"), int32_t(2)});
    DB_DATA d = c->query("SELECT NetAddr, AsOfId, uid AS Uid FROM InventoryHosts");
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d.Column("NetAddr").GetString(0), "10.1.2.3");
    EXPECT_EQ(d.Column("AsOfId").GetLong(0), 2);
    EXPECT_EQ(d.Column("uid").GetLong(0), 5);
    EXPECT_EQ(d.ColumnCount(), 3);
}

TEST_P(OdbcTest, DialectPatternMatchIgnoresCaseAndEscapesWildcards)
{
    const SqlDialect& dialect = is_postgresql() ? SqlDialect::postgresql() : SqlDialect::sqlite();
    int32_t id = 0;
    for (const char* text : {"Cisco Router", "CISCO switch", "100% done", "1000 done", "a_b", "axb"})
        c->get_stmnt_results("INSERT INTO t (id, txt) VALUES (?, ?)", {++id, std::string(text)});
    auto count = [&](const std::string& pattern) {
        return c->get_stmnt_results("SELECT COUNT(*) AS n FROM t WHERE " + dialect.like_ignoring_case("txt") +
                                        " " + dialect.limit(10),
                                    {pattern})
            .Column("n")
            .GetLong(0);
    };
    EXPECT_EQ(count("cisco%"), 2);
    EXPECT_EQ(count("100\\%%"), 1);
    EXPECT_EQ(count("a\\_b"), 1);
    EXPECT_EQ(count("a_b"), 2);
}

TEST_P(OdbcTest, FailedStatementsThrowAndLeaveTheConnectionUsable)
{
    LogCapture log;
    EXPECT_THROW(c->query("SELECT nothing FROM no_such_table"), qr_exception_t);
    EXPECT_EQ(c->execute("INSERT INTO no_such_table VALUES (1)"), -1);
    try {
        c->get_stmnt_results("INSERT INTO t (id, txt) VALUES (?, ?)", {int32_t(1)});
        FAIL() << "a missing value was accepted";
    } catch (const qr_exception_t& e) {
        EXPECT_NE(e.message().find("2 parameter markers, 1 values"), std::string::npos) << e.message();
    }
    EXPECT_NE(log.text().find("Failed to Execute SQL Statement 'SELECT nothing FROM no_such_table' is invalid"),
              std::string::npos);
    EXPECT_EQ(c->execute("INSERT INTO t (id) VALUES (1)"), 0);
    EXPECT_EQ(c->query("SELECT id FROM t").RowCount(), 1);
}

TEST_P(OdbcTest, FailureMessagesOpenWithTheSystemsOwnTexts)
{
    LogCapture log;
    const std::string direct = "SELECT nothing FROM no_such_table";
    try {
        c->query(direct);
        FAIL() << "a missing table was accepted";
    } catch (const qr_exception_t& e) {
        EXPECT_EQ(e.message().rfind("Failed to Execute SQL Statement '" + direct + "' is invalid [", 0), 0u)
            << e.message();
    }
    // SQLite refuses the statement while preparing it, PostgreSQL when it runs.
    const std::string bound = "SELECT nothing FROM no_such_table WHERE id = ?";
    const std::string expected =
        is_postgresql()
            ? "Failed to Execute SQL Statement '" + bound + "' is invalid. [Failed to Execute SQL Statement '" + bound +
                  "' is invalid.\n\r"
            : std::string("MSSQLODBCConnection::get_stmnt_results Failed to PREPARE statement! \n\r");
    try {
        c->get_stmnt_results(bound, {int32_t(1)});
        FAIL() << "a missing table was accepted";
    } catch (const qr_exception_t& e) {
        EXPECT_EQ(e.message().rfind(expected, 0), 0u) << e.message();
    }
    EXPECT_NE(log.text().find(expected), std::string::npos) << log.text();
}

TEST_P(OdbcTest, StatementsWithoutRowsGiveEmptyResults)
{
    DB_DATA d = c->get_stmnt_results("UPDATE t SET txt = ? WHERE id = ?", {std::string("x"), int32_t(99)});
    EXPECT_EQ(d.RowCount(), 0);
    d = c->get_stmnt_results("DELETE FROM t WHERE id = ?", {int32_t(99)});
    EXPECT_EQ(d.RowCount(), 0);
    d = c->query("SELECT id FROM t");
    EXPECT_EQ(d.RowCount(), 0);
    EXPECT_TRUE(d.HasColumn("id"));
}

TEST_P(OdbcTest, AConnectionNeverOpenedConnectsOnItsFirstStatement)
{
    const std::string dsn = fresh();
    MSSQLODBCConnection late(dsn, dsn, "", "");
    late.set_reconnect_policy({std::chrono::milliseconds(1), 2});
    LogCapture log;
    EXPECT_EQ(late.query("SELECT 5 AS five").Column("five").GetLong(0), 5);
    EXPECT_TRUE(late.connected());
    EXPECT_NE(log.text().find("Trying to reconnect"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Db, OdbcTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

TEST(OdbcConnect, FailureMessageNamesTheSourceAndUserButNeverThePassword)
{
    DbTestEnvironment::get();
    LogCapture log;
    MSSQLODBCConnection c("nowhere", "TrvNoSuchSource", "scott", "tiger-secret-42");
    try {
        c.connect();
        FAIL() << "connected to a missing data source";
    } catch (const qr_exception_t& e) {
        EXPECT_NE(e.message().find("TrvNoSuchSource"), std::string::npos);
        EXPECT_NE(e.message().find("scott"), std::string::npos);
        EXPECT_EQ(e.message().find("tiger-secret-42"), std::string::npos) << e.message();
    }
    EXPECT_EQ(log.text().find("tiger-secret-42"), std::string::npos);
    EXPECT_FALSE(c.connected());
}

// A connection whose connect fails while it was open is closed afterwards:
// its next statement reconnects instead of failing on a handle that is gone.
TEST(OdbcConnect, AFailedConnectLeavesAnOpenConnectionClosed)
{
    struct Retargetable : MSSQLODBCConnection {
        using MSSQLODBCConnection::MSSQLODBCConnection;
        void retarget(const std::string& dsn) { dsn_ = dsn; }
    };
    const std::string dsn = DbTestEnvironment::get().fresh_data_source("sqlite");
    Retargetable c(dsn, dsn, "", "");
    c.set_reconnect_policy({std::chrono::milliseconds(1), 1});
    c.connect();
    ASSERT_TRUE(c.connected());
    c.retarget("TrvNoSuchSource");
    EXPECT_THROW(c.connect(), qr_exception_t);
    EXPECT_FALSE(c.connected());

    LogCapture log;
    EXPECT_THROW(c.query("SELECT 1 AS one"), qr_exception_t);
    EXPECT_NE(log.text().find("Connection with SQL server lost. Trying to reconnect."), std::string::npos)
        << log.text();
    c.retarget(dsn);
    EXPECT_EQ(c.query("SELECT 1 AS one").Column("one").GetLong(0), 1);
    EXPECT_TRUE(c.connected());
}

TEST(OdbcResults, SecondResultSetAppendsToColumnsOfTheSameName)
{
    auto c = open_connection(DbTestEnvironment::get().fresh_data_source("postgresql"));
    DB_DATA d = c->query("SELECT 1 AS a, 'x' AS b; SELECT 2 AS a, 'y' AS b");
    ASSERT_EQ(d.RowCount(), 2);
    EXPECT_EQ(d.ColumnCount(), 2);
    EXPECT_EQ(d.Column("a").GetLong(1), 2);
    EXPECT_EQ(d.Column("b").GetString(1), "y");

    // A first statement that touches nothing must not hide the rows after it.
    c->query("CREATE TABLE counts (n INTEGER)");
    d = c->query("UPDATE counts SET n = 2 WHERE n = 99; SELECT 5 AS five");
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d.Column("five").GetLong(0), 5);
    d = c->get_stmnt_results("DELETE FROM counts WHERE n = ?; SELECT 6 AS six", {int32_t(99)});
    EXPECT_EQ(d.Column("six").GetLong(0), 6);
    d = c->query("SELECT 1 AS a; UPDATE counts SET n = 2 WHERE n = 99; SELECT 3 AS a");
    EXPECT_EQ(d.RowCount(), 2);
    // ... nor a failure after it.
    EXPECT_THROW(c->query("UPDATE counts SET n = 2 WHERE n = 99; SELECT nothing FROM no_such_table"), qr_exception_t);
    EXPECT_EQ(c->query("SELECT 7 AS seven").Column("seven").GetLong(0), 7);
}

// The server side of a connection goes away; the statement still completes.
TEST(OdbcReconnect, KilledBackendIsReconnectedAndTheStatementCompletes)
{
    auto& env = DbTestEnvironment::get();
    const std::string dsn = env.fresh_data_source("postgresql");
    auto victim = open_connection(dsn);
    auto killer = open_connection(dsn);
    victim->query("CREATE TABLE r (id INTEGER)");
    const int32_t pid = static_cast<int32_t>(victim->query("SELECT pg_backend_pid() AS pid").Column("pid").GetLong(0));
    ASSERT_GT(pid, 0);
    DB_DATA killed = killer->get_stmnt_results("SELECT pg_terminate_backend(?) AS done", {pid});
    ASSERT_EQ(killed.Column("done").GetString(0), "1");

    LogCapture log;
    victim->get_stmnt_results("INSERT INTO r (id) VALUES (?)", {int32_t(42)});
    EXPECT_TRUE(victim->connected());
    EXPECT_EQ(killer->query("SELECT id FROM r").Column("id").GetLong(0), 42);
    const std::string text = log.text();
    EXPECT_NE(text.find("Connection with SQL server lost. Trying to reconnect."), std::string::npos) << text;
    EXPECT_NE(victim->query("SELECT pg_backend_pid() AS pid").Column("pid").GetLong(0), pid);
}

// While the database refuses connections, every attempt is logged and the
// connection gives up after its limit instead of looping silently.
TEST(OdbcReconnect, EveryAttemptIsLoggedAndTheLimitEndsTheWait)
{
    auto& env = DbTestEnvironment::get();
    const std::string dsn = env.fresh_data_source("postgresql");
    auto admin = open_connection(env.postgresql_maintenance_dsn());
    const std::string database = "trvtest" + dsn.substr(7, dsn.find('_') - 7);
    auto victim = open_connection(dsn);
    victim->set_reconnect_policy({std::chrono::milliseconds(1), 3});
    admin->query("ALTER DATABASE " + database + " ALLOW_CONNECTIONS false");
    admin->get_stmnt_results("SELECT pg_terminate_backend(pid) AS done FROM pg_stat_activity WHERE datname = ?",
                             {database});

    LogCapture log;
    try {
        victim->query("SELECT 1 AS one");
        FAIL() << "a statement ran on a database that refuses connections";
    } catch (const qr_exception_t& e) {
        EXPECT_NE(e.message().find("after 3 attempts"), std::string::npos) << e.message();
    }
    const std::string text = log.text();
    size_t attempts = 0;
    for (size_t at = text.find("Failed to reconnect"); at != std::string::npos;
         at = text.find("Failed to reconnect", at + 1))
        ++attempts;
    EXPECT_EQ(attempts, 3u) << text;
    EXPECT_NE(text.find("Failed to reconnect to MSSQL server[Failed to Connect to data source '" + dsn + "'"),
              std::string::npos)
        << text;

    // Once the database is back, the next statement reconnects by itself.
    admin->query("ALTER DATABASE " + database + " ALLOW_CONNECTIONS true");
    EXPECT_EQ(victim->query("SELECT 1 AS one").Column("one").GetLong(0), 1);
}

}  // namespace

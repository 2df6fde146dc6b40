// Transactions of an ODBC connection on both databases: a rollback leaves
// the rows as they were, a commit keeps the work, a guard that is not
// committed rolls back, a nested guard joins the outer transaction, and a
// link lost inside a transaction is not papered over by a re-run.
#include "db_test_env.h"

#include "../common/log_capture.h"
#include "qr_exception.h"
#include "qr_odbc.h"

#include <gtest/gtest.h>

namespace {

class TransactionTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        dsn = fresh();
        c = open_connection(dsn);
        other = open_connection(dsn);
        c->query("CREATE TABLE t (id INTEGER)");
        c->query("INSERT INTO t (id) VALUES (1)");
    }
    long rows() { return other->query("SELECT COUNT(*) AS n FROM t").Column("n").GetLong(0); }

    std::string dsn;
    std::unique_ptr<MSSQLODBCConnection> c, other;
};

TEST_P(TransactionTest, RollbackUndoesCommitKeepsAndAutocommitReturns)
{
    c->begin_transaction();
    EXPECT_TRUE(c->in_transaction());
    c->query("DELETE FROM t");
    c->query("INSERT INTO t (id) VALUES (2)");
    c->rollback();
    EXPECT_FALSE(c->in_transaction());
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(other->query("SELECT id FROM t").Column("id").GetLong(0), 1);

    c->begin_transaction();
    c->query("INSERT INTO t (id) VALUES (3)");
    c->commit();
    EXPECT_EQ(rows(), 2);

    // Back in autocommit: a single statement is visible at once.
    c->query("INSERT INTO t (id) VALUES (4)");
    EXPECT_EQ(rows(), 3);
    EXPECT_THROW(c->commit(), qr_exception_t);  // nothing to commit
}

TEST_P(TransactionTest, GuardRollsBackOnAFailureAndNestedGuardsJoinTheOuterOne)
{
    try {
        qr_transaction outer(*c);
        c->query("DELETE FROM t");
        {
            qr_transaction inner(*c);
            c->query("INSERT INTO t (id) VALUES (5)");
            inner.commit();  // joins: nothing is committed yet
        }
        EXPECT_TRUE(c->in_transaction());
        c->query("INSERT INTO no_such_table (id) VALUES (6)");
        outer.commit();
        FAIL() << "a statement on a missing table succeeded";
    } catch (const qr_exception_t&) {
    }
    EXPECT_FALSE(c->in_transaction());
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(c->query("SELECT id FROM t").Column("id").GetLong(0), 1);

    {
        qr_transaction tx(*c);
        c->query("INSERT INTO t (id) VALUES (7)");
        tx.commit();
    }
    EXPECT_EQ(rows(), 2);
}

INSTANTIATE_TEST_SUITE_P(Db, TransactionTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

// The server side goes away in the middle of a transaction: the statement
// throws instead of running alone on a new session, nothing of the
// transaction stays, and the next statement reconnects.
TEST(TransactionLink, LostLinkEndsTheTransactionWithoutARerun)
{
    auto& env = DbTestEnvironment::get();
    const std::string dsn = env.fresh_data_source("postgresql");
    auto victim = open_connection(dsn);
    auto killer = open_connection(dsn);
    victim->query("CREATE TABLE r (id INTEGER)");
    const int32_t pid = static_cast<int32_t>(victim->query("SELECT pg_backend_pid() AS pid").Column("pid").GetLong(0));

    LogCapture log;
    victim->begin_transaction();
    victim->query("INSERT INTO r (id) VALUES (1)");
    killer->get_stmnt_results("SELECT pg_terminate_backend(?) AS done", {pid});
    EXPECT_THROW(victim->query("INSERT INTO r (id) VALUES (2)"), qr_exception_t);
    EXPECT_FALSE(victim->in_transaction());
    victim->rollback();  // nothing left to end; must not throw

    victim->query("INSERT INTO r (id) VALUES (3)");
    DB_DATA ids = killer->query("SELECT id FROM r ORDER BY id");
    ASSERT_EQ(ids.RowCount(), 1);
    EXPECT_EQ(ids.Column("id").GetLong(0), 3);
}

}  // namespace

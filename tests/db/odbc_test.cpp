#include "db_test_env.h"

#include "dialect.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_odbc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

namespace {

class OdbcTest : public DbBackendTest {};

TEST_P(OdbcTest, Smoke)
{
    auto c = open_connection(fresh());
    c->query("CREATE TABLE t (id INTEGER, txt TEXT, big BIGINT, real_value DOUBLE PRECISION)");
    c->get_stmnt_results("INSERT INTO t (id, txt, big, real_value) VALUES (?, ?, ?, ?)",
                         {int32_t(1), std::string("it's"), int64_t(1) << 40, 2.5});
    DB_DATA d = c->query("SELECT id, txt, big, real_value FROM t");
    ASSERT_EQ(d.RowCount(), 1);
    EXPECT_EQ(d.Column("txt").GetString(0), "it's");
    EXPECT_EQ(d.Column("big").GetString(0), "1099511627776");
    EXPECT_EQ(d.Column("real_value").GetString(0), "2.5");
}

INSTANTIATE_TEST_SUITE_P(Db, OdbcTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace

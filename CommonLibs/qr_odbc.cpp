#include "qr_odbc.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "qr_sync.h"

#include <sql.h>
#include <sqlext.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

// The one Error line of a failure of this layer, then the failure itself.
[[noreturn]] void log_and_throw(const std::string& message)
{
    TRV_LOG(qr_Error, message);
    throw qr_logged_exception_t(message);
}

// Taken around every connect and disconnect; alone, never with another lock.
qr_mutex& connect_mutex()
{
    static qr_mutex m;
    return m;
}


constexpr size_t fetch_buffer_size = 8192;

bool ok(SQLRETURN rc)
{
    return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO;
}

bool is_binary(SQLSMALLINT sql_type)
{
    return sql_type == SQL_BINARY || sql_type == SQL_VARBINARY || sql_type == SQL_LONGVARBINARY;
}

// Storage of one bound value; it must outlive SQLExecute.
struct bound_value {
    SQLINTEGER i32 = 0;
    SQLBIGINT i64 = 0;
    SQLDOUBLE dbl = 0;
    std::string text;
    SQLLEN indicator = 0;
};

std::string vformat(const char* format, va_list args)
{
    va_list again;
    va_copy(again, args);
    char small[4099];
    int needed = std::vsnprintf(small, sizeof small, format, args);
    if (needed < 0) {
        va_end(again);
        return std::string();
    }
    if (static_cast<size_t>(needed) < sizeof small) {
        va_end(again);
        return std::string(small, static_cast<size_t>(needed));
    }
    std::string big(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(big.data(), big.size(), format, again);
    va_end(again);
    big.resize(static_cast<size_t>(needed));
    return big;
}

}  // namespace

MSSQLODBCConnection::MSSQLODBCConnection(std::string resource_name, std::string dsn, std::string user,
                                         std::string password)
    : DBConnection(std::move(resource_name), std::move(dsn), std::move(user), std::move(password))
{
}

MSSQLODBCConnection::~MSSQLODBCConnection()
{
    if (connected_) disconnect();
    free_handles();
}

void MSSQLODBCConnection::free_statement()
{
    if (stmt_) {
        SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
        stmt_ = nullptr;
    }
}

void MSSQLODBCConnection::free_handles()
{
    free_statement();
    if (dbc_) {
        // A connection that lost its link is still open on the driver's side.
        {
            qr_automutex one_at_a_time(connect_mutex());
            SQLDisconnect(dbc_);
        }
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        dbc_ = nullptr;
    }
    if (env_) {
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        env_ = nullptr;
    }
    handles_allocated_ = false;
}

std::string MSSQLODBCConnection::collect_diagnostics(short handle_type, void* handle)
{
    std::string collected;
    if (!handle) return collected;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLCHAR message[512] = {};
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(handle_type, handle, record, state, &native, message, sizeof message, &length);
        if (!ok(rc)) break;
        char text[700];
        std::snprintf(text, sizeof text, "SQLSRVER MSG: SqlState='%s' Msg='%s' NativeError=%d",
                      reinterpret_cast<const char*>(state), reinterpret_cast<const char*>(message),
                      static_cast<int>(native));
        TRV_LOG(qr_Debug, text);
        set_error_text(text);
        collected += "\n";
        collected += text;
        // 08S01 is the lost link; other drivers report a dropped session under class 08.
        if (std::strncmp(reinterpret_cast<const char*>(state), "08", 2) == 0) connected_ = false;
    }
    if (connected_ && dbc_ && !collected.empty()) {
        // PostgreSQL reports a killed session as 57P01 and only later as 08S01: ask the driver.
        SQLUINTEGER dead = SQL_CD_FALSE;
        if (ok(SQLGetConnectAttr(dbc_, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE)
            connected_ = false;
    }
    return collected;
}

void MSSQLODBCConnection::connect()
{
    // The old link goes with its handles; a failure below must not leave
    // the connection claiming one, or no statement would ever reconnect.
    connected_ = false;
    free_handles();
    SQLHENV env = SQL_NULL_HENV;
    if (!ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)))
        qr_exception("Failed to initialize SQL envoriment handle!");
    env_ = env;
    if (!ok(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
        free_handles();
        qr_exception("Failed to Set the ODBC version environment attribute!");
    }
    SQLHDBC dbc = SQL_NULL_HDBC;
    if (!ok(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc))) {
        free_handles();
        qr_exception("Failed to Allocate connection handle!");
    }
    dbc_ = dbc;
    SQLSetConnectAttr(dbc, SQL_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(15), 0);
    handles_allocated_ = true;

    SQLRETURN rc;
    {
        // The PostgreSQL driver switches the process's C locale while it
        // connects; two connects at once would race on it. Other statements
        // already run one at a time under the server's database mutex.
        qr_automutex one_at_a_time(connect_mutex());
        rc = SQLConnect(dbc, (SQLCHAR*)dsn_.c_str(), SQL_NTS, (SQLCHAR*)user_.c_str(), SQL_NTS,
                        (SQLCHAR*)password_.c_str(), SQL_NTS);
    }
    last_rc_ = rc;
    if (!ok(rc)) {
        std::string why = collect_diagnostics(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        dbc_ = nullptr;
        free_handles();
        // The password stays out of the text: it reaches logs and consoles.
        qr_exception("Failed to Connect to data source '%s' using Autorization key %s:%s!%s", dsn_.c_str(),
                     user_.c_str(), password_.empty() ? "" : "***", why.c_str());
    }
    connected_ = true;
}

void MSSQLODBCConnection::disconnect()
{
    if (dbc_) {
        qr_automutex one_at_a_time(connect_mutex());
        SQLDisconnect(dbc_);
    }
    connected_ = false;
}

void MSSQLODBCConnection::reconnect()
{
    if (connected_) disconnect();
    connect();
}

int MSSQLODBCConnection::execute(const std::string& sql)
{
    try {
        query(sql);
        return 0;
    } catch (const qr_exception_t&) {
        return -1;  // already logged where it failed
    }
}

DB_DATA MSSQLODBCConnection::query_format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string sql = vformat(format, args);
    va_end(args);
    return query(sql);
}

DB_DATA MSSQLODBCConnection::query(const std::string& sql)
{
    return run(sql, nullptr);
}

DB_DATA MSSQLODBCConnection::get_stmnt_results(const std::string& sql, const qr_sql_params& params)
{
    return run(sql, &params);
}

void MSSQLODBCConnection::reconnect_loop(bool prepared)
{
    for (int attempt = 1;; ++attempt) {
        TRV_LOG(qr_Error, "Connection with SQL server lost. Trying to reconnect.");
        try {
            reconnect();
            TRV_LOG(qr_Debug, "Reconnected to SQL SERVER");
            return;
        } catch (const qr_exception_t& e) {
            // The prepared form writes a blank before the bracket, the direct one none.
            const char* head =
                prepared ? "Failed to reconnect to MSSQL server [" : "Failed to reconnect to MSSQL server[";
            TRV_LOG(qr_Error, head << e.message() << "]. Will try again  afret "
                                   << reconnect_policy_.delay.count() / 1000.0 << " sec. (attempt " << attempt << ")");
            if (reconnect_policy_.max_attempts > 0 && attempt >= reconnect_policy_.max_attempts)
                qr_exception("Gave up reconnecting to data source '%s' after %d attempts", dsn_.c_str(), attempt);
        }
        std::this_thread::sleep_for(reconnect_policy_.delay);
    }
}

DB_DATA MSSQLODBCConnection::run(const std::string& sql, const qr_sql_params* params)
{
    ++statements_;
    struct count_guard {
        int& n;
        ~count_guard() { --n; }
    } guard{statements_};

    bool link_lost = false;
    try {
        return run_once(sql, params, link_lost);
    } catch (const qr_exception_t&) {
        if (!link_lost) throw;
        if (in_transaction_) {
            // The work before this statement went with the link; running it alone now would be wrong.
            in_transaction_ = false;
            throw;
        }
        reconnect_loop(params != nullptr);
        // A statement lost with the link is run once more; nested re-runs stop at three deep.
        if (statements_ < 3) return run(sql, params);
        throw;
    }
}

DB_DATA MSSQLODBCConnection::run_once(const std::string& sql, const qr_sql_params* params, bool& link_lost)
{
    if (!connected_) {
        link_lost = true;
        qr_exception("Connection to data source '%s' is not open; statement '%s' not run", dsn_.c_str(),
                     sql.c_str());
    }
    free_statement();
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!ok(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt))) {
        collect_diagnostics(SQL_HANDLE_DBC, dbc_);
        link_lost = !connected_;
        qr_exception("Failed to Allocate statement handle!");
    }
    stmt_ = stmt;
    struct stmt_guard {
        MSSQLODBCConnection* c;
        ~stmt_guard() { c->free_statement(); }
    } free_at_end{this};

    // The failures below tell the caller whether the link went with the statement.
    const bool prepared = params != nullptr;
    // Preparing or binding failed: the reason is the whole message.
    auto fail_prepare = [&](const std::string& reason) {
        link_lost = !connected_;
        log_and_throw(reason);
    };
    // The statement itself was refused.
    auto fail_execute = [&](const std::string& why) {
        link_lost = !connected_;
        if (!prepared)
            log_and_throw("Failed to Execute SQL Statement '" + sql + "' is invalid [" + why + "].\n\r" +
                          get_error_text());
        const std::string reason = "Failed to Execute SQL Statement '" + sql + "' is invalid.\n\r" + why;
        log_and_throw("Failed to Execute SQL Statement '" + sql + "' is invalid. [" + reason + " [" + why + "]]");
    };
    // Reading the columns or rows failed.
    auto fail = [&](const std::string& what, const std::string& why) {
        link_lost = !connected_;
        const std::string message =
            "Failed to Execute SQL Statement '" + sql + "' is invalid. [" + what + " [" + why + "]]";
        log_and_throw(prepared ? message : message + "\n\r" + get_error_text());
    };
    // The statement's own message text: slot details, then the driver's text when prepared.
    auto reason_of = [&](std::string text, const std::string& why) {
        if (prepared) text += "\n\r" + why;
        return text;
    };

    SQLRETURN rc;
    std::vector<bound_value> values;
    if (params) {
        rc = SQLPrepare(stmt, (SQLCHAR*)sql.c_str(), SQL_NTS);
        if (!ok(rc)) {
            std::string why = collect_diagnostics(SQL_HANDLE_STMT, stmt);
            fail_prepare("MSSQLODBCConnection::get_stmnt_results Failed to PREPARE statement! \n\r" + why);
        }
        SQLSMALLINT markers = 0;
        if (!ok(SQLNumParams(stmt, &markers))) {
            std::string why = collect_diagnostics(SQL_HANDLE_STMT, stmt);
            fail_prepare("MSSQLODBCConnection::get_stmnt_results Failed to PREPARE statement!\n\r" + why);
        }
        if (static_cast<size_t>(markers) != params->size()) {
            char what[128];
            std::snprintf(what, sizeof what, "statement has %d parameter markers, %zu values given",
                          static_cast<int>(markers), params->size());
            fail_prepare(std::string("Failed to complete prepare Statement [ ") + what + " ]");
        }
        values.resize(params->size());
        for (size_t n = 0; n < params->size(); ++n) {
            bound_value& v = values[n];
            SQLSMALLINT c_type = SQL_C_CHAR, sql_type = SQL_VARCHAR;
            SQLULEN size = 0;
            SQLPOINTER buffer = nullptr;
            SQLLEN buffer_length = 0;
            const qr_sql_param& p = (*params)[n];
            if (auto* i = std::get_if<int32_t>(&p)) {
                v.i32 = *i;
                c_type = SQL_C_SLONG, sql_type = SQL_INTEGER, buffer = &v.i32;
                v.indicator = sizeof v.i32;
            } else if (auto* l = std::get_if<int64_t>(&p)) {
                v.i64 = *l;
                c_type = SQL_C_SBIGINT, sql_type = SQL_BIGINT, buffer = &v.i64;
                v.indicator = sizeof v.i64;
            } else if (auto* d = std::get_if<double>(&p)) {
                v.dbl = *d;
                c_type = SQL_C_DOUBLE, sql_type = SQL_DOUBLE, buffer = &v.dbl;
                v.indicator = sizeof v.dbl;
            } else if (auto* s = std::get_if<std::string>(&p)) {
                v.text = *s;
                buffer = v.text.data();
                buffer_length = static_cast<SQLLEN>(v.text.size());
                size = v.text.empty() ? 1 : v.text.size();
                v.indicator = static_cast<SQLLEN>(v.text.size());
            } else {
                switch (std::get<qr_sql_null>(p).kind) {
                case qr_sql_null::integer: c_type = SQL_C_SLONG, sql_type = SQL_INTEGER; break;
                case qr_sql_null::bigint: c_type = SQL_C_SBIGINT, sql_type = SQL_BIGINT; break;
                case qr_sql_null::real: c_type = SQL_C_DOUBLE, sql_type = SQL_DOUBLE; break;
                case qr_sql_null::text: size = 1; break;
                }
                buffer = &v.i64;
                v.indicator = SQL_NULL_DATA;
            }
            rc = SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(n + 1), SQL_PARAM_INPUT, c_type, sql_type, size,
                                  0, buffer, buffer_length, &v.indicator);
            if (!ok(rc)) {
                std::string why = collect_diagnostics(SQL_HANDLE_STMT, stmt);
                char what[64];
                std::snprintf(what, sizeof what, "Failed to bind parametr %zu of statement '", n + 1);
                fail_prepare("Failed to complete prepare Statement [ MSSQLODBCConnection::get_stmnt_results " +
                             std::string(what) + sql + "' ]" + why);
            }
        }
        rc = SQLExecute(stmt);
    } else {
        rc = SQLExecDirect(stmt, (SQLCHAR*)sql.c_str(), SQL_NTS);
    }
    last_rc_ = rc;

    DB_DATA result;
    // A first statement that touched nothing may be followed by others with rows.
    for (int more = 0; rc == SQL_NO_DATA && more < 3; ++more) rc = SQLMoreResults(stmt);
    if (rc == SQL_NO_DATA) {
        TRV_LOG(qr_Debug, "Nothig affected by request. [" << sql << "]");
        return result;
    }
    if (!ok(rc)) {
        std::string why = collect_diagnostics(SQL_HANDLE_STMT, stmt);
        fail_execute(why);
    }
    if (rc == SQL_SUCCESS_WITH_INFO) collect_diagnostics(SQL_HANDLE_STMT, stmt);

    std::vector<char> buffer(fetch_buffer_size);
    for (;;) {
        SQLSMALLINT columns = 0;
        if (SQLNumResultCols(stmt, &columns) == SQL_ERROR)
            fail("Failed to get column cout from request!", collect_diagnostics(SQL_HANDLE_STMT, stmt));
        if (columns > 0) {
            std::vector<std::string> names(static_cast<size_t>(columns));
            std::vector<SQLSMALLINT> types(static_cast<size_t>(columns));
            for (SQLSMALLINT c = 1; c <= columns; ++c) {
                SQLCHAR name[256] = {};
                SQLSMALLINT name_length = 0, type = 0, digits = 0, nullable = 0;
                SQLULEN column_size = 0;
                if (!ok(SQLDescribeCol(stmt, static_cast<SQLUSMALLINT>(c), name, sizeof name, &name_length, &type,
                                       &column_size, &digits, &nullable))) {
                    char what[96];
                    std::snprintf(what, sizeof what,
                                  "Failed to get column description for column %d from request '", c);
                    const std::string why = collect_diagnostics(SQL_HANDLE_STMT, stmt);
                    fail(reason_of(what + sql + (prepared ? "' " : "'"), why), why);
                }
                names[static_cast<size_t>(c - 1)] = reinterpret_cast<const char*>(name);
                types[static_cast<size_t>(c - 1)] = type;
                result.Column(names[static_cast<size_t>(c - 1)]);
            }
            for (int row = 1;; ++row) {
                rc = SQLFetch(stmt);
                if (rc == SQL_NO_DATA) break;
                if (!ok(rc)) {
                    const std::string why = collect_diagnostics(SQL_HANDLE_STMT, stmt);
                    fail(reason_of("Failed to fetch data from request '" + sql + "'", why), why);
                }
                for (SQLSMALLINT c = 1; c <= columns; ++c) {
                    const bool binary = is_binary(types[static_cast<size_t>(c - 1)]);
                    const SQLSMALLINT c_type = binary ? SQL_C_BINARY : SQL_C_CHAR;
                    // A character chunk ends in a zero the driver adds; binary chunks fill the buffer.
                    const size_t room = binary ? buffer.size() : buffer.size() - 1;
                    std::string value;
                    for (;;) {
                        SQLLEN indicator = 0;
                        rc = SQLGetData(stmt, static_cast<SQLUSMALLINT>(c), c_type, buffer.data(),
                                        static_cast<SQLLEN>(buffer.size()), &indicator);
                        if (rc == SQL_NO_DATA) break;
                        if (!ok(rc)) {
                            char what[384];
                            std::snprintf(what, sizeof what,
                                          "Failed to fetch data from column '%s'(%d), row %d of SQL '",
                                          names[static_cast<size_t>(c - 1)].c_str(), c, row);
                            const std::string why = collect_diagnostics(SQL_HANDLE_STMT, stmt);
                            fail(reason_of(what + sql + "'", why), why);
                        }
                        if (indicator == SQL_NULL_DATA) break;
                        const bool more = indicator == SQL_NO_TOTAL || static_cast<size_t>(indicator) > room;
                        size_t length = more ? room : static_cast<size_t>(indicator);
                        // A last character part of unknown length ends at the driver's zero.
                        if (!binary && indicator == SQL_NO_TOTAL && rc == SQL_SUCCESS)
                            length = strnlen(buffer.data(), room);
                        value.append(buffer.data(), length);
                        // Values longer than the buffer come in further parts (SQLSTATE 01004).
                        if (!(rc == SQL_SUCCESS_WITH_INFO && more)) break;
                    }
                    result.Column(names[static_cast<size_t>(c - 1)]).Append(value);
                }
            }
        }
        rc = SQLMoreResults(stmt);
        if (rc == SQL_SUCCESS_WITH_INFO) collect_diagnostics(SQL_HANDLE_STMT, stmt);
        if (!ok(rc)) break;
    }
    SQLCloseCursor(stmt);
    return result;
}

namespace {

void set_autocommit(void* dbc, bool on)
{
    SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                      reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                      SQL_IS_UINTEGER);
}

}  // namespace

void MSSQLODBCConnection::begin_transaction()
{
    if (in_transaction_)
        qr_exception("A transaction on data source '%s' is already in progress", dsn_.c_str());
    if (!connected_) {
        // A link lost earlier comes back before the transaction starts.
        reconnect_loop(true);
    }
    SQLRETURN rc = SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                                     reinterpret_cast<SQLPOINTER>(static_cast<uintptr_t>(SQL_AUTOCOMMIT_OFF)),
                                     SQL_IS_UINTEGER);
    if (!ok(rc)) {
        std::string why = collect_diagnostics(SQL_HANDLE_DBC, dbc_);
        log_and_throw("Failed to begin a transaction on data source '" + dsn_ + "'" + why);
    }
    in_transaction_ = true;
}

void MSSQLODBCConnection::commit()
{
    if (!in_transaction_)
        qr_exception("No transaction on data source '%s' to commit", dsn_.c_str());
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_COMMIT);
    if (!ok(rc)) {
        std::string why = collect_diagnostics(SQL_HANDLE_DBC, dbc_);
        const std::string message = "Failed to commit a transaction on data source '" + dsn_ + "'" + why;
        TRV_LOG(qr_Error, message);
        if (connected_)
            SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
        in_transaction_ = false;
        if (connected_)
            set_autocommit(dbc_, true);
        throw qr_logged_exception_t(message);
    }
    in_transaction_ = false;
    set_autocommit(dbc_, true);
}

void MSSQLODBCConnection::rollback()
{
    if (!in_transaction_)
        return;  // nothing begun, or lost with the link
    in_transaction_ = false;
    SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    if (!ok(rc)) {
        std::string why = collect_diagnostics(SQL_HANDLE_DBC, dbc_);
        log_and_throw("Failed to roll back a transaction on data source '" + dsn_ + "'" + why);
    }
    set_autocommit(dbc_, true);
}

qr_transaction::qr_transaction(MSSQLODBCConnection& connection) : connection_(connection)
{
    if (!connection_.in_transaction()) {
        connection_.begin_transaction();
        owner_ = true;
    }
}

qr_transaction::~qr_transaction()
{
    if (!owner_)
        return;
    try {
        connection_.rollback();
    } catch (const qr_exception_t&) {
        // logged by rollback
    }
}

void qr_transaction::commit()
{
    if (!owner_)
        return;
    owner_ = false;
    connection_.commit();
}

// ODBC connections of the server: MSSQLODBCConnection holds one ODBC
// environment, one connection to a named data source and at most one statement
// at a time, and returns every result whole as a DB_DATA.
//
// Values always travel as bound parameters whose C type the caller chooses
// (qr_sql_param); statement texts carry only identifiers the caller checked.
// When the link is lost (SQLSTATE 08S01) the connection reconnects by itself,
// logging every attempt, and runs the statement again. A statement or
// transaction that fails is logged here at Error with the driver's reason and
// thrown as qr_logged_exception_t, so callers do not log it again.
//
// A connection is used by one thread at a time (the pool lends it to one
// borrower); it takes no lock of its own. The ODBC handles are owned by the
// connection and freed by its destructor.
#pragma once

#include "qr_db_data.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// SQL NULL of a given kind: drivers that type their parameters (PostgreSQL)
// need the column's kind even for a null.
struct qr_sql_null {
    enum kind_t { text, integer, bigint, real } kind = text;
};

// One bound value: its alternative decides the C and SQL type of the marker.
using qr_sql_param = std::variant<qr_sql_null, int32_t, int64_t, double, std::string>;
using qr_sql_params = std::vector<qr_sql_param>;

class qr_Shared_Object {
public:
    virtual ~qr_Shared_Object() = default;
};

// A resource a pool can lend: named, bound to a data source and credentials.
class qr_reso : public qr_Shared_Object {
public:
    qr_reso(std::string resource_name, std::string dsn, std::string user, std::string password)
        : resource_name_(std::move(resource_name)), dsn_(std::move(dsn)), user_(std::move(user)),
          password_(std::move(password))
    {
    }
    virtual void open() {}
    virtual void close() {}
    virtual bool is_valid() { return true; }
    virtual void on_get() {}
    virtual void on_release() {}

    const std::string& resource_name() const { return resource_name_; }
    const std::string& dsn() const { return dsn_; }

protected:
    std::string resource_name_;
    std::string dsn_;
    std::string user_;
    std::string password_;
};

class DBConnection : public qr_reso {
public:
    using qr_reso::qr_reso;
    virtual void connect() = 0;
    virtual void disconnect() = 0;
    virtual void reconnect() = 0;
    virtual int execute(const std::string& sql) = 0;
    virtual DB_DATA query_format(const char* format, ...) __attribute__((format(printf, 2, 3))) = 0;
    virtual DB_DATA query(const std::string& sql) = 0;
    virtual DB_DATA get_stmnt_results(const std::string& sql, const qr_sql_params& params) = 0;
};

// How a connection waits for a lost database: the delay between attempts and
// the number of attempts (0 = until it comes back). Tests shorten both.
struct qr_reconnect_policy {
    std::chrono::milliseconds delay{5000};
    int max_attempts = 0;
};

class MSSQLODBCConnection : public DBConnection {
public:
    MSSQLODBCConnection(std::string resource_name, std::string dsn, std::string user, std::string password);
    ~MSSQLODBCConnection() override;
    MSSQLODBCConnection(const MSSQLODBCConnection&) = delete;
    MSSQLODBCConnection& operator=(const MSSQLODBCConnection&) = delete;

    void open() override { connect(); }
    void close() override {}

    // Throws qr_exception_t; the message names the data source and user, never the password.
    void connect() override;
    void disconnect() override;
    void reconnect() override;
    // 0, or -1 when the statement failed (the failure is logged, not thrown).
    int execute(const std::string& sql) override;
    // printf-style statement text: only for identifiers and numbers, never data values.
    DB_DATA query_format(const char* format, ...) override __attribute__((format(printf, 2, 3)));
    DB_DATA query(const std::string& sql) override;
    // Prepares the text, binds one value per '?' marker in order, executes.
    DB_DATA get_stmnt_results(const std::string& sql, const qr_sql_params& params = {}) override;

    // Transactions: begin turns autocommit off until commit or rollback turns
    // it on again. A link lost inside a transaction loses the transaction: the
    // failing statement is not run again but throws. All three throw
    // qr_exception_t; commit rolls back when the commit itself fails.
    void begin_transaction();
    void commit();
    void rollback();
    bool in_transaction() const { return in_transaction_; }

    void set_error_text(const std::string& text) { error_text_ = text; }
    std::string get_error_text() const { return error_text_; }

    bool connected() const { return connected_; }
    void set_reconnect_policy(qr_reconnect_policy policy) { reconnect_policy_ = policy; }

private:
    DB_DATA run(const std::string& sql, const qr_sql_params* params);
    DB_DATA run_once(const std::string& sql, const qr_sql_params* params, bool& link_lost);
    void reconnect_loop(bool prepared);
    std::string collect_diagnostics(short handle_type, void* handle);
    void free_statement();
    void free_handles();

    void* env_ = nullptr;   // SQLHENV
    void* dbc_ = nullptr;   // SQLHDBC
    void* stmt_ = nullptr;  // SQLHSTMT of the statement in progress
    bool connected_ = false;
    bool in_transaction_ = false;
    bool handles_allocated_ = false;
    short last_rc_ = 0;
    int statements_ = 0;  // statements in progress; bounds the re-run after a reconnect
    std::string error_text_;
    qr_reconnect_policy reconnect_policy_;
};

// One transaction on a connection for the life of the object: begun by the
// constructor, rolled back by the destructor unless committed. Inside a
// transaction already in progress it does nothing, and the outer one decides.
class qr_transaction {
public:
    explicit qr_transaction(MSSQLODBCConnection& connection);
    ~qr_transaction();
    qr_transaction(const qr_transaction&) = delete;
    qr_transaction& operator=(const qr_transaction&) = delete;

    void commit();

private:
    MSSQLODBCConnection& connection_;
    bool owner_ = false;  // began the transaction and has not ended it
};

// Connection pools: a fixed set of connections to one data source, lent to
// one borrower at a time. `get` blocks while every connection is lent out;
// `release` gives one back. PooledConnectionGuard returns a borrowed
// connection on every way out of a scope.
//
// The pool owns its connections; they live exactly as long as the pool. Any
// thread may call get and release (lock order: qr_sync.h).
#pragma once

#include "qr_counters.h"
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_odbc.h"
#include "qr_sync.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

template <class T>
class qr_pool : public qr_Shared_Object {
public:
    qr_pool(int count, const std::string& resource_name, const std::string& dsn, const std::string& user,
            const std::string& password)
        : free_count_(count > 0 ? static_cast<unsigned>(count) : 0)
    {
        // Held by unique_ptr until all are made, so a failing constructor frees the earlier ones.
        std::vector<std::unique_ptr<T>> made;
        for (int n = 0; n < count; ++n) made.push_back(std::make_unique<T>(resource_name, dsn, user, password));
        qr_automutex hold(m_);
        table_.reserve(made.size());
        for (auto& r : made) table_.push_back({r.release(), true});
    }

    ~qr_pool() override
    {
        qr_automutex hold(m_);
        for (auto& e : table_) {
            e.resource->close();
            delete e.resource;
        }
        table_.clear();
    }

    qr_pool(const qr_pool&) = delete;
    qr_pool& operator=(const qr_pool&) = delete;

    // Opens every connection in order; the first failure ends the call with its exception.
    virtual void open_all()
    {
        qr_automutex hold(m_);
        for (auto& e : table_) {
            e.resource->open();
            e.free = true;
        }
    }

    T* get()
    {
        if (size() == 0) qr_exception("Cannot get resource from pool");  // would wait forever
        free_count_.wait();
        qr_counters_add(&qr_connection_counters::DBconn, 1);
        {
            qr_automutex hold(m_);
            for (auto& e : table_) {
                if (e.free && e.resource->is_valid()) {
                    e.resource->on_get();
                    e.free = false;
                    TRV_LOG(qr_Debug, "Allocating  resource: " << static_cast<long long>(
                                          reinterpret_cast<intptr_t>(e.resource)));
                    return e.resource;
                }
            }
        }
        free_count_.post();
        qr_counters_add(&qr_connection_counters::DBconn, -1);
        qr_exception("Cannot get resource from pool");
    }

    // Refuses a pointer this pool did not lend, and a second release of one it did.
    void release(T* resource)
    {
        qr_automutex hold(m_);
        TRV_LOG(qr_Debug, "Releasing resource: " << static_cast<long long>(reinterpret_cast<intptr_t>(resource)));
        for (auto& e : table_) {
            if (e.resource == resource && !e.free) {
                e.resource->on_release();
                e.free = true;
                free_count_.post();
                qr_counters_add(&qr_connection_counters::DBconn, -1);
                return;
            }
        }
        qr_exception("Cannot release resource in the pool");
    }

    // The length is fixed after construction: no lock needed to read it.
    int size() const NO_THREAD_SAFETY_ANALYSIS { return static_cast<int>(table_.size()); }

    // Applies f to every connection; only while none is lent (set-up and tests).
    template <class F>
    void for_each(F f)
    {
        qr_automutex hold(m_);
        for (auto& e : table_) f(*e.resource);
    }

private:
    struct entry {
        T* resource;
        bool free;
    };
    std::vector<entry> table_ GUARDED_BY(m_);  // its length is fixed at construction
    qr_semaphore free_count_;   // counts the free entries between calls
    qr_mutex m_;                // guards table_ and its free flags
};

using MSSQLPool = qr_pool<MSSQLODBCConnection>;

// Makes a pool of `count` unconnected connections; null when it cannot be made.
MSSQLPool* MSSQLPool_ctor(int count, const std::string& resource_name, const std::string& dsn,
                          const std::string& user, const std::string& password);

class PooledConnectionGuard {
public:
    // Borrows a connection, waiting while all are lent.
    explicit PooledConnectionGuard(MSSQLPool* pool) : pool_(pool), connection_(pool->get()), holds_(true) {}
    ~PooledConnectionGuard()
    {
        try {
            release();
        } catch (const qr_exception_t& e) {
            TRV_LOG(qr_Error, e.message());
        }
    }
    PooledConnectionGuard(const PooledConnectionGuard&) = delete;
    PooledConnectionGuard& operator=(const PooledConnectionGuard&) = delete;

    MSSQLODBCConnection* connection() const { return connection_; }
    MSSQLODBCConnection* operator->() const { return connection_; }

    // Gives the connection back once; 0 when there was nothing to give back.
    int release()
    {
        if (!holds_) return 0;
        holds_ = false;
        pool_->release(connection_);
        return 1;
    }

private:
    MSSQLPool* pool_;
    MSSQLODBCConnection* connection_;
    bool holds_;
};

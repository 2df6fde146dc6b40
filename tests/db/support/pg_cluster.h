// A throwaway PostgreSQL cluster for tests: made in a temporary folder with
// initdb, started with pg_ctl on 127.0.0.1 at a fixed test port (54329, never
// 5432) and a socket folder of its own, stopped by the postmaster's PID.
//
// One cluster per test process; tests that start it carry RESOURCE_LOCK
// postgres. A process owns its port through a lock file in /tmp, so test runs
// of other build folders on the same machine take the next port (up to
// 54338) instead of meeting this cluster. A cluster left behind by a killed
// run (its lock is free again) is stopped before a new one starts there.
// Not thread-safe: the owner (DbTestEnvironment) serialises calls.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

class PgCluster {
public:
    static constexpr int first_port = 54329;
    static constexpr int last_port = 54338;

    PgCluster() = default;
    ~PgCluster() { stop(); }
    PgCluster(const PgCluster&) = delete;
    PgCluster& operator=(const PgCluster&) = delete;

    // Throws std::runtime_error with the tools' output when it cannot start.
    // `hba_lines` go before the trust rules of pg_hba.conf (for instance a
    // role that must give its password).
    void start(const std::string& hba_lines = std::string());
    void stop();
    bool running() const { return pid_ > 0; }
    // The port of the running cluster.
    int port() const { return port_; }
    // The superuser that tests connect as (trust authentication, no password).
    static const char* user() { return "inv"; }

private:
    std::string folder_;
    pid_t pid_ = 0;
    int port_ = 0;
    int lock_fd_ = -1;  // holds the port while this process lives
};

// Runs a program (no shell); returns its exit status, -1 when it could not run.
// Its output and errors go to `log` when given, else to the test's output.
int run_program(const std::vector<std::string>& argv, const std::string& log = "");

// Test agents: real snmpd processes, one per simulated host on its own
// loopback address (port 161), each with its own identity and with the
// interfaces group and the QOR enterprise subtree served by test_agent
// (on request also the QOR hardware tables, printer supplies and a fixed
// storage table).
// A TestAgents object starts them in a temporary folder and stops them by
// PID when it goes away. An agent with faults listens on port 1161 behind a
// UdpRelay on port 161. Also runs the net-snmp command-line tools.
// Used from one test thread.
#pragma once

#include "udp_relay.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

struct AgentSpec {
    std::string address;               // 127.0.x.y, never 127.0.0.1
    std::string name;                  // sysName
    std::string descr;                 // sysDescr
    std::string object_id;             // sysObjectID
    std::string community = "public";
    int qor_not_ready = 0;             // first N QOR requests answer "not ready"; -1 every one
    std::string qor_not_ready_under = {};  // when set, only answers in this subtree are "not ready"
    bool qor = true;                   // serves the QOR enterprise subtree at all
    bool qor_loop = false;             // GETNEXT of ...39871.3.2 answers ...39871.3.1
    RelayFaults faults = {};           // requests lost, answers late: see UdpRelay
    // Serves the machine's own host resources (.1.3.6.1.2.1.25): processes,
    // packages, disks. Reading them can take snmpd seconds on a busy machine,
    // longer than a scan's time-out of 1 s; agents of tests that walk every
    // subtree at such a time-out leave them out.
    bool host_resources = true;
    bool hardware = false;             // the QOR subtree also serves the hardware tables
    bool printer = false;              // serves the printer supplies table (.1.3.6.1.2.1.43.11)
    bool storage = false;              // serves fixed memory and storage (.1.3.6.1.2.1.25.2), not the machine's
};

class TestAgents {
public:
    TestAgents();
    ~TestAgents();
    TestAgents(const TestAgents&) = delete;
    TestAgents& operator=(const TestAgents&) = delete;

    // Starts the agent and waits until it answers as itself; false (with
    // the reason in error()) when it does not.
    bool start(const AgentSpec& spec);
    void stop_all();
    const std::string& error() const { return error_; }
    // The unique sysLocation of the agent at `address`.
    std::string location(const std::string& address) const;
    const std::string& folder() const { return dir_; }

private:
    struct Running {
        AgentSpec spec;
        std::string location;
        pid_t pid = -1;
        std::shared_ptr<UdpRelay> relay;
    };
    std::string dir_;
    std::vector<Running> agents_;
    std::string error_;
};

// Runs a program (no shell) and returns its standard output; `status` gets
// the exit status (-1 when it could not run).
std::string run_program(const std::vector<std::string>& argv, int* status = nullptr);
// The values of `snmpwalk -v1 -c public` of the agent under root, as our
// walk-file reader normalises them: what a test compares stored tables with.
// Each request may take 5 s and is sent 3 times, so a busy agent still
// answers the whole walk; `status` gets snmpwalk's exit status (not 0 when
// the walk stopped early).
std::vector<std::string> snmpwalk_values(const std::string& address, const std::string& root,
                                         int* status = nullptr);
// The same walk as (index, value) pairs, the index being what follows
// root in each OID ("1234" for ROOT.1234).
std::vector<std::pair<std::string, std::string>> snmpwalk_rows(const std::string& address, const std::string& root,
                                                               int* status = nullptr);

// `snmpwalk -v1 -c COMMUNITY -On -Oe -Ot -Ox ADDRESS ROOT`, hex-string
// continuation lines joined, one entry per line.
std::vector<std::string> snmpwalk_lines(const std::string& address, const std::string& community,
                                        const std::string& root, const std::vector<std::string>& extra = {});

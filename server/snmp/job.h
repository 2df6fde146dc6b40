// A Job is the scan state of one address within one scan: what to try, what
// was found, and where in its life it stands. Jobs live in the JobTable
// (job_table.h), which owns them; only the saver removes (and so frees) one.
//
// Every accessor takes the job's own lock for one read or write, so a job may
// be read and written from any thread. A worker moves a job on only from the
// state it expects (`change_state`), so a cancel that arrived meanwhile is
// never overwritten: the worker sees it through `is_cancelled` and drops the
// job, which then waits in JOB_CANCELLED for the saver. Once a worker has put
// a job in a state another thread takes (a waiting state, JOB_FINISHED or
// JOB_CANCELLED), it must not touch the job again: the saver may free it.
#pragma once

#include "qr_array.h"
#include "qr_sync.h"

#include <ctime>
#include <string>
#include <vector>

// Job states.
constexpr int JOB_WAIT_PING = 0;
constexpr int JOB_WAIT_SNMP = 1;
constexpr int JOB_PINGING = 2;
constexpr int JOB_SNMP_RUNNING = 3;
constexpr int JOB_PING_ANSWERED = 4;
constexpr int JOB_NO_PING = 5;
constexpr int JOB_NO_SNMP = 6;
constexpr int JOB_SNMP_DONE = 7;
constexpr int JOB_FINISHED = 8;
constexpr int JOB_CANCEL_REQUESTED = 9;
constexpr int JOB_CANCELLED = 10;

// Job kinds: the inventory's ping setting.
constexpr int JOB_KIND_SNMP_ONLY = 1;
constexpr int JOB_KIND_PING_FIRST = 2;
constexpr int JOB_KIND_SNMP_FIRST = 3;

class Job {
public:
    Job();
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    int get_host_uid();
    void set_host_uid(int uid);
    int get_scan_id();
    void set_scan_id(int id);
    int get_as_of_id();
    void set_as_of_id(int id);
    std::string get_net_addr();
    void set_net_addr(const std::string& addr);
    std::string get_walk_file();
    void set_walk_file(const std::string& path);
    std::vector<std::string> get_communities();
    void set_communities(const std::vector<std::string>& communities);
    int get_kind();
    void set_kind(int kind);
    int get_has_ping();
    void set_has_ping(int has_ping);
    std::string get_community();
    void set_community(const std::string& community);
    std::string get_dns_name();
    void set_dns_name(const std::string& name);
    std::string get_net_name();
    void set_net_name(const std::string& name);
    std::string get_source_key();
    void set_source_key(const std::string& key);
    std::string get_sys_obj_id();
    void set_sys_obj_id(const std::string& id);
    int get_time_stamp();
    int get_dev_class_id();
    void set_dev_class_id(int id);
    int get_dev_group_id();
    void set_dev_group_id(int id);
    int get_dev_vendor_id();
    void set_dev_vendor_id(int id);
    int get_agent_type_hard();
    void set_agent_type_hard(int type);
    int get_agent_type_soft();
    void set_agent_type_soft(int type);
    int get_agent_type_mon();
    void set_agent_type_mon(int type);
    IntArray get_tabs();
    void set_tabs(const IntArray& tabs);
    bool is_snmp_output();
    void set_snmp_output(bool output);

    int get_state();
    // Unconditional; for the creator, before the job is in the table.
    void set_state(int state);
    // Moves from `expected` to `next` when the state is still `expected`;
    // false (and no change) otherwise.
    bool change_state(int expected, int next);
    // A requested cancel becomes a done one; true when the job is cancelled.
    bool is_cancelled();
    // A job a worker holds (pinging .. SNMP done) is asked to stop; any
    // other becomes cancelled at once. Gives the new state.
    int cancel();

private:
    qr_mutex m_;
    int host_uid_ GUARDED_BY(m_) = 0;
    int scan_id_ GUARDED_BY(m_) = -1;
    int as_of_id_ GUARDED_BY(m_) = 0;
    std::string net_addr_ GUARDED_BY(m_);
    std::string walk_file_ GUARDED_BY(m_);
    std::vector<std::string> communities_ GUARDED_BY(m_);
    int kind_ GUARDED_BY(m_) = JOB_KIND_SNMP_ONLY;
    int has_ping_ GUARDED_BY(m_) = 0;
    std::string community_ GUARDED_BY(m_);
    std::string dns_name_ GUARDED_BY(m_);
    std::string net_name_ GUARDED_BY(m_);
    std::string source_key_ GUARDED_BY(m_);
    std::string sys_obj_id_ GUARDED_BY(m_);
    int time_stamp_ GUARDED_BY(m_);
    int dev_class_id_ GUARDED_BY(m_) = 0;
    int dev_group_id_ GUARDED_BY(m_) = 0;
    int dev_vendor_id_ GUARDED_BY(m_) = 0;
    int agent_type_hard_ GUARDED_BY(m_) = 1;
    int agent_type_soft_ GUARDED_BY(m_) = 1;
    int agent_type_mon_ GUARDED_BY(m_) = 1;
    int state_ GUARDED_BY(m_) = JOB_WAIT_PING;
    IntArray tabs_ GUARDED_BY(m_);
    bool snmp_output_ GUARDED_BY(m_) = false;
};

// One Info line about a job's step: "<text>. AsOfId:<id>, Ip: <address>".
void log_job_step(const std::string& text, int as_of_id, const std::string& address);

#include "job.h"

#include "qr_log.h"

Job::Job() : time_stamp_(static_cast<int>(std::time(nullptr))) {}

#define JOB_GET(type, name, field) \
    type Job::name()               \
    {                              \
        qr_automutex hold(m_);     \
        return field;              \
    }
#define JOB_SET(type, name, field) \
    void Job::name(type value)     \
    {                              \
        qr_automutex hold(m_);     \
        field = value;             \
    }

JOB_GET(int, get_host_uid, host_uid_)
JOB_SET(int, set_host_uid, host_uid_)
JOB_GET(int, get_scan_id, scan_id_)
JOB_SET(int, set_scan_id, scan_id_)
JOB_GET(int, get_as_of_id, as_of_id_)
JOB_SET(int, set_as_of_id, as_of_id_)
JOB_GET(std::string, get_net_addr, net_addr_)
JOB_SET(const std::string&, set_net_addr, net_addr_)
JOB_GET(std::string, get_walk_file, walk_file_)
JOB_SET(const std::string&, set_walk_file, walk_file_)
JOB_GET(std::vector<std::string>, get_communities, communities_)
JOB_SET(const std::vector<std::string>&, set_communities, communities_)
JOB_GET(int, get_kind, kind_)
JOB_SET(int, set_kind, kind_)
JOB_GET(int, get_has_ping, has_ping_)
JOB_SET(int, set_has_ping, has_ping_)
JOB_GET(std::string, get_community, community_)
JOB_SET(const std::string&, set_community, community_)
JOB_GET(std::string, get_dns_name, dns_name_)
JOB_SET(const std::string&, set_dns_name, dns_name_)
JOB_GET(std::string, get_net_name, net_name_)
JOB_SET(const std::string&, set_net_name, net_name_)
JOB_GET(std::string, get_source_key, source_key_)
JOB_SET(const std::string&, set_source_key, source_key_)
JOB_GET(std::string, get_sys_obj_id, sys_obj_id_)
JOB_SET(const std::string&, set_sys_obj_id, sys_obj_id_)
JOB_GET(int, get_time_stamp, time_stamp_)
JOB_GET(int, get_dev_class_id, dev_class_id_)
JOB_SET(int, set_dev_class_id, dev_class_id_)
JOB_GET(int, get_dev_group_id, dev_group_id_)
JOB_SET(int, set_dev_group_id, dev_group_id_)
JOB_GET(int, get_dev_vendor_id, dev_vendor_id_)
JOB_SET(int, set_dev_vendor_id, dev_vendor_id_)
JOB_GET(int, get_agent_type_hard, agent_type_hard_)
JOB_SET(int, set_agent_type_hard, agent_type_hard_)
JOB_GET(int, get_agent_type_soft, agent_type_soft_)
JOB_SET(int, set_agent_type_soft, agent_type_soft_)
JOB_GET(int, get_agent_type_mon, agent_type_mon_)
JOB_SET(int, set_agent_type_mon, agent_type_mon_)
JOB_GET(bool, is_snmp_output, snmp_output_)
JOB_SET(bool, set_snmp_output, snmp_output_)
JOB_GET(int, get_state, state_)
JOB_SET(int, set_state, state_)

#undef JOB_GET
#undef JOB_SET

IntArray Job::get_tabs()
{
    qr_automutex hold(m_);
    return tabs_;
}

void Job::set_tabs(const IntArray& tabs)
{
    qr_automutex hold(m_);
    tabs_.AddAll(tabs);
}

bool Job::change_state(int expected, int next)
{
    qr_automutex hold(m_);
    if (state_ != expected)
        return false;
    state_ = next;
    return true;
}

bool Job::is_cancelled()
{
    qr_automutex hold(m_);
    if (state_ == JOB_CANCEL_REQUESTED)
        state_ = JOB_CANCELLED;
    return state_ == JOB_CANCELLED;
}

int Job::cancel()
{
    qr_automutex hold(m_);
    if (state_ >= JOB_PINGING && state_ <= JOB_SNMP_DONE)
        state_ = JOB_CANCEL_REQUESTED;
    else if (state_ != JOB_CANCEL_REQUESTED)
        state_ = JOB_CANCELLED;
    return state_;
}

void log_job_step(const std::string& text, int as_of_id, const std::string& address)
{
    TRV_LOG(qr_Info, text << ". AsOfId:" << as_of_id << ", Ip: " << address);
}

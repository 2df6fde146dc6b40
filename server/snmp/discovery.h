// Host discovery: what an SNMP worker does with one job it runs. Finds a
// community the agent answers, identifies the device from its sysObjectID,
// tells which agent serves each data category, stores the host, and reads
// every tab the device's mapping asks for, trying again while an agent is
// still preparing data. An SNMP-output job instead collects the raw output
// of a fixed set of subtrees and sends it to the consoles. Leaves the job in
// "no SNMP answer", "SNMP done" or, when cancelled, cancelled.
//
// Runs on the worker's thread with the worker's own session.
#pragma once

#include <string>

class CSnmpSession;
class Job;
class Scanner;

// Finds the agent of the job's address, identifies the device and reads its
// tabs; the job ends in JOB_SNMP_DONE or JOB_NO_SNMP. False when it was
// cancelled meanwhile: the job is then the saver's and the caller must not
// touch it again.
bool snmp_discover(Scanner& scanner, CSnmpSession* session, Job* job);

// 2 for the maker's agent, 1 for a standard one. Category 0 hardware,
// 1 software, 2 monitoring.
int probe_agent_type(Scanner& scanner, CSnmpSession* session, int category, const std::string& address,
                     const std::string& community, const std::string& walk_file);

void collect_snmp_output(Scanner& scanner, CSnmpSession* session, const std::string& address, int host_uid,
                         const std::string& community, const std::string& walk_file,
                         const std::string& client_type);

// The first value under the OID, or the empty text.
std::string get_snmp_value(Scanner& scanner, CSnmpSession* session, const std::string& address,
                           const std::string& community, const std::string& walk_file, const std::string& oid);

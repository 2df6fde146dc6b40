// The one way the scanning code reads SNMP data: the values of the subtree
// under an OID, from the worker's live session or from a walk file, as cell
// texts. Also the two discovery probes built on it. Called by SNMP worker
// threads, each with its own session.
#pragma once

#include <string>
#include <vector>

class CSnmpSession;

// The text of a walk result (Walk* codes of CSnmpSession::walk_subtree).
const char* walk_result_text(int result);

// Returns 0, 1 (timeout), 2 (agent not ready) or 9 (failure). An OID may end
// in ",D" to read octet values as dates. With `lines`, each entry is the
// OID with its leading dot, a blank and the value. A walk file that cannot
// be opened raises qr_exception_t.
int scan_table(CSnmpSession* session, const std::string& address, const std::string& oid,
               const std::string& community, const std::string& walk_file,
               std::vector<std::string>& values, bool lines);

// The host's sysObjectID without trailing ".0" arcs, or the empty text.
std::string GetSysObjId(CSnmpSession* session, const std::string& address,
                        const std::string& community, const std::string& walk_file);
// -1 agent not ready, 1 no values under the OID, 2 values present.
int GetAgentType(CSnmpSession* session, const std::string& address, const std::string& community,
                 const std::string& oid, const std::string& walk_file);

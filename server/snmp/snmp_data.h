// One GET or GETNEXT request with a single variable binding, and the text of
// the value that answers it. A request object lives for one
// CSnmpSession::request call and is only touched under that session's
// common-data mutex (by the requesting thread and the notification thread).
#pragma once

#include "snmp_base.h"
#include "winsnmp.h"

#include <string>

class CSnmpSession;

// Octet values print at most this many bytes.
constexpr size_t SnmpMaxOctets = 1408;

// The text of one value as the scanner reads it; `scramble` undoes the QOR
// agent's transformation of numbers and octets first.
std::string snmp_value_to_text(const smiVALUE& value, bool scramble);

class CSnmpData : public CSnmpBase {
public:
    CSnmpData(CSnmpSession* session, HSNMP_SESSION handle, int pdu_type, const std::string& oid_text);
    ~CSnmpData() override;

    // Reads one received PDU. One that does not answer this request (another
    // request id, not a response) is ignored, so the wait goes on.
    void parse_response(HSNMP_PDU pdu);

    bool done = false;
    std::string value_text;
    std::string response_oid;
    HSNMP_PDU pdu = nullptr;
    HSNMP_VBL vbl = nullptr;
    std::string requested_oid;
    smiOID oid{0, nullptr};
    bool oid_made = false;
    smiINT32 request_id = 0;
    int pdu_type = 0;
    bool scramble = false;
    CSnmpSession* session;
};

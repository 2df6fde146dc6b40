// One GET or GETNEXT request, and the texts of the values that answer it.
// A request of one variable binding (CSnmpSession::request) reads the first
// binding of the answer and ignores its error status; one of several
// (CSnmpSession::request_many) reads every binding, each value scrambled by
// its own answer OID, and keeps the error status. A request object lives for
// one call and is only touched under that session's common-data mutex (by
// the requesting thread and the notification thread).
#pragma once

#include "snmp_base.h"
#include "winsnmp.h"

#include <string>
#include <vector>

class CSnmpSession;

// One variable binding of an answer: its OID (no leading dot) and value text.
struct SnmpAnswer {
    std::string oid;
    std::string value;
};

// Octet values print at most this many bytes.
constexpr size_t SnmpMaxOctets = 1408;

// The text of one value as the scanner reads it; `scramble` undoes the QOR
// agent's transformation of numbers and octets first.
std::string snmp_value_to_text(const smiVALUE& value, bool scramble);

class CSnmpData : public CSnmpBase {
public:
    CSnmpData(CSnmpSession* session, HSNMP_SESSION handle, int pdu_type, const std::string& oid_text);
    // A request of several bindings, one per OID text, in order.
    CSnmpData(CSnmpSession* session, HSNMP_SESSION handle, int pdu_type, const std::vector<std::string>& oid_texts);
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
    // Several bindings: every answered binding, and the answer's error status.
    bool many = false;
    std::vector<SnmpAnswer> answers;
    int error_status = 0;

private:
    void make_pdu(HSNMP_SESSION handle, const std::vector<std::string>& oid_texts);
    void parse_many(HSNMP_VBL list);
};

#include "snmp_data.h"

#include "qr_log.h"
#include "snmp_oid.h"
#include "snmp_scramble.h"

#include <cstdio>

namespace {

std::string with_last_error(const char* text, HSNMP_SESSION handle)
{
    return std::string(text) + " (" + std::to_string(SnmpGetLastError(handle)) + ")";
}

// Frees what SnmpGetVb allocated for the value.
void free_value(smiVALUE& value)
{
    switch (value.syntax) {
    case SNMP_SYNTAX_OCTETS:
    case SNMP_SYNTAX_BITS:
    case SNMP_SYNTAX_OPAQUE:
    case SNMP_SYNTAX_IPADDR:
    case SNMP_SYNTAX_NSAPADDR:
        SnmpFreeDescriptor(value.syntax, &value.value.string);
        break;
    case SNMP_SYNTAX_OID:
        SnmpFreeDescriptor(value.syntax, &value.value.oid);
        break;
    default:
        break;
    }
}

}  // namespace

std::string snmp_value_to_text(const smiVALUE& value, bool scramble)
{
    char buffer[32];
    switch (value.syntax) {
    case SNMP_SYNTAX_INT: {
        smiINT number = value.value.sNumber;
        if (scramble)
            scramble_int32(&number);
        std::snprintf(buffer, sizeof buffer, "%d", number);
        return buffer;
    }
    case SNMP_SYNTAX_OCTETS:
    case SNMP_SYNTAX_BITS:
    case SNMP_SYNTAX_OPAQUE: {
        std::string text = "Hex-STRING:";
        size_t n = value.value.string.len;
        if (n > SnmpMaxOctets)
            n = SnmpMaxOctets;
        if (!value.value.string.ptr)
            n = 0;
        std::string bytes(reinterpret_cast<const char*>(value.value.string.ptr), n);
        if (scramble)
            scramble_octets(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
        static const char digits[] = "0123456789ABCDEF";
        for (unsigned char b : bytes) {
            text += digits[b >> 4];
            text += digits[b & 15];
        }
        return text;
    }
    case SNMP_SYNTAX_OID: {
        char oid_text[1409];
        if (SnmpOidToStr(&value.value.oid, sizeof oid_text, oid_text) == SNMPAPI_FAILURE)
            return ".";
        return std::string(".") + oid_text;
    }
    case SNMP_SYNTAX_IPADDR:
    case SNMP_SYNTAX_NSAPADDR: {
        std::string text;
        for (smiUINT32 i = 0; value.value.string.ptr && i < value.value.string.len; ++i) {
            if (i)
                text += '.';
            text += std::to_string(value.value.string.ptr[i]);
        }
        return text;
    }
    case SNMP_SYNTAX_CNTR32:
    case SNMP_SYNTAX_GAUGE32:
    case SNMP_SYNTAX_TIMETICKS:
    case SNMP_SYNTAX_UINT32: {
        smiUINT32 number = value.value.uNumber;
        if (scramble)
            scramble_int32(&number);
        // Unsigned: these kinds have no negative values.
        std::snprintf(buffer, sizeof buffer, "%u", number);
        return buffer;
    }
    default:
        return std::string();
    }
}

CSnmpData::CSnmpData(CSnmpSession* owner, HSNMP_SESSION handle, int type, const std::string& oid_text)
    : CSnmpBase(false), requested_oid(oid_text), pdu_type(type), session(owner)
{
    make_pdu(handle, {oid_text});
}

CSnmpData::CSnmpData(CSnmpSession* owner, HSNMP_SESSION handle, int type, const std::vector<std::string>& oid_texts)
    : CSnmpBase(false), requested_oid(oid_texts.empty() ? std::string() : oid_texts[0]), pdu_type(type),
      session(owner), many(true)
{
    make_pdu(handle, oid_texts);
}

void CSnmpData::make_pdu(HSNMP_SESSION handle, const std::vector<std::string>& oid_texts)
{
    if (pdu_type != SNMP_PDU_GET && pdu_type != SNMP_PDU_GETNEXT) {
        set_error(SnmpErrorPduType, "Only SNMP_PDU_GET and SNMP_PDU_GETNEXT are supported in this version");
        return;
    }
    vbl = SnmpCreateVbl(handle, nullptr, nullptr);
    if (!vbl) {
        set_error(static_cast<int32_t>(SnmpGetLastError(handle)), with_last_error("Cannot create vbl", handle));
        return;
    }
    for (const std::string& text : oid_texts) {
        smiOID name{0, nullptr};
        if (SnmpStrToOid(text.c_str(), &name) == SNMPAPI_FAILURE) {
            set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)), with_last_error("Cannot create oid", nullptr));
            return;
        }
        const bool added = SnmpSetVb(vbl, 0, &name, nullptr) != SNMPAPI_FAILURE;
        if (!oid_made) {
            oid = name;  // the first one is kept, as a request of one binding keeps it
            oid_made = true;
        } else {
            SnmpFreeDescriptor(SNMP_SYNTAX_OID, &name);
        }
        if (!added) {
            set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)),
                      with_last_error("Cannot add object to vbl", nullptr));
            return;
        }
    }
    pdu = SnmpCreatePdu(handle, pdu_type, 0, 0, 0, vbl);
    if (!pdu) {
        set_error(static_cast<int32_t>(SnmpGetLastError(handle)), with_last_error("Cannot create PDU", handle));
        return;
    }
    if (SnmpGetPduData(pdu, nullptr, &request_id, nullptr, nullptr, nullptr) == SNMPAPI_FAILURE)
        set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)), with_last_error("Cannot get PDU RequestId", nullptr));
}

CSnmpData::~CSnmpData()
{
    if (vbl)
        SnmpFreeVbl(vbl);
    if (pdu)
        SnmpFreePdu(pdu);
    if (oid_made)
        SnmpFreeDescriptor(SNMP_SYNTAX_OID, &oid);
}

void CSnmpData::parse_response(HSNMP_PDU received)
{
    smiINT type = 0;
    smiINT32 id = 0;
    smiINT status = 0;
    HSNMP_VBL list = nullptr;
    if (SnmpGetPduData(received, &type, &id, &status, nullptr, &list) == SNMPAPI_FAILURE) {
        set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)), with_last_error("Cannot get PDU data", nullptr));
        return;
    }
    // A late answer to an earlier request, or anything that is not an
    // answer, must not end this request: it is dropped and the wait goes on.
    if (id != request_id || type != SNMP_PDU_RESPONSE) {
        TRV_LOG(qr_Debug, "Dropped SNMP message: request id " << id << " type " << type
                              << ", waiting for request id " << request_id);
        SnmpFreeVbl(list);
        return;
    }
    if (many) {
        error_status = status;
        parse_many(list);
        SnmpFreeVbl(list);
        return;
    }
    if (SnmpCountVbl(list) == 0) {
        SnmpFreeVbl(list);
        return;
    }
    smiOID name{0, nullptr};
    smiVALUE value;
    if (SnmpGetVb(list, 1, &name, &value) == SNMPAPI_FAILURE) {
        set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)), with_last_error("Cannot get first vbl data", nullptr));
        SnmpFreeVbl(list);
        return;
    }
    char oid_text[1409];
    if (SnmpOidToStr(&name, sizeof oid_text, oid_text) != SNMPAPI_FAILURE)
        response_oid += oid_text;
    SnmpFreeDescriptor(SNMP_SYNTAX_OID, &name);
    // The answer's own OID decides: at the edge of the subtree a GETNEXT
    // answer may come from the other side.
    scramble = is_qor_oid(response_oid);
    value_text = snmp_value_to_text(value, scramble);
    done = true;
    free_value(value);
    SnmpFreeVbl(list);
}

void CSnmpData::parse_many(HSNMP_VBL list)
{
    const SNMPAPI_STATUS count = SnmpCountVbl(list);
    answers.clear();
    for (SNMPAPI_STATUS i = 1; count != SNMPAPI_FAILURE && i <= count; ++i) {
        smiOID name{0, nullptr};
        smiVALUE value;
        if (SnmpGetVb(list, static_cast<smiUINT32>(i), &name, &value) == SNMPAPI_FAILURE) {
            set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)), with_last_error("Cannot get vbl data", nullptr));
            return;
        }
        char oid_text[1409];
        SnmpAnswer answer;
        if (SnmpOidToStr(&name, sizeof oid_text, oid_text) != SNMPAPI_FAILURE)
            answer.oid = oid_text;
        SnmpFreeDescriptor(SNMP_SYNTAX_OID, &name);
        answer.value = snmp_value_to_text(value, is_qor_oid(answer.oid));
        free_value(value);
        answers.push_back(std::move(answer));
    }
    if (!answers.empty()) {
        response_oid = answers[0].oid;
        value_text = answers[0].value;
    }
    done = true;
}

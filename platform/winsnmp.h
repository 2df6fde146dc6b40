// A WinSNMP-shaped SNMP manager interface for Linux: sessions with a
// notification callback, entities (peer addresses, always port 161) and
// contexts (community strings), OIDs, variable-binding lists and PDUs,
// asynchronous send and queued receive. SNMPv1 only, no retransmission.
// A session keeps a socket open for each of the last few addresses it sent
// to; sending to yet another one closes the least recently used, and any
// answer still owed on that socket is lost. A host name is looked up when a
// message is first sent to it, before any lock is taken.
//
// Ownership: every handle and descriptor returned belongs to the caller until
// the matching Free call (SnmpFreeEntity, SnmpFreeContext, SnmpFreePdu,
// SnmpFreeVbl, SnmpFreeDescriptor). Closing a session frees what it still
// has queued; entities, contexts, PDUs and lists made for it must be freed
// by the caller.
//
// Threads: each session has its own receiver thread, which calls the
// session's callback once per arriving message (wParam 0) or transport
// notice (wParam non-zero). Calls on different sessions may run at the same
// time; calls on one session are serialised inside. SnmpClose waits for the
// receiver thread, so it must not be called from the session's callback.
#pragma once

#include <cstdint>

typedef int32_t smiINT;
typedef int32_t smiINT32;
typedef uint32_t smiUINT32;
typedef unsigned char smiBYTE;

struct smiOCTETS {
    smiUINT32 len;
    smiBYTE* ptr;
};

struct smiOID {
    smiUINT32 len;
    smiUINT32* ptr;
};

struct smiCNTR64 {
    smiUINT32 hipart;
    smiUINT32 lopart;
};

struct smiVALUE {
    smiUINT32 syntax;
    union {
        smiINT sNumber;
        smiUINT32 uNumber;
        smiCNTR64 hNumber;
        smiOCTETS string;
        smiOID oid;
        smiBYTE empty;
    } value;
};

typedef smiUINT32 SNMPAPI_STATUS;
constexpr SNMPAPI_STATUS SNMPAPI_FAILURE = 0;
constexpr SNMPAPI_STATUS SNMPAPI_SUCCESS = 1;

struct WinSnmpSession;
struct WinSnmpEntity;
struct WinSnmpContext;
struct WinSnmpPdu;
struct WinSnmpVbl;
typedef WinSnmpSession* HSNMP_SESSION;
typedef WinSnmpEntity* HSNMP_ENTITY;
typedef WinSnmpContext* HSNMP_CONTEXT;
typedef WinSnmpPdu* HSNMP_PDU;
typedef WinSnmpVbl* HSNMP_VBL;

// The window arguments exist for the shape of the interface; no window is used.
typedef void* SNMP_HWND;
typedef SNMPAPI_STATUS (*SNMPAPI_CALLBACK)(HSNMP_SESSION session, SNMP_HWND window,
                                           unsigned message, uintptr_t wParam,
                                           intptr_t lParam, void* clientData);

// Value syntaxes: the ASN.1 tags of SNMP.
constexpr smiUINT32 SNMP_SYNTAX_INT = 0x02;
constexpr smiUINT32 SNMP_SYNTAX_INT32 = 0x02;
constexpr smiUINT32 SNMP_SYNTAX_BITS = 0x03;
constexpr smiUINT32 SNMP_SYNTAX_OCTETS = 0x04;
constexpr smiUINT32 SNMP_SYNTAX_NULL = 0x05;
constexpr smiUINT32 SNMP_SYNTAX_OID = 0x06;
constexpr smiUINT32 SNMP_SYNTAX_IPADDR = 0x40;
constexpr smiUINT32 SNMP_SYNTAX_CNTR32 = 0x41;
constexpr smiUINT32 SNMP_SYNTAX_GAUGE32 = 0x42;
constexpr smiUINT32 SNMP_SYNTAX_UNSIGNED32 = 0x42;
constexpr smiUINT32 SNMP_SYNTAX_TIMETICKS = 0x43;
constexpr smiUINT32 SNMP_SYNTAX_OPAQUE = 0x44;
constexpr smiUINT32 SNMP_SYNTAX_NSAPADDR = 0x45;
constexpr smiUINT32 SNMP_SYNTAX_CNTR64 = 0x46;
constexpr smiUINT32 SNMP_SYNTAX_UINT32 = 0x47;
constexpr smiUINT32 SNMP_SYNTAX_NOSUCHOBJECT = 0x80;
constexpr smiUINT32 SNMP_SYNTAX_NOSUCHINSTANCE = 0x81;
constexpr smiUINT32 SNMP_SYNTAX_ENDOFMIBVIEW = 0x82;

// PDU types.
constexpr smiINT SNMP_PDU_GET = 0xA0;
constexpr smiINT SNMP_PDU_GETNEXT = 0xA1;
constexpr smiINT SNMP_PDU_RESPONSE = 0xA2;
constexpr smiINT SNMP_PDU_SET = 0xA3;

// Modes.
constexpr smiUINT32 SNMPAPI_TRANSLATED = 0;
constexpr smiUINT32 SNMPAPI_UNTRANSLATED_V1 = 1;
constexpr smiUINT32 SNMPAPI_UNTRANSLATED_V2 = 2;
constexpr smiUINT32 SNMPAPI_OFF = 0;
constexpr smiUINT32 SNMPAPI_ON = 1;

// Last-error codes (SnmpGetLastError).
constexpr smiUINT32 SNMPAPI_ALLOC_ERROR = 2;
constexpr smiUINT32 SNMPAPI_CONTEXT_INVALID = 3;
constexpr smiUINT32 SNMPAPI_MODE_INVALID = 4;
constexpr smiUINT32 SNMPAPI_ENTITY_INVALID = 5;
constexpr smiUINT32 SNMPAPI_INDEX_INVALID = 6;
constexpr smiUINT32 SNMPAPI_NOOP = 7;
constexpr smiUINT32 SNMPAPI_OID_INVALID = 8;
constexpr smiUINT32 SNMPAPI_OPERATION_INVALID = 9;
constexpr smiUINT32 SNMPAPI_OUTPUT_TRUNCATED = 10;
constexpr smiUINT32 SNMPAPI_PDU_INVALID = 11;
constexpr smiUINT32 SNMPAPI_SESSION_INVALID = 12;
constexpr smiUINT32 SNMPAPI_SYNTAX_INVALID = 13;
constexpr smiUINT32 SNMPAPI_VBL_INVALID = 14;
constexpr smiUINT32 SNMPAPI_NOT_INITIALIZED = 18;
constexpr smiUINT32 SNMPAPI_TL_NOT_INITIALIZED = 100;
constexpr smiUINT32 SNMPAPI_TL_RESOURCE_ERROR = 103;
constexpr smiUINT32 SNMPAPI_TL_UNDELIVERABLE = 104;
constexpr smiUINT32 SNMPAPI_TL_TIMEOUT = 108;
constexpr smiUINT32 SNMPAPI_TL_OTHER = 199;

// An OID has at most this many arcs.
constexpr smiUINT32 WINSNMP_MAX_OID_LEN = 128;

// The first call sets the process environment (MIBS, with setenv) before the
// library starts, so it must come at program start, before other threads
// run; later calls only count.
SNMPAPI_STATUS SnmpStartup(smiUINT32* major, smiUINT32* minor, smiUINT32* level,
                           smiUINT32* translateMode, smiUINT32* retransmitMode);
SNMPAPI_STATUS SnmpCleanup();
SNMPAPI_STATUS SnmpSetTranslateMode(smiUINT32 mode);
SNMPAPI_STATUS SnmpSetRetransmitMode(smiUINT32 mode);
// The last error of the session, or of the calling thread for a null session.
SNMPAPI_STATUS SnmpGetLastError(HSNMP_SESSION session);

HSNMP_SESSION SnmpCreateSession(SNMP_HWND window, unsigned message, SNMPAPI_CALLBACK callback,
                                void* clientData);
SNMPAPI_STATUS SnmpClose(HSNMP_SESSION session);

// The entity text is a host name or address; the port is always 161.
HSNMP_ENTITY SnmpStrToEntity(HSNMP_SESSION session, const char* text);
SNMPAPI_STATUS SnmpFreeEntity(HSNMP_ENTITY entity);
HSNMP_CONTEXT SnmpStrToContext(HSNMP_SESSION session, smiOCTETS* community);
SNMPAPI_STATUS SnmpFreeContext(HSNMP_CONTEXT context);

SNMPAPI_STATUS SnmpSendMsg(HSNMP_SESSION session, HSNMP_ENTITY source, HSNMP_ENTITY destination,
                           HSNMP_CONTEXT context, HSNMP_PDU pdu);
// Layer extension, no WinSNMP call: with direct receive on, the receiver
// thread no longer reads the session's sockets (it still expires old
// requests); the one thread that sends on the session reads its answers with
// SnmpWaitMessage, which calls the session's callback on that thread. No
// answer is handed from one thread to another.
SNMPAPI_STATUS SnmpSetDirectReceive(HSNMP_SESSION session, bool on);
// Waits up to timeout_ms (0: only looks) for anything to arrive on the
// session's sockets, reads it and calls the callback for each message and
// notice, on the calling thread. SNMPAPI_FAILURE with SNMPAPI_NOOP when
// nothing was delivered in time.
SNMPAPI_STATUS SnmpWaitMessage(HSNMP_SESSION session, int timeout_ms);
// Takes the oldest queued message; SNMPAPI_NOOP when none is queued. Every
// non-null out argument receives a new handle.
SNMPAPI_STATUS SnmpRecvMsg(HSNMP_SESSION session, HSNMP_ENTITY* source,
                           HSNMP_ENTITY* destination, HSNMP_CONTEXT* context, HSNMP_PDU* pdu);

// A request id of 0 asks for a fresh one. The PDU keeps a copy of the list.
HSNMP_PDU SnmpCreatePdu(HSNMP_SESSION session, smiINT type, smiINT32 requestId,
                        smiINT errorStatus, smiINT errorIndex, HSNMP_VBL vbl);
// Null out arguments are skipped; *vbl receives a new copy of the PDU's list.
SNMPAPI_STATUS SnmpGetPduData(HSNMP_PDU pdu, smiINT* type, smiINT32* requestId,
                              smiINT* errorStatus, smiINT* errorIndex, HSNMP_VBL* vbl);
SNMPAPI_STATUS SnmpFreePdu(HSNMP_PDU pdu);

// A null name makes an empty list; a null value stands for NULL.
HSNMP_VBL SnmpCreateVbl(HSNMP_SESSION session, smiOID* name, smiVALUE* value);
// Index 0 appends; 1..count replaces. Returns the binding's index, 0 on failure.
SNMPAPI_STATUS SnmpSetVb(HSNMP_VBL vbl, smiUINT32 index, smiOID* name, smiVALUE* value);
// Index 1..count. The name and any octet or OID value are new descriptors.
SNMPAPI_STATUS SnmpGetVb(HSNMP_VBL vbl, smiUINT32 index, smiOID* name, smiVALUE* value);
SNMPAPI_STATUS SnmpCountVbl(HSNMP_VBL vbl);
SNMPAPI_STATUS SnmpFreeVbl(HSNMP_VBL vbl);

// Dotted decimal, an optional leading dot, 2 to 128 arcs. Returns the arc count.
SNMPAPI_STATUS SnmpStrToOid(const char* text, smiOID* oid);
// Writes the dotted text without a leading dot; returns its length with the
// terminating zero, or fails (SNMPAPI_OUTPUT_TRUNCATED) when it does not fit.
SNMPAPI_STATUS SnmpOidToStr(const smiOID* oid, smiUINT32 size, char* text);
// Frees the memory of an octet (syntax OCTETS, BITS, OPAQUE, IPADDR, NSAPADDR)
// or OID descriptor and clears it.
SNMPAPI_STATUS SnmpFreeDescriptor(smiUINT32 syntax, void* descriptor);

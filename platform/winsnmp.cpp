// The WinSNMP-shaped layer over net-snmp's single-session API. Each layer
// session opens one net-snmp session (one UDP socket) per peer address it
// sends to and keeps only the few it used last; its receiver thread reads
// them and queues the responses as layer PDUs, so nothing of net-snmp leaves
// this file.
#include "winsnmp.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct LayerVb {
    std::vector<smiUINT32> name;
    smiUINT32 syntax = SNMP_SYNTAX_NULL;
    uint64_t number = 0;                // integers and counters
    std::vector<unsigned char> octets;  // octets, addresses
    std::vector<smiUINT32> oid;         // OID values
};

struct WinSnmpVbl {
    std::vector<LayerVb> items;
};

struct WinSnmpPdu {
    smiINT type = 0;
    smiINT32 request_id = 0;
    smiINT error_status = 0;
    smiINT error_index = 0;
    WinSnmpVbl vbl;
};

struct WinSnmpEntity {
    std::string address;
};

struct WinSnmpContext {
    std::string community;
};

namespace {

// One process-wide lock for net-snmp's library state: initialisation and the
// opening and closing of sessions, which touch its global lists (lock order:
// CommonLibs/qr_sync.h).
std::mutex g_library_mutex;
int g_startup_count = 0;        // guarded by g_library_mutex
bool g_library_ready = false;   // guarded by g_library_mutex
std::atomic<smiUINT32> g_translate_mode{SNMPAPI_TRANSLATED};
std::atomic<smiUINT32> g_retransmit_mode{SNMPAPI_ON};
std::atomic<smiINT32> g_next_request_id{1000};
thread_local smiUINT32 t_last_error = 0;

constexpr size_t max_queued_messages = 256;
// A session that walks many hosts in turn must not keep a socket for each:
// past this many open peers the least recently used one is closed, and
// answers it still owes are lost.
constexpr size_t max_open_peers = 4;
// net-snmp expires an unanswered request after this long; the layer's users
// give up much earlier and a late answer is then queued like any other.
constexpr long library_request_lifetime_us = 30L * 1000 * 1000;

SNMPAPI_STATUS fail(smiUINT32 code)
{
    t_last_error = code;
    return SNMPAPI_FAILURE;
}

bool started()
{
    std::lock_guard<std::mutex> lock(g_library_mutex);
    return g_startup_count > 0;
}

smiINT32 fresh_request_id()
{
    smiINT32 id = g_next_request_id.fetch_add(1);
    if (id <= 0) {
        g_next_request_id.store(1000);
        id = g_next_request_id.fetch_add(1);
    }
    return id;
}

}  // namespace

struct Peer {
    WinSnmpSession* owner = nullptr;
    std::string address;            // as the caller gave it
    void* library_session = nullptr;
    int socket = -1;                // the library session's, for poll
    uint64_t last_used = 0;
};

struct QueuedMessage {
    std::string source;
    std::string community;
    std::unique_ptr<WinSnmpPdu> pdu;
};

struct WinSnmpSession {
    SNMPAPI_CALLBACK callback = nullptr;
    void* client_data = nullptr;
    std::atomic<smiUINT32> last_error{0};

    std::mutex m;                                // guards peers, queue, notices
    std::vector<std::unique_ptr<Peer>> peers;    // guarded by m
    uint64_t peer_generation = 0;                // guarded by m; moves when peers change
    uint64_t use_clock = 0;                      // guarded by m
    std::deque<QueuedMessage> queue;             // guarded by m
    std::vector<uintptr_t> notices;              // guarded by m; 0 = a queued message

    std::atomic<bool> closing{false};
    std::atomic<bool> direct{false};             // the sending thread reads the sockets itself
    int wake[2] = {-1, -1};
    std::thread receiver;
};

namespace {

SNMPAPI_STATUS session_fail(WinSnmpSession* session, smiUINT32 code)
{
    if (session)
        session->last_error = code;
    return fail(code);
}

void wake_receiver(WinSnmpSession* session)
{
    char byte = 1;
    ssize_t n = write(session->wake[1], &byte, 1);
    (void)n;  // a full pipe already wakes the receiver
}

// Called by net-snmp inside snmp_sess_read / snmp_sess_timeout, with the
// session's lock held by the receiver thread.
int library_callback(int operation, netsnmp_session*, int, netsnmp_pdu* pdu, void* magic)
{
    Peer* peer = static_cast<Peer*>(magic);
    WinSnmpSession* session = peer->owner;
    if (operation == NETSNMP_CALLBACK_OP_TIMED_OUT) {
        session->notices.push_back(SNMPAPI_TL_TIMEOUT);
        return 1;
    }
    if (operation != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE || pdu == nullptr)
        return 1;
    auto copy = std::make_unique<WinSnmpPdu>();
    copy->type = pdu->command;
    copy->request_id = static_cast<smiINT32>(pdu->reqid);
    copy->error_status = static_cast<smiINT>(pdu->errstat);
    copy->error_index = static_cast<smiINT>(pdu->errindex);
    for (netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable) {
        LayerVb vb;
        for (size_t i = 0; i < v->name_length; ++i)
            vb.name.push_back(static_cast<smiUINT32>(v->name[i]));
        vb.syntax = v->type;
        switch (v->type) {
        case ASN_INTEGER:
            vb.number = static_cast<uint32_t>(static_cast<int32_t>(*v->val.integer));
            break;
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
        case ASN_UINTEGER:
            vb.number = static_cast<uint32_t>(*v->val.integer);
            break;
        case ASN_COUNTER64:
            vb.number = (static_cast<uint64_t>(v->val.counter64->high) << 32) |
                        static_cast<uint32_t>(v->val.counter64->low);
            break;
        case ASN_OCTET_STR:
        case ASN_BIT_STR:
        case ASN_OPAQUE:
        case ASN_IPADDRESS:
        case ASN_NSAP:
            if (v->val.string && v->val_len)
                vb.octets.assign(v->val.string, v->val.string + v->val_len);
            break;
        case ASN_OBJECT_ID:
            for (size_t i = 0; i < v->val_len / sizeof(oid); ++i)
                vb.oid.push_back(static_cast<smiUINT32>(v->val.objid[i]));
            break;
        default:
            break;
        }
        copy->vbl.items.push_back(std::move(vb));
    }
    QueuedMessage message;
    message.source = peer->address;
    if (pdu->community && pdu->community_len)
        message.community.assign(reinterpret_cast<const char*>(pdu->community),
                                 pdu->community_len);
    message.pdu = std::move(copy);
    // A caller that stops receiving must not make the queue grow without bound.
    if (session->queue.size() >= max_queued_messages)
        session->queue.pop_front();
    session->queue.push_back(std::move(message));
    session->notices.push_back(0);
    return 1;
}

// Reads what arrived on one peer's socket; with the session's lock held.
void read_peer(Peer* peer)
{
    // A set sized for this one descriptor: a plain fd_set cannot hold
    // descriptors from FD_SETSIZE up.
    netsnmp_large_fd_set set;
    netsnmp_large_fd_set_init(&set, peer->socket + 1);
    NETSNMP_LARGE_FD_ZERO(&set);
    NETSNMP_LARGE_FD_SET(peer->socket, &set);
    snmp_sess_read2(peer->library_session, &set);
    netsnmp_large_fd_set_cleanup(&set);
}

void receiver_loop(WinSnmpSession* session)
{
    std::vector<pollfd> fds;
    std::vector<Peer*> polled;
    while (!session->closing) {
        fds.assign(1, pollfd{session->wake[0], POLLIN, 0});
        polled.clear();
        uint64_t generation = 0;
        {
            std::lock_guard<std::mutex> lock(session->m);
            generation = session->peer_generation;
            if (!session->direct) {
                for (auto& peer : session->peers) {
                    fds.push_back(pollfd{peer->socket, POLLIN, 0});
                    polled.push_back(peer.get());
                }
            }
        }
        // The tick also drives the library's expiry of old requests.
        int ready = poll(fds.data(), fds.size(), 200);
        if (session->closing)
            break;
        if (ready > 0 && fds[0].revents != 0) {
            char buffer[64];
            while (read(session->wake[0], buffer, sizeof buffer) > 0) {
            }
        }
        std::vector<uintptr_t> notices;
        {
            std::lock_guard<std::mutex> lock(session->m);
            // Peers closed while polling may have left their descriptor
            // numbers to new ones: then nothing polled is trusted and the
            // next round polls afresh (the sender woke it already).
            if (ready > 0 && generation == session->peer_generation) {
                for (size_t i = 0; i < polled.size(); ++i)
                    if (fds[i + 1].revents & (POLLIN | POLLERR))
                        read_peer(polled[i]);
            }
            for (auto& peer : session->peers)
                snmp_sess_timeout(peer->library_session);
            notices.swap(session->notices);
        }
        for (uintptr_t notice : notices)
            session->callback(session, nullptr, 0, notice, 0, session->client_data);
    }
}

// A literal IPv4 address for a peer text, looked up when it is a host name;
// empty when it has none. Called without any lock held: a name lookup can
// take seconds.
std::string ipv4_literal(const std::string& address)
{
    in_addr parsed{};
    if (inet_pton(AF_INET, address.c_str(), &parsed) == 1)
        return address;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::string();
    char text[INET_ADDRSTRLEN] = "";
    const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    bool ok = inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) != nullptr;
    freeaddrinfo(found);
    return ok ? std::string(text) : std::string();
}

// Called with the session's lock held.
Peer* find_peer(WinSnmpSession* session, const std::string& address)
{
    for (auto& peer : session->peers) {
        if (peer->address == address) {
            peer->last_used = ++session->use_clock;
            return peer.get();
        }
    }
    return nullptr;
}

// Called with the session's lock held; takes the library lock.
void close_least_used_peer(WinSnmpSession* session)
{
    auto oldest = session->peers.begin();
    for (auto it = session->peers.begin(); it != session->peers.end(); ++it)
        if ((*it)->last_used < (*oldest)->last_used)
            oldest = it;
    {
        std::lock_guard<std::mutex> lock(g_library_mutex);
        snmp_sess_close((*oldest)->library_session);
    }
    session->peers.erase(oldest);
    ++session->peer_generation;
}

// Called with the session's lock held; `literal` is the address as a dotted
// IPv4 literal, so that the library resolves nothing under its lock.
Peer* open_peer(WinSnmpSession* session, const std::string& address, const std::string& literal)
{
    if (Peer* known = find_peer(session, address))
        return known;
    while (session->peers.size() >= max_open_peers)
        close_least_used_peer(session);
    auto peer = std::make_unique<Peer>();
    peer->owner = session;
    peer->address = address;
    peer->last_used = ++session->use_clock;
    std::string name = "udp:" + literal + ":161";
    {
        std::lock_guard<std::mutex> lock(g_library_mutex);
        netsnmp_session settings;
        snmp_sess_init(&settings);
        settings.version = SNMP_VERSION_1;
        settings.peername = name.data();
        static const char default_community[] = "public";
        settings.community = reinterpret_cast<u_char*>(const_cast<char*>(default_community));
        settings.community_len = sizeof default_community - 1;
        settings.retries = 0;
        settings.timeout = library_request_lifetime_us;
        settings.callback = library_callback;
        settings.callback_magic = peer.get();
        peer->library_session = snmp_sess_open(&settings);
        netsnmp_transport* transport =
            peer->library_session ? snmp_sess_transport(peer->library_session) : nullptr;
        if (transport)
            peer->socket = transport->sock;
        else if (peer->library_session)
            snmp_sess_close(peer->library_session);
    }
    if (peer->socket < 0)
        return nullptr;
    session->peers.push_back(std::move(peer));
    ++session->peer_generation;
    wake_receiver(session);
    return session->peers.back().get();
}

LayerVb make_vb(const smiOID* name, const smiVALUE* value, bool& ok)
{
    LayerVb vb;
    ok = true;
    if (name->len < 2 || name->len > WINSNMP_MAX_OID_LEN || !name->ptr) {
        ok = false;
        return vb;
    }
    vb.name.assign(name->ptr, name->ptr + name->len);
    if (!value) {
        vb.syntax = SNMP_SYNTAX_NULL;
        return vb;
    }
    vb.syntax = value->syntax;
    switch (value->syntax) {
    case SNMP_SYNTAX_INT:
        vb.number = static_cast<uint32_t>(value->value.sNumber);
        break;
    case SNMP_SYNTAX_CNTR32:
    case SNMP_SYNTAX_GAUGE32:
    case SNMP_SYNTAX_TIMETICKS:
    case SNMP_SYNTAX_UINT32:
        vb.number = value->value.uNumber;
        break;
    case SNMP_SYNTAX_CNTR64:
        vb.number = (static_cast<uint64_t>(value->value.hNumber.hipart) << 32) |
                    value->value.hNumber.lopart;
        break;
    case SNMP_SYNTAX_OCTETS:
    case SNMP_SYNTAX_BITS:
    case SNMP_SYNTAX_OPAQUE:
    case SNMP_SYNTAX_IPADDR:
    case SNMP_SYNTAX_NSAPADDR:
        if (value->value.string.len && value->value.string.ptr)
            vb.octets.assign(value->value.string.ptr,
                             value->value.string.ptr + value->value.string.len);
        break;
    case SNMP_SYNTAX_OID:
        if (value->value.oid.len && value->value.oid.ptr)
            vb.oid.assign(value->value.oid.ptr, value->value.oid.ptr + value->value.oid.len);
        break;
    case SNMP_SYNTAX_NULL:
    case SNMP_SYNTAX_NOSUCHOBJECT:
    case SNMP_SYNTAX_NOSUCHINSTANCE:
    case SNMP_SYNTAX_ENDOFMIBVIEW:
        break;
    default:
        ok = false;
    }
    return vb;
}

}  // namespace

SNMPAPI_STATUS SnmpStartup(smiUINT32* major, smiUINT32* minor, smiUINT32* level,
                           smiUINT32* translateMode, smiUINT32* retransmitMode)
{
    {
        std::lock_guard<std::mutex> lock(g_library_mutex);
        if (!g_library_ready) {
            // Without these the library loads every MIB it can find and writes
            // a persistent state file under /var/lib/snmp at shutdown.
            setenv("MIBS", "", 1);
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
            netsnmp_ds_set_int(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_MIB_ERRORS, 0);
            netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_QUICK_PRINT, 1);
            init_snmp("trvwinsnmp");
            // The library stays initialised for the life of the process: its
            // shutdown is not meant to be followed by a second start.
            g_library_ready = true;
        }
        ++g_startup_count;
    }
    if (major) *major = 2;
    if (minor) *minor = 0;
    if (level) *level = 2;
    if (translateMode) *translateMode = g_translate_mode;
    if (retransmitMode) *retransmitMode = g_retransmit_mode;
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpCleanup()
{
    std::lock_guard<std::mutex> lock(g_library_mutex);
    if (g_startup_count == 0)
        return fail(SNMPAPI_NOT_INITIALIZED);
    --g_startup_count;
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpSetTranslateMode(smiUINT32 mode)
{
    if (mode > SNMPAPI_UNTRANSLATED_V2)
        return fail(SNMPAPI_MODE_INVALID);
    g_translate_mode = mode;
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpSetRetransmitMode(smiUINT32 mode)
{
    if (mode != SNMPAPI_OFF && mode != SNMPAPI_ON)
        return fail(SNMPAPI_MODE_INVALID);
    g_retransmit_mode = mode;
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpGetLastError(HSNMP_SESSION session)
{
    return session ? session->last_error.load() : t_last_error;
}

HSNMP_SESSION SnmpCreateSession(SNMP_HWND, unsigned, SNMPAPI_CALLBACK callback, void* clientData)
{
    if (!started()) {
        fail(SNMPAPI_NOT_INITIALIZED);
        return nullptr;
    }
    if (!callback) {
        fail(SNMPAPI_OPERATION_INVALID);
        return nullptr;
    }
    auto session = std::make_unique<WinSnmpSession>();
    session->callback = callback;
    session->client_data = clientData;
    if (pipe2(session->wake, O_NONBLOCK | O_CLOEXEC) != 0) {
        fail(SNMPAPI_TL_RESOURCE_ERROR);
        return nullptr;
    }
    WinSnmpSession* raw = session.get();
    raw->receiver = std::thread(receiver_loop, raw);
    return session.release();
}

SNMPAPI_STATUS SnmpClose(HSNMP_SESSION session)
{
    if (!session)
        return fail(SNMPAPI_SESSION_INVALID);
    session->closing = true;
    wake_receiver(session);
    if (session->receiver.joinable())
        session->receiver.join();
    {
        std::lock_guard<std::mutex> lock(session->m);
        std::lock_guard<std::mutex> library(g_library_mutex);
        for (auto& peer : session->peers)
            snmp_sess_close(peer->library_session);
        session->peers.clear();
    }
    close(session->wake[0]);
    close(session->wake[1]);
    delete session;
    return SNMPAPI_SUCCESS;
}

HSNMP_ENTITY SnmpStrToEntity(HSNMP_SESSION session, const char* text)
{
    if (!session) {
        fail(SNMPAPI_SESSION_INVALID);
        return nullptr;
    }
    // A peer text is a host name or a dotted address; anything that could
    // select another transport or port is refused.
    bool valid = text && *text && std::strlen(text) < 256;
    for (const char* p = text; valid && *p; ++p)
        valid = std::isalnum(static_cast<unsigned char>(*p)) || *p == '.' || *p == '-' || *p == '_';
    if (!valid) {
        session_fail(session, SNMPAPI_ENTITY_INVALID);
        return nullptr;
    }
    return new WinSnmpEntity{text};
}

SNMPAPI_STATUS SnmpFreeEntity(HSNMP_ENTITY entity)
{
    if (!entity)
        return fail(SNMPAPI_ENTITY_INVALID);
    delete entity;
    return SNMPAPI_SUCCESS;
}

HSNMP_CONTEXT SnmpStrToContext(HSNMP_SESSION session, smiOCTETS* community)
{
    if (!session) {
        fail(SNMPAPI_SESSION_INVALID);
        return nullptr;
    }
    if (!community || (community->len && !community->ptr)) {
        session_fail(session, SNMPAPI_CONTEXT_INVALID);
        return nullptr;
    }
    auto* context = new WinSnmpContext;
    if (community->len)
        context->community.assign(reinterpret_cast<const char*>(community->ptr), community->len);
    return context;
}

SNMPAPI_STATUS SnmpFreeContext(HSNMP_CONTEXT context)
{
    if (!context)
        return fail(SNMPAPI_CONTEXT_INVALID);
    delete context;
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpSendMsg(HSNMP_SESSION session, HSNMP_ENTITY, HSNMP_ENTITY destination,
                           HSNMP_CONTEXT context, HSNMP_PDU pdu)
{
    if (!session)
        return fail(SNMPAPI_SESSION_INVALID);
    if (!destination)
        return session_fail(session, SNMPAPI_ENTITY_INVALID);
    if (!context)
        return session_fail(session, SNMPAPI_CONTEXT_INVALID);
    if (!pdu || (pdu->type != SNMP_PDU_GET && pdu->type != SNMP_PDU_GETNEXT))
        return session_fail(session, SNMPAPI_PDU_INVALID);

    // A host name is looked up before the session's lock is taken, and only
    // when no open peer has that address.
    std::string literal;
    std::unique_lock<std::mutex> lock(session->m);
    Peer* peer = nullptr;
    while (!(peer = find_peer(session, destination->address))) {
        if (!literal.empty()) {
            peer = open_peer(session, destination->address, literal);
            break;
        }
        lock.unlock();
        literal = ipv4_literal(destination->address);
        if (literal.empty())
            return session_fail(session, SNMPAPI_TL_UNDELIVERABLE);
        lock.lock();
    }
    if (!peer)
        return session_fail(session, SNMPAPI_TL_UNDELIVERABLE);
    // Outside the library lock: this touches only the library's plain message
    // and request id counters, and for v1 the request id is replaced below.
    netsnmp_pdu* request = snmp_pdu_create(pdu->type);
    if (!request)
        return session_fail(session, SNMPAPI_ALLOC_ERROR);
    request->reqid = pdu->request_id;
    request->version = SNMP_VERSION_1;
    request->community = static_cast<u_char*>(malloc(context->community.size() + 1));
    std::memcpy(request->community, context->community.c_str(), context->community.size() + 1);
    request->community_len = context->community.size();
    for (const LayerVb& vb : pdu->vbl.items) {
        oid name[WINSNMP_MAX_OID_LEN];
        for (size_t i = 0; i < vb.name.size(); ++i)
            name[i] = vb.name[i];
        snmp_add_null_var(request, name, vb.name.size());
    }
    if (snmp_sess_send(peer->library_session, request) == 0) {
        snmp_free_pdu(request);
        return session_fail(session, SNMPAPI_TL_UNDELIVERABLE);
    }
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpSetDirectReceive(HSNMP_SESSION session, bool on)
{
    if (!session)
        return fail(SNMPAPI_SESSION_INVALID);
    session->direct = on;
    wake_receiver(session);  // it polls afresh without (or with) the sockets
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpWaitMessage(HSNMP_SESSION session, int timeout_ms)
{
    if (!session)
        return fail(SNMPAPI_SESSION_INVALID);
    std::vector<pollfd> fds;
    std::vector<Peer*> polled;
    uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(session->m);
        generation = session->peer_generation;
        for (auto& peer : session->peers) {
            fds.push_back(pollfd{peer->socket, POLLIN, 0});
            polled.push_back(peer.get());
        }
    }
    const int ready = poll(fds.data(), fds.size(), timeout_ms < 0 ? 0 : timeout_ms);
    std::vector<uintptr_t> notices;
    {
        std::lock_guard<std::mutex> lock(session->m);
        // Only the sending thread opens and closes peers, so the generation
        // holds; it is checked all the same, as the receiver thread does.
        if (ready > 0 && generation == session->peer_generation) {
            for (size_t i = 0; i < polled.size(); ++i)
                if (fds[i].revents & (POLLIN | POLLERR))
                    read_peer(polled[i]);
        }
        notices.swap(session->notices);
    }
    for (uintptr_t notice : notices)
        session->callback(session, nullptr, 0, notice, 0, session->client_data);
    return notices.empty() ? session_fail(session, SNMPAPI_NOOP) : SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpRecvMsg(HSNMP_SESSION session, HSNMP_ENTITY* source,
                           HSNMP_ENTITY* destination, HSNMP_CONTEXT* context, HSNMP_PDU* pdu)
{
    if (!session)
        return fail(SNMPAPI_SESSION_INVALID);
    QueuedMessage message;
    {
        std::lock_guard<std::mutex> lock(session->m);
        if (session->queue.empty())
            return session_fail(session, SNMPAPI_NOOP);
        message = std::move(session->queue.front());
        session->queue.pop_front();
    }
    if (source) *source = new WinSnmpEntity{message.source};
    if (destination) *destination = new WinSnmpEntity{std::string()};
    if (context) *context = new WinSnmpContext{message.community};
    if (pdu) *pdu = message.pdu.release();
    return SNMPAPI_SUCCESS;
}

HSNMP_PDU SnmpCreatePdu(HSNMP_SESSION session, smiINT type, smiINT32 requestId,
                        smiINT errorStatus, smiINT errorIndex, HSNMP_VBL vbl)
{
    if (!session) {
        fail(SNMPAPI_SESSION_INVALID);
        return nullptr;
    }
    if (type < SNMP_PDU_GET || type > 0xA8) {
        session_fail(session, SNMPAPI_PDU_INVALID);
        return nullptr;
    }
    auto* pdu = new WinSnmpPdu;
    pdu->type = type;
    pdu->request_id = requestId ? requestId : fresh_request_id();
    pdu->error_status = errorStatus;
    pdu->error_index = errorIndex;
    if (vbl)
        pdu->vbl = *vbl;
    return pdu;
}

SNMPAPI_STATUS SnmpGetPduData(HSNMP_PDU pdu, smiINT* type, smiINT32* requestId,
                              smiINT* errorStatus, smiINT* errorIndex, HSNMP_VBL* vbl)
{
    if (!pdu)
        return fail(SNMPAPI_PDU_INVALID);
    if (type) *type = pdu->type;
    if (requestId) *requestId = pdu->request_id;
    if (errorStatus) *errorStatus = pdu->error_status;
    if (errorIndex) *errorIndex = pdu->error_index;
    if (vbl) *vbl = new WinSnmpVbl(pdu->vbl);
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpFreePdu(HSNMP_PDU pdu)
{
    if (!pdu)
        return fail(SNMPAPI_PDU_INVALID);
    delete pdu;
    return SNMPAPI_SUCCESS;
}

HSNMP_VBL SnmpCreateVbl(HSNMP_SESSION session, smiOID* name, smiVALUE* value)
{
    if (!session) {
        fail(SNMPAPI_SESSION_INVALID);
        return nullptr;
    }
    auto vbl = std::make_unique<WinSnmpVbl>();
    if (name) {
        bool ok = false;
        LayerVb vb = make_vb(name, value, ok);
        if (!ok) {
            session_fail(session, SNMPAPI_OID_INVALID);
            return nullptr;
        }
        vbl->items.push_back(std::move(vb));
    }
    return vbl.release();
}

SNMPAPI_STATUS SnmpSetVb(HSNMP_VBL vbl, smiUINT32 index, smiOID* name, smiVALUE* value)
{
    if (!vbl)
        return fail(SNMPAPI_VBL_INVALID);
    if (index > vbl->items.size())
        return fail(SNMPAPI_INDEX_INVALID);
    if (!name)
        return fail(SNMPAPI_OID_INVALID);
    bool ok = false;
    LayerVb vb = make_vb(name, value, ok);
    if (!ok)
        return fail(value ? SNMPAPI_SYNTAX_INVALID : SNMPAPI_OID_INVALID);
    if (index == 0) {
        vbl->items.push_back(std::move(vb));
        return static_cast<SNMPAPI_STATUS>(vbl->items.size());
    }
    vbl->items[index - 1] = std::move(vb);
    return index;
}

SNMPAPI_STATUS SnmpGetVb(HSNMP_VBL vbl, smiUINT32 index, smiOID* name, smiVALUE* value)
{
    if (!vbl)
        return fail(SNMPAPI_VBL_INVALID);
    if (index == 0 || index > vbl->items.size())
        return fail(SNMPAPI_INDEX_INVALID);
    const LayerVb& vb = vbl->items[index - 1];
    if (name) {
        name->len = static_cast<smiUINT32>(vb.name.size());
        name->ptr = new smiUINT32[vb.name.size()];
        if (!vb.name.empty())
            std::memcpy(name->ptr, vb.name.data(), vb.name.size() * sizeof(smiUINT32));
    }
    if (value) {
        std::memset(value, 0, sizeof *value);
        value->syntax = vb.syntax;
        switch (vb.syntax) {
        case SNMP_SYNTAX_INT:
            value->value.sNumber = static_cast<smiINT>(static_cast<uint32_t>(vb.number));
            break;
        case SNMP_SYNTAX_CNTR32:
        case SNMP_SYNTAX_GAUGE32:
        case SNMP_SYNTAX_TIMETICKS:
        case SNMP_SYNTAX_UINT32:
            value->value.uNumber = static_cast<smiUINT32>(vb.number);
            break;
        case SNMP_SYNTAX_CNTR64:
            value->value.hNumber.hipart = static_cast<smiUINT32>(vb.number >> 32);
            value->value.hNumber.lopart = static_cast<smiUINT32>(vb.number);
            break;
        case SNMP_SYNTAX_OCTETS:
        case SNMP_SYNTAX_BITS:
        case SNMP_SYNTAX_OPAQUE:
        case SNMP_SYNTAX_IPADDR:
        case SNMP_SYNTAX_NSAPADDR:
            value->value.string.len = static_cast<smiUINT32>(vb.octets.size());
            value->value.string.ptr = new smiBYTE[vb.octets.size() + 1];
            // An empty vector may have no storage at all; memcpy must not see it.
            if (!vb.octets.empty())
                std::memcpy(value->value.string.ptr, vb.octets.data(), vb.octets.size());
            break;
        case SNMP_SYNTAX_OID:
            value->value.oid.len = static_cast<smiUINT32>(vb.oid.size());
            value->value.oid.ptr = new smiUINT32[vb.oid.size() + 1];
            if (!vb.oid.empty())
                std::memcpy(value->value.oid.ptr, vb.oid.data(), vb.oid.size() * sizeof(smiUINT32));
            break;
        default:
            break;
        }
    }
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpCountVbl(HSNMP_VBL vbl)
{
    if (!vbl)
        return fail(SNMPAPI_VBL_INVALID);
    return static_cast<SNMPAPI_STATUS>(vbl->items.size());
}

SNMPAPI_STATUS SnmpFreeVbl(HSNMP_VBL vbl)
{
    if (!vbl)
        return fail(SNMPAPI_VBL_INVALID);
    delete vbl;
    return SNMPAPI_SUCCESS;
}

SNMPAPI_STATUS SnmpStrToOid(const char* text, smiOID* oid)
{
    if (!text || !oid)
        return fail(SNMPAPI_OID_INVALID);
    const char* p = text;
    if (*p == '.')
        ++p;
    std::vector<smiUINT32> arcs;
    while (true) {
        if (*p < '0' || *p > '9')
            return fail(SNMPAPI_OID_INVALID);
        uint64_t arc = 0;
        while (*p >= '0' && *p <= '9') {
            arc = arc * 10 + static_cast<uint64_t>(*p - '0');
            if (arc > 0xFFFFFFFFu)
                return fail(SNMPAPI_OID_INVALID);
            ++p;
        }
        arcs.push_back(static_cast<smiUINT32>(arc));
        if (arcs.size() > WINSNMP_MAX_OID_LEN)
            return fail(SNMPAPI_OID_INVALID);
        if (*p == '\0')
            break;
        if (*p != '.')
            return fail(SNMPAPI_OID_INVALID);
        ++p;
    }
    if (arcs.size() < 2)
        return fail(SNMPAPI_OID_INVALID);
    oid->len = static_cast<smiUINT32>(arcs.size());
    oid->ptr = new smiUINT32[arcs.size()];
    std::memcpy(oid->ptr, arcs.data(), arcs.size() * sizeof(smiUINT32));
    return oid->len;
}

SNMPAPI_STATUS SnmpOidToStr(const smiOID* oid, smiUINT32 size, char* text)
{
    if (!oid || !text || !size || (oid->len && !oid->ptr) || oid->len > WINSNMP_MAX_OID_LEN)
        return fail(SNMPAPI_OID_INVALID);
    std::string out;
    for (smiUINT32 i = 0; i < oid->len; ++i) {
        if (i)
            out += '.';
        out += std::to_string(oid->ptr[i]);
    }
    if (out.size() + 1 > size)
        return fail(SNMPAPI_OUTPUT_TRUNCATED);
    std::memcpy(text, out.c_str(), out.size() + 1);
    return static_cast<SNMPAPI_STATUS>(out.size() + 1);
}

SNMPAPI_STATUS SnmpFreeDescriptor(smiUINT32 syntax, void* descriptor)
{
    if (!descriptor)
        return fail(SNMPAPI_OPERATION_INVALID);
    switch (syntax) {
    case SNMP_SYNTAX_OCTETS:
    case SNMP_SYNTAX_BITS:
    case SNMP_SYNTAX_OPAQUE:
    case SNMP_SYNTAX_IPADDR:
    case SNMP_SYNTAX_NSAPADDR: {
        auto* octets = static_cast<smiOCTETS*>(descriptor);
        delete[] octets->ptr;
        octets->ptr = nullptr;
        octets->len = 0;
        return SNMPAPI_SUCCESS;
    }
    case SNMP_SYNTAX_OID: {
        auto* oid = static_cast<smiOID*>(descriptor);
        delete[] oid->ptr;
        oid->ptr = nullptr;
        oid->len = 0;
        return SNMPAPI_SUCCESS;
    }
    default:
        return fail(SNMPAPI_SYNTAX_INVALID);
    }
}

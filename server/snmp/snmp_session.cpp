#include "snmp_session.h"

#include "snmp_data.h"
#include "snmp_master.h"

#include <chrono>
#include <climits>
#include <memory>
#include <new>

CSnmpSession::CSnmpSession(CSnmpMaster* master) : CSnmpBase(true), master_(master)
{
    session_ = SnmpCreateSession(nullptr, 0, &CSnmpSession::notification, this);
    if (!session_)
        set_error(static_cast<int32_t>(SnmpGetLastError(nullptr)),
                  "Cannot create WinSNMP session (" + std::to_string(SnmpGetLastError(nullptr)) + ")");
    else
        SnmpSetDirectReceive(session_, true);  // the owner reads its answers while it waits
}

CSnmpSession::~CSnmpSession()
{
    if (master_)
        master_->unregister_session(this);
    clear_error();
    // Closing waits for the notification thread, which may itself be waiting
    // for the common-data mutex: close first, then no callback can come.
    if (session_)
        SnmpClose(session_);
    qr_automutex lock(common_);
    free_peer();
    current_ = nullptr;  // a request belongs to its caller and ends with its call
}

void CSnmpSession::free_peer()
{
    if (entity_)
        SnmpFreeEntity(entity_);
    if (context_)
        SnmpFreeContext(context_);
    entity_ = nullptr;
    context_ = nullptr;
    peer_made_ = false;
}

bool CSnmpSession::set_peer(const std::string& address, const std::string& community)
{
    if (!is_usable() || !session_)
        return false;
    qr_automutex lock(common_);
    if (!address.empty())
        address_ = address;
    if (!community.empty())
        community_ = community;
    free_peer();
    cache_.clear();  // what another peer or community answered
    entity_ = SnmpStrToEntity(session_, address_.c_str());
    if (!entity_) {
        set_error(static_cast<int32_t>(SnmpGetLastError(session_)),
                  "Cannot create SnmpEntity (" + std::to_string(SnmpGetLastError(session_)) + ")");
        return false;
    }
    smiOCTETS octets{static_cast<smiUINT32>(community_.size()),
                     reinterpret_cast<smiBYTE*>(community_.data())};
    context_ = SnmpStrToContext(session_, &octets);
    if (!context_) {
        set_error(static_cast<int32_t>(SnmpGetLastError(session_)),
                  "Cannot create SnmpContext (" + std::to_string(SnmpGetLastError(session_)) + ")");
        return false;
    }
    peer_made_ = true;
    return true;
}

void CSnmpSession::set_timeout(int seconds)
{
    if (seconds < 0)
        seconds = 0;
    if (seconds > INT32_MAX / 1000)
        seconds = INT32_MAX / 1000;
    qr_automutex lock(common_);
    timeout_ms_ = seconds * 1000;
}

void CSnmpSession::set_retries(int retries)
{
    qr_automutex lock(common_);
    retries_ = retries;
}

int CSnmpSession::get_timeout()
{
    qr_automutex lock(common_);
    return timeout_ms_;
}

int CSnmpSession::get_retries()
{
    qr_automutex lock(common_);
    return retries_;
}

std::string CSnmpSession::get_address()
{
    qr_automutex lock(common_);
    return address_;
}

std::string CSnmpSession::get_community()
{
    qr_automutex lock(common_);
    return community_;
}

int CSnmpSession::exchange(CSnmpData* data, int timeout_ms)
{
    {
        qr_automutex lock(common_);
        if (current_) {
            set_error(SnmpErrorSync, "Some other synch messaging routine is in process in this session");
            return SnmpStatusFailure;
        }
        if (!peer_made_) {
            set_error(SnmpErrorSync, "No peer set for this session");
            return SnmpStatusFailure;
        }
        if (!data->is_usable()) {
            copy_error(*data);
            return SnmpStatusFailure;
        }
        done_.reset();
        if (SnmpSendMsg(session_, nullptr, entity_, context_, data->pdu) == SNMPAPI_FAILURE) {
            set_error(static_cast<int32_t>(SnmpGetLastError(session_)),
                      "Cannot send asynch message (" + std::to_string(SnmpGetLastError(session_)) + ")");
            done_.set();
            return SnmpStatusFailure;
        }
        current_ = data;
    }

    // The answer is read on this thread: the layer calls notification() here.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    bool signalled = done_.is_set();
    for (long left = timeout_ms; !signalled && left >= 0;) {
        SnmpWaitMessage(session_, static_cast<int>(left));
        signalled = done_.is_set();
        left = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     deadline - std::chrono::steady_clock::now())
                                     .count());
        if (left <= 0 && !signalled) {
            SnmpWaitMessage(session_, 0);  // what arrived by the deadline still counts
            signalled = done_.is_set();
            break;
        }
    }

    int status = SnmpStatusFailure;
    {
        qr_automutex lock(common_);
        if (signalled && current_->done && current_->is_usable())
            status = SnmpStatusAnswered;
        else if (signalled)
            copy_error(*current_);
        else
            status = SnmpStatusTimeout;
        // From here on the notification thread no longer sees the request.
        current_ = nullptr;
    }
    done_.set();
    return status;
}

std::string CSnmpSession::request(std::string& oid, int& status, int timeout_ms, int pdu_type)
{
    status = SnmpStatusFailure;
    if (!is_usable() || !session_)
        return std::string();
    std::unique_ptr<CSnmpData> data(new (std::nothrow) CSnmpData(this, session_, pdu_type, oid));
    if (!data) {
        set_error(SnmpErrorDataMemory, "Could not allocate memory for snmp data");
        return std::string();
    }
    status = exchange(data.get(), timeout_ms);
    if (status != SnmpStatusAnswered)
        return std::string();
    oid = data->response_oid;
    return data->value_text;
}

int CSnmpSession::request_many(const std::vector<std::string>& oids, std::vector<SnmpAnswer>& answers,
                               int& error_status, int timeout_ms)
{
    answers.clear();
    error_status = 0;
    if (!is_usable() || !session_)
        return SnmpStatusFailure;
    std::unique_ptr<CSnmpData> data(new (std::nothrow) CSnmpData(this, session_, SNMP_PDU_GETNEXT, oids));
    if (!data) {
        set_error(SnmpErrorDataMemory, "Could not allocate memory for snmp data");
        return SnmpStatusFailure;
    }
    const int status = exchange(data.get(), timeout_ms);
    if (status == SnmpStatusAnswered) {
        answers = std::move(data->answers);
        error_status = data->error_status;
    }
    return status;
}

SNMPAPI_STATUS CSnmpSession::notification(HSNMP_SESSION, SNMP_HWND, unsigned, uintptr_t wParam,
                                          intptr_t, void* clientData)
{
    // Non-zero: a transport notice about an earlier request, nothing to read.
    if (wParam == 0)
        static_cast<CSnmpSession*>(clientData)->receive_all();
    return SNMPAPI_SUCCESS;
}

void CSnmpSession::receive_all()
{
    qr_automutex lock(common_);
    // Everything queued is taken, so that a stale message never stands in
    // front of the answer a request waits for.
    while (true) {
        HSNMP_ENTITY source = nullptr;
        HSNMP_ENTITY destination = nullptr;
        HSNMP_CONTEXT context = nullptr;
        HSNMP_PDU pdu = nullptr;
        if (SnmpRecvMsg(session_, &source, &destination, &context, &pdu) == SNMPAPI_FAILURE)
            break;
        if (current_ && !current_->done && current_->is_usable() && !done_.is_set()) {
            current_->parse_response(pdu);
            if (!current_->is_usable() || current_->done)
                done_.set();
        }
        SnmpFreePdu(pdu);
        SnmpFreeContext(context);
        SnmpFreeEntity(source);
        SnmpFreeEntity(destination);
    }
}

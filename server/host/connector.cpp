#include "connector.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "qr_payload.h"
#include "qr_socket.h"
#include "qr_xml_depth.h"
#include "xml_text.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <tinyxml.h>

namespace {

std::string PrintCompact(const TiXmlNode& node)
{
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    node.Accept(&printer);
    return printer.CStr();
}

bool MentionsPassword(const std::string& text)
{
    return text.find("password=") != std::string::npos;
}

// The ten-character length field of a payload announces a non-empty text.
bool AnnouncesText(const std::string& payload)
{
    if (payload.size() < 10)
        return false;
    return std::atol(payload.substr(0, 10).c_str()) != 0;
}

}  // namespace

int login_idle_limit_ms()
{
    static const int limit = [] {
        const char* text = std::getenv("TRV_LOGIN_IDLE_LIMIT_MS");
        const int ms = text ? std::atoi(text) : 0;
        return ms > 0 ? ms : default_login_idle_limit_ms;
    }();
    return limit;
}

TRVConnector::TRVConnector(std::unique_ptr<TRVSession> session)
    : session_(session ? std::move(session) : std::make_unique<TRVSession>())
{
}

void TRVConnector::SetSession(std::unique_ptr<TRVSession> session)
{
    if (session)
        session_ = std::move(session);
}

int TRVConnector::SetError(int code, const std::string& text, bool alert)
{
    error_code_ = code;
    error_text_ = text;
    alert_ = alert;
    return code;
}

XMLConnector::XMLConnector(Client_socket& socket, std::unique_ptr<TRVSession> session)
    : TRVConnector(std::move(session)), socket_(socket)
{
}

XMLConnector::~XMLConnector()
{
    Close();
}

void XMLConnector::Close()
{
    qr_automutex hold(send_mutex_);
    closed_ = true;
}

void XMLConnector::Drop(const std::string& why)
{
    if (dead_)
        return;
    dead_ = true;
    TRV_LOG(qr_Info, "Connection dropped. [" << why << "]");
    // Ends the connection thread's wait for the next request as well.
    socket_.shutdown();
}

int XMLConnector::Send(const TiXmlElement& element)
{
    // Well-formed XML 1.0 whatever the data holds: consoles parse it strictly.
    const std::string text = PrintXmlText(element);
    const std::string payload = CompressPayload(text, true);
    const std::string frame = std::to_string(payload.size()) + " " + payload;
    qr_automutex hold(send_mutex_);
    if (closed_ || dead_)
        return 0;
    if (qr_log_enabled(qr_Debug_2) && !MentionsPassword(text))
        qr_print2log(qr_Debug_2, "+++Sent: " + text);
    try {
        socket_.send_within(frame, send_time_limit);
    } catch (const qr_exception_t& e) {
        // Part of a frame may have left: nothing more can be sent on this stream.
        Drop(e.message());
        return 0;
    }
    return static_cast<int>(payload.size());
}

int XMLConnector::SendError(int code, const std::string& message, int synch, bool alert)
{
    TiXmlElement error("ERROR");
    error.SetAttribute("type", code);
    error.SetAttribute("message", message);
    if (synch != -1)
        error.SetAttribute("synch", synch);
    if (alert)
        error.SetAttribute("alert", "1");
    Send(error);
    return code;
}

void XMLConnector::ReadMore(size_t at_most, std::chrono::milliseconds timeout)
{
    // Waited for here to the millisecond; the read then finds the bytes at once.
    socket_.wait_readable_ms(timeout.count());
    std::string chunk;
    int n = socket_.read(chunk, static_cast<int>(at_most), 1);
    if (static_cast<size_t>(n) != chunk.size())
        qr_exception("Zero byte inside a frame");
    buffer_ += chunk;
}

void XMLConnector::LogDisconnect(const std::string& why, bool logged_in, const char* where)
{
    if (!logged_in && why == "Socket read timeout")
        TRV_LOG(qr_Info, "Connection dropped: no LOGIN, and nothing" << where << " within "
                                                                        << login_idle_limit_ms()
                                                                        << " ms. Close session.");
    else
        TRV_LOG(qr_Info, "Socket disconnected" << where << ". [" << why << "]. Close session.");
}

XMLConnector::ReadResult XMLConnector::ReadFrame(std::string& payload)
{
    using clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    // Before LOGIN both the wait for a frame and the frame itself are short.
    const bool logged_in = GetSession().IsValid();
    const milliseconds idle = logged_in ? milliseconds(std::chrono::seconds(idle_read_limit))
                                        : milliseconds(login_idle_limit_ms());
    const milliseconds whole_frame = logged_in ? milliseconds(std::chrono::seconds(frame_read_limit))
                                               : milliseconds(login_idle_limit_ms());
    clock::time_point deadline{};
    bool begun = !buffer_.empty();
    if (begun)
        deadline = clock::now() + whole_frame;
    auto remaining = [&] {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - clock::now());
        if (left.count() <= 0)
            qr_exception("Socket read timeout");
        return left;
    };

    size_t pos;
    for (;;) {
        pos = buffer_.find(' ');
        if (pos != std::string::npos)
            break;
        if (buffer_.size() > max_length_digits) {
            TRV_LOG(qr_Error, "Bad frame: no length within " << max_length_digits << " digits. Close session.");
            return ReadResult::ended;
        }
        try {
            if (!begun) {
                ReadMore(1024, idle);
                begun = true;
                deadline = clock::now() + whole_frame;
            } else {
                ReadMore(1024, remaining());
            }
        } catch (const qr_exception_t& e) {
            LogDisconnect(e.message(), logged_in, "");
            return ReadResult::ended;
        }
    }

    if (pos == 0 || pos > max_length_digits ||
        buffer_.find_first_not_of("0123456789") < pos) {
        TRV_LOG(qr_Error, "Bad frame: the length field is not a decimal number. Close session.");
        return ReadResult::ended;
    }
    const long length = std::atol(buffer_.substr(0, pos).c_str());
    const long most = max_frame_length_for(logged_in ? max_request_text : max_request_text_before_login);
    if (length > most) {
        TRV_LOG(qr_Error, "Bad frame: length " << buffer_.substr(0, pos) << " is above the limit of " << most
                                               << (logged_in ? "" : " before login") << ". Close session.");
        return ReadResult::ended;
    }
    const size_t need = pos + 1 + static_cast<size_t>(length);
    try {
        while (buffer_.size() < need)
            ReadMore(std::min<size_t>(need - buffer_.size(), 1 << 20), remaining());
    } catch (const qr_exception_t& e) {
        LogDisconnect(e.message(), logged_in, " within a frame");
        return ReadResult::ended;
    }
    payload = buffer_.substr(pos + 1, static_cast<size_t>(length));
    buffer_.erase(0, need);
    return ReadResult::frame;
}

int XMLConnector::ProcessLoop()
{
    if (callback_ == nullptr)
        qr_exception("Processing function not initialized! in XML connector");
    TiXmlDocument document;
    for (;;) {
        std::string payload;
        if (ReadFrame(payload) == ReadResult::ended)
            break;
        // Inflated against the bound of the connection's state, so a small
        // frame that unpacks to megabytes costs no more than the bound.
        const bool logged_in = GetSession().IsValid();
        const size_t limit = logged_in ? max_request_text : max_request_text_before_login;
        std::string text;
        std::string why;
        const PayloadStatus status = DecompressPayloadWithin(payload, true, limit, text, why);
        if (status == PayloadStatus::too_large) {
            TRV_LOG(qr_Error, "Frame of " << payload.size() << " bytes refused: its text is above the limit of "
                                          << limit << " bytes" << (logged_in ? "" : " before login") << " [" << why
                                          << "]. Close session.");
            break;
        }
        if (status == PayloadStatus::damaged && AnnouncesText(payload)) {
            TRV_LOG(qr_Error, "Bad frame: the payload cannot be decoded [" << why << "]. Close session.");
            break;
        }
        if (text.empty())
            continue;  // an empty request asks for nothing
        if (qr_xml_nesting_depth(text, max_request_depth) > max_request_depth) {
            // A few hundred bytes of compressed nesting would overflow this
            // thread's stack inside the parser and end the whole server.
            TRV_LOG(qr_Error, "XML request of " << text.size()
                                                 << " bytes refused unparsed: elements nested deeper than "
                                                 << max_request_depth << " levels, or a character cut off by its end");
            SendError(254, "Failed to parse XML request", 0, false);
            continue;
        }
        document.Clear();
        document.Parse(text.c_str());
        if (document.Error()) {
            // Half a request could change the wrong data: answer, never dispatch.
            TRV_LOG(qr_Error, "Failed to parse XML request [" << (MentionsPassword(text) ? std::string("...") : text)
                                                              << "]");
            SendError(254, "Failed to parse XML request", 0, false);
            continue;
        }
        if (qr_log_enabled(qr_Debug_2)) {
            const std::string printed = PrintCompact(document);
            if (!MentionsPassword(printed))
                qr_print2log(qr_Debug_2, "+++Recieved: " + printed);
        }
        if (callback_(document, *this) == -1)
            break;
    }
    return 0;
}

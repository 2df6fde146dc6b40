// The server's wire frame as the client library reads and writes it: the
// payload's length in decimal digits, one blank, then the payload (the
// common library's escaped payload encoding). FrameDecoder cuts an incoming
// byte stream, split or merged in any way, into whole payloads and refuses
// what no server of ours sends. Plain values: each object belongs to one
// thread (a connection's reader).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace trvclient {

// The longest payload a frame may announce. A payload encodes at most
// max_payload_text_size bytes of text; escaping can at worst double the
// compressed stream, so anything longer is no frame of ours.
constexpr std::size_t max_frame_payload = 2 * 64 * 1024 * 1024 + 64;

// The frame of an XML text: "<length> <payload>". Empty when the text could
// not be compressed.
std::string EncodeFrame(const std::string& xml);

// The text a payload carries, or false when the payload cannot be decoded
// (too short, damaged, or announcing more than the payload limit allows).
// An empty text with true is a frame that carried an empty text.
bool DecodePayload(const std::string& payload, std::string& text);

class FrameDecoder {
public:
    enum class Status {
        ok,
        malformed,  // a length field that is not digits before a blank, or a zero byte
        oversized,  // a length above max_frame_payload
    };

    // Appends the bytes and moves every payload they complete to `payloads`,
    // in order. After a status other than ok the stream cannot be followed
    // any more: later calls return the same status and add nothing.
    Status Feed(const char* data, std::size_t size, std::vector<std::string>& payloads);

    // Bytes received but not yet part of a whole frame.
    std::size_t Buffered() const { return buffer_.size(); }

private:
    Status Fail(Status status);

    std::string buffer_;
    std::size_t expected_ = 0;  // payload length once the header is read
    bool have_header_ = false;
    Status status_ = Status::ok;
};

}  // namespace trvclient

#include "frame_codec.h"

#include "qr_payload.h"

#include <cstdlib>
#include <cstring>

namespace trvclient {

namespace {

constexpr std::size_t length_field = 10;
// Digits of max_frame_payload; a longer length field is refused before it is read.
constexpr std::size_t max_length_digits = 9;

}  // namespace

std::string EncodeFrame(const std::string& xml)
{
    const std::string payload = CompressPayload(xml, true);
    if (payload.empty())
        return std::string();
    return std::to_string(payload.size()) + " " + payload;
}

bool DecodePayload(const std::string& payload, std::string& text)
{
    if (payload.size() < length_field)
        return false;
    text = DecompressPayload(payload, true);
    if (!text.empty())
        return true;
    // An empty result is a decoded empty text only when that is what the
    // length field announced.
    const std::string field = payload.substr(0, length_field);
    char* end = nullptr;
    const long announced = std::strtol(field.c_str(), &end, 10);
    return announced == 0 && end != field.c_str();
}

FrameDecoder::Status FrameDecoder::Fail(Status status)
{
    status_ = status;
    buffer_.clear();
    buffer_.shrink_to_fit();
    return status_;
}

FrameDecoder::Status FrameDecoder::Feed(const char* data, std::size_t size, std::vector<std::string>& payloads)
{
    if (status_ != Status::ok)
        return status_;
    // Neither headers nor escaped payloads ever hold a zero byte.
    if (std::memchr(data, '\0', size) != nullptr)
        return Fail(Status::malformed);
    buffer_.append(data, size);
    std::size_t pos = 0;
    for (;;) {
        if (!have_header_) {
            std::size_t digits = 0;
            while (pos + digits < buffer_.size() && buffer_[pos + digits] >= '0' && buffer_[pos + digits] <= '9')
                ++digits;
            if (digits > max_length_digits)
                return Fail(Status::oversized);
            if (pos + digits == buffer_.size())
                break;  // the length field goes on in a later read
            if (digits == 0 || buffer_[pos + digits] != ' ')
                return Fail(Status::malformed);
            expected_ = std::strtoul(buffer_.c_str() + pos, nullptr, 10);
            if (expected_ > max_frame_payload)
                return Fail(Status::oversized);
            pos += digits + 1;
            have_header_ = true;
        }
        if (buffer_.size() - pos < expected_)
            break;
        payloads.emplace_back(buffer_, pos, expected_);
        pos += expected_;
        have_header_ = false;
    }
    buffer_.erase(0, pos);
    return Status::ok;
}

}  // namespace trvclient

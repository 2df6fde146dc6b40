#include "qr_payload.h"

#include "qr_log.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <tinyxml.h>
#include <unistd.h>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

constexpr size_t length_field = 10;

std::string length_text(size_t n)
{
    char field[32];
    std::snprintf(field, sizeof field, "%10zu", n);
    return field;
}

}  // namespace

std::string CompressPayload(std::string text, bool escape)
{
    const size_t n = text.size();
    TRV_LOG(qr_Debug_2, "Start compressing data. Source size=" << n);
    // The empty text travels as its length field alone.
    if (n == 0) {
        TRV_LOG(qr_Debug_2, "End compressing data. Result size=" << 0);
        return length_text(0);
    }
    uLongf stream_size = compressBound(static_cast<uLong>(n));
    std::vector<Bytef> stream(stream_size);
    int status = compress2(stream.data(), &stream_size, reinterpret_cast<const Bytef*>(text.data()),
                           static_cast<uLong>(n), 9);
    if (status != Z_OK) {
        TRV_LOG(qr_Error, "compress2 failed, status=" << status << ", source size=" << n);
        return std::string();
    }
    std::string payload = length_text(n);
    payload.reserve(length_field + stream_size + stream_size / 64 + 16);
    for (uLongf i = 0; i < stream_size; ++i) {
        char c = static_cast<char>(stream[i]);
        if (escape && c == '\0')
            payload += "%1";
        else if (escape && c == '%')
            payload += "%2";
        else
            payload += c;
    }
    TRV_LOG(qr_Debug_2, "End compressing data. Result size=" << payload.size() - length_field);
    return payload;
}

PayloadStatus DecompressPayloadWithin(const std::string& payload, bool unescape, size_t limit, std::string& text,
                                      std::string& why)
{
    text.clear();
    if (payload.size() < length_field)
        return PayloadStatus::text;
    // strtol reads as atol does and stays defined on overflow.
    const long announced = std::strtol(payload.substr(0, length_field).c_str(), nullptr, 10);
    // The size comes from the peer: nothing is allocated from it unchecked.
    if (announced < 0) {
        why = "announced size " + std::to_string(announced) + " is negative";
        return PayloadStatus::damaged;
    }
    if (static_cast<unsigned long>(announced) > limit) {
        why = "announced size " + std::to_string(announced) + " is above the limit of " + std::to_string(limit);
        return PayloadStatus::too_large;
    }

    std::string stream;
    stream.reserve(payload.size() - length_field);
    for (size_t i = length_field; i < payload.size(); ++i) {
        char c = payload[i];
        if (unescape && c == '%' && i + 1 < payload.size()) {
            stream += payload[i + 1] == '1' ? '\0' : '%';
            ++i;
        } else {
            stream += c;
        }
    }
    if (announced == 0 && stream.empty())
        return PayloadStatus::text;
    // Deflate expands at most about 1032 to 1: a larger announced size is a
    // lie that would only make us work for nothing.
    if (static_cast<size_t>(announced) > stream.size() * 1032 + 64) {
        why = "announced size " + std::to_string(announced) + " for a stream of " + std::to_string(stream.size()) +
              " bytes";
        return PayloadStatus::damaged;
    }

    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        why = "the decompressor cannot start";
        return PayloadStatus::damaged;
    }
    z.next_in = reinterpret_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    std::string plain;
    Bytef chunk[16384];
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        z.next_out = chunk;
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END) {
            why = "the stream is damaged or cut short (inflate status " + std::to_string(status) + ")";
            break;
        }
        const size_t got = sizeof chunk - z.avail_out;
        // More text than announced: a cut-short text would look like a valid one.
        if (plain.size() + got > static_cast<size_t>(announced)) {
            why = "the stream holds more than the announced " + std::to_string(announced) + " bytes";
            status = Z_DATA_ERROR;
            break;
        }
        plain.append(reinterpret_cast<const char*>(chunk), got);
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END)
        return PayloadStatus::damaged;
    // The text ends at its first zero byte, as a receiver of C strings reads it.
    text.assign(plain.c_str());
    return PayloadStatus::text;
}

std::string DecompressPayload(std::string payload, bool unescape)
{
    TRV_LOG(qr_Debug_2, "Start decompressing data. Source size=" << (payload.size() > length_field
                                                                         ? payload.size() - length_field
                                                                         : 0));
    std::string text;
    std::string why;
    if (DecompressPayloadWithin(payload, unescape, static_cast<size_t>(max_payload_text_size), text, why) !=
        PayloadStatus::text)
        TRV_LOG(qr_Warning, "Payload refused: " << why);
    TRV_LOG(qr_Debug_2, "End decompressing data. Result size=" << text.size());
    return text;
}

bool TestCreateFile(std::string path)
{
    int existing = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (existing >= 0) {
        ::close(existing);
        return false;
    }
    // O_EXCL: a file that exists but can't be read is never written over.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    static const char data[] = "Some data";
    ssize_t written;
    do {
        written = ::write(fd, data, sizeof data - 1);
    } while (written < 0 && errno == EINTR);
    ::close(fd);
    // The file is ours (O_EXCL): it goes whatever the write did.
    bool removed = ::unlink(path.c_str()) == 0;
    return written > 0 && removed;
}

void GetAttributeText(std::string& value, TiXmlElement* element, const char* name)
{
    if (!element || !name)
        return;
    if (const char* text = element->Attribute(name))
        value = text;
}

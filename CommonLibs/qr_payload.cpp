#include "qr_payload.h"

#include "qr_log.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <tinyxml.h>
#include <unistd.h>
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

std::string DecompressPayload(std::string payload, bool unescape)
{
    if (payload.size() < length_field)
        return std::string();
    const std::string field = payload.substr(0, length_field);
    // strtol reads as atol does and stays defined on overflow.
    const long announced = std::strtol(field.c_str(), nullptr, 10);
    payload.erase(0, length_field);
    TRV_LOG(qr_Debug_2, "Start decompressing data. Source size=" << payload.size());
    // The size comes from the peer: nothing is allocated from it unchecked.
    if (announced < 0 || announced > max_payload_text_size) {
        TRV_LOG(qr_Warning, "Payload refused: announced size " << announced << " is out of range");
        return std::string();
    }

    std::string stream;
    if (unescape) {
        stream.reserve(payload.size());
        for (size_t i = 0; i < payload.size(); ++i) {
            char c = payload[i];
            if (c == '%' && i + 1 < payload.size()) {
                stream += payload[i + 1] == '1' ? '\0' : '%';
                ++i;
            } else {
                stream += c;
            }
        }
    } else {
        stream.swap(payload);
    }

    // Deflate expands at most about 1032 to 1: a larger announced size is a
    // lie that would only make us allocate for nothing.
    const size_t most_plausible = stream.size() * 1032 + 64;
    if (static_cast<size_t>(announced) > most_plausible) {
        TRV_LOG(qr_Warning, "Payload refused: announced size " << announced << " for a stream of "
                                                                << stream.size() << " bytes");
        return std::string();
    }

    std::vector<Bytef> plain(static_cast<size_t>(announced) + 1, 0);
    uLongf plain_size = static_cast<uLongf>(announced);
    int status = uncompress(plain.data(), &plain_size, reinterpret_cast<const Bytef*>(stream.data()),
                            static_cast<uLong>(stream.size()));
    std::string text;
    if (status == Z_OK) {
        text.assign(reinterpret_cast<const char*>(plain.data()));
    } else if (announced != 0 || !stream.empty()) {
        // A damaged stream or a size smaller than the text: a cut-short text
        // would look like a valid one, so none is returned.
        TRV_LOG(qr_Warning, "Payload refused: uncompress failed, status=" << status);
    }
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

#include "qr_payload.h"

#include "qr_log.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <tinyxml.h>
#include <unistd.h>
#include <algorithm>
#include <string>
#include <system_error>
#include <thread>
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

// Texts from this size on are deflated in pieces on several threads: level 9
// costs about 10 ms per 100 KB of XML, and a large reply (the tree of a big
// snapshot, a long report) would otherwise keep its console waiting for one
// core.
constexpr size_t parallel_threshold = 1024 * 1024;
constexpr size_t piece_size = 256 * 1024;
constexpr size_t window_size = 32 * 1024;
constexpr unsigned max_threads = 4;

// The raw deflate data of text[begin, end) at level 9, primed with the 32 KB
// before it so that matches reach back across the cut as in one stream. A
// piece that is not the last ends with a sync flush (an empty stored block),
// so the pieces join into one valid deflate stream. False on a zlib failure.
bool deflate_piece(const std::string& text, size_t begin, size_t end, bool last, std::string& out)
{
    z_stream z{};
    // compress2's own parameters, without its zlib header and trailer.
    if (deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    bool ok = true;
    if (begin > 0) {
        const size_t from = begin > window_size ? begin - window_size : 0;
        ok = deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(text.data() + from),
                                  static_cast<uInt>(begin - from)) == Z_OK;
    }
    if (ok) {
        out.resize(deflateBound(&z, static_cast<uLong>(end - begin)) + 16);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data() + begin));
        z.avail_in = static_cast<uInt>(end - begin);
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        const int status = deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
        ok = (last ? status == Z_STREAM_END : status == Z_OK) && z.avail_in == 0 && z.avail_out > 0;
        out.resize(out.size() - z.avail_out);
    }
    deflateEnd(&z);
    return ok;
}

// The zlib stream of text as compress2 at level 9 frames it (header 78 DA,
// deflate data, Adler-32), the deflate data made piece by piece on several
// threads. False on a zlib failure.
bool deflate_in_pieces(const std::string& text, std::string& stream)
{
    const size_t pieces = (text.size() + piece_size - 1) / piece_size;
    const unsigned threads =
        static_cast<unsigned>(std::min<size_t>({pieces, max_threads, std::max(2u, std::thread::hardware_concurrency())}));
    std::vector<std::string> out(pieces);
    std::vector<char> ok(pieces, 0);
    std::vector<uLong> sums(pieces, 0);
    auto work = [&](unsigned first) {
        for (size_t i = first; i < pieces; i += threads) {
            const size_t begin = i * piece_size;
            const size_t end = std::min(text.size(), begin + piece_size);
            ok[i] = deflate_piece(text, begin, end, i + 1 == pieces, out[i]);
            sums[i] = adler32(adler32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(text.data() + begin),
                              static_cast<uInt>(end - begin));
        }
    };
    std::vector<std::thread> helpers;
    try {
        for (unsigned t = 1; t < threads; ++t)
            helpers.emplace_back(work, t);
    } catch (const std::system_error& e) {
        // No more threads to be had: the calling thread does their share.
        TRV_LOG(qr_Warning, "Compressing on fewer threads: " << e.what());
    }
    work(0);
    for (std::thread& helper : helpers)
        helper.join();
    for (unsigned t = static_cast<unsigned>(helpers.size()) + 1; t < threads; ++t)
        work(t);
    if (std::find(ok.begin(), ok.end(), 0) != ok.end())
        return false;

    uLong sum = sums[0];
    size_t total = 2 + 4;
    for (size_t i = 0; i < pieces; ++i) {
        if (i > 0)
            sum = adler32_combine(sum, sums[i], static_cast<z_off_t>(std::min(piece_size, text.size() - i * piece_size)));
        total += out[i].size();
    }
    stream.clear();
    stream.reserve(total);
    stream += '\x78';
    stream += '\xDA';
    for (const std::string& piece : out)
        stream += piece;
    for (int shift = 24; shift >= 0; shift -= 8)
        stream += static_cast<char>((sum >> shift) & 0xFF);
    return true;
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
    std::string stream;
    if (n >= parallel_threshold) {
        if (!deflate_in_pieces(text, stream)) {
            TRV_LOG(qr_Error, "deflate failed, source size=" << n);
            return std::string();
        }
    } else {
        uLongf stream_size = compressBound(static_cast<uLong>(n));
        stream.resize(stream_size);
        const int status = compress2(reinterpret_cast<Bytef*>(stream.data()), &stream_size,
                                     reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(n), 9);
        if (status != Z_OK) {
            TRV_LOG(qr_Error, "compress2 failed, status=" << status << ", source size=" << n);
            return std::string();
        }
        stream.resize(stream_size);
    }
    std::string payload = length_text(n);
    if (!escape) {
        payload += stream;
    } else {
        payload.reserve(length_field + stream.size() + stream.size() / 64 + 16);
        for (char c : stream) {
            if (c == '\0')
                payload += "%1";
            else if (c == '%')
                payload += "%2";
            else
                payload += c;
        }
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

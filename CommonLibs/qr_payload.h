// The encoded form of every frame's XML text: ten characters of plain-text
// length (right-aligned, blank-padded) followed by the zlib stream of the text
// in which 0x00 is written "%1" and '%' is written "%2", so a payload never
// holds a zero byte. Also two small helpers of the settings requests.
// All functions are pure or touch only their own file; any thread may call them.
#pragma once

#include <string>

class TiXmlElement;

// The payload of `text`. With `escape` false the stream follows the length
// field unchanged. Never throws; a failure of the compressor gives "".
std::string CompressPayload(std::string text, bool escape);
// The plain text of `payload`, or the empty text when the payload is short,
// damaged, or announces a size that is negative or above
// max_payload_text_size. Never throws.
std::string DecompressPayload(std::string payload, bool unescape);

// The largest plain text a payload may announce (64 MiB).
constexpr long max_payload_text_size = 64L * 1024 * 1024;

// What DecompressPayloadWithin made of a payload.
enum class PayloadStatus {
    text,       // `text` holds the plain text (empty for a payload shorter than ten characters)
    too_large,  // it announces more than the limit
    damaged,    // a bad size, a damaged or cut stream, or more text than announced
};
// The plain text of `payload` as DecompressPayload reads it, but never more
// than `limit` bytes: the stream is inflated in steps of a few kilobytes and
// stops as soon as it would give more than the size it announced, so a
// payload that claims or holds more costs no more memory than the limit
// itself. `why` says what was wrong when the result is not `text`. Never
// throws, logs nothing.
PayloadStatus DecompressPayloadWithin(const std::string& payload, bool unescape, size_t limit, std::string& text,
                                      std::string& why);

// True only when `path` did not exist and a file could be created there,
// written and removed. An existing file is never opened for writing.
bool TestCreateFile(std::string path);

// `value` becomes the attribute's text when `element` has it; otherwise it
// keeps what it had.
void GetAttributeText(std::string& value, TiXmlElement* element, const char* name);

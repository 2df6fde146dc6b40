// The start tag of the first element of an XML text, read without parsing
// the rest: the client library needs a reply's name and synch to route it,
// and must put its own synch on every request, for texts of any size.
// Pure functions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace trvclient {

struct RootTag {
    struct Attribute {
        std::string name;
        std::string value;          // as written, entities not decoded
        std::size_t value_begin;    // offsets of the value in the text
        std::size_t value_end;
    };
    std::string name;
    std::size_t name_end = 0;       // offset just after the element's name
    std::vector<Attribute> attributes;

    const Attribute* Find(const std::string& attribute) const;
    // The synch attribute as a decimal int, if there is one.
    std::optional<int> Synch() const;
};

// False when the text holds no well-formed start tag (declarations, comments
// and white space before it are skipped).
bool ReadRootTag(const std::string& text, RootTag& tag);

// The text with its root element's synch attribute set to `synch`: inserted
// after the name, or its value replaced when the element has one already.
std::string StampSynch(const std::string& text, const RootTag& tag, int synch);

}  // namespace trvclient

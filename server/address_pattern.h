// The address pattern of the console's device search. The console writes
// four octets joined by " . ", each a value ("15"), a range ("[1-3]", also
// without brackets) or a star ("*", any value): "10 . 0 . [10-20] . *". Such
// a pattern matches an address octet by octet. Two whole addresses joined by
// a dash ("10.0.0.1 - 10.0.0.5") match every address from the first to the
// last. Any other text keeps the older form: the pieces between stars must
// all occur in the address ("10.*.5"). A text with range brackets that is not
// four such octets, or with more dots than one address that is not two
// addresses, is malformed and matches nothing. Values only; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class AddressPattern {
public:
    // Blanks in the text are not significant.
    explicit AddressPattern(const std::string& text);

    // True when the text can match something: not empty and not malformed.
    bool usable() const { return usable_; }
    bool matches(const std::string& address) const;

private:
    struct Octet {
        int low;
        int high;
    };
    bool by_octet_ = false;
    bool by_range_ = false;
    uint32_t first_ = 0;  // the range of addresses when by_range_
    uint32_t last_ = 0;
    bool usable_ = false;
    Octet octets_[4] = {};
    std::vector<std::string> pieces_;  // the older form
};

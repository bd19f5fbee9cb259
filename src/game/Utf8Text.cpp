#include "game/Utf8Text.h"

namespace {
// The longest UTF-8 sequence: a lead byte and three continuation bytes.
const std::size_t MAX_SEQUENCE = 4;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Bytes in the sequence that the lead byte opens; 0 for a byte that cannot lead one.
std::size_t SequenceLength(unsigned char c) {
    if (c < 0x80) {
        return 1;
    }
    if ((c & 0xE0) == 0xC0) {
        return 2;
    }
    if ((c & 0xF0) == 0xE0) {
        return 3;
    }
    if ((c & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}
} // namespace

void Utf8PopBack(std::string& text) {
    if (text.empty()) {
        return;
    }
    // Walk back over the continuation bytes of the last character to its lead byte.
    std::size_t lead = text.size() - 1;
    while (lead > 0 && text.size() - lead < MAX_SEQUENCE &&
           IsContinuation(static_cast<unsigned char>(text[lead]))) {
        --lead;
    }
    const std::size_t tail = text.size() - lead;
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text[lead]));
    if (length >= tail) {
        text.erase(lead);
    } else {
        // Stray bytes that belong to no character go one at a time.
        text.pop_back();
    }
}

std::string Utf8Prefix(const std::string& text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    // text[cut] is the first byte left out; if it continues a character, that whole character
    // is left out.
    std::size_t cut = maxBytes;
    std::size_t steps = 0;
    while (cut > 0 && steps < MAX_SEQUENCE - 1 &&
           IsContinuation(static_cast<unsigned char>(text[cut]))) {
        --cut;
        ++steps;
    }
    if (IsContinuation(static_cast<unsigned char>(text[cut])) ||
        SequenceLength(static_cast<unsigned char>(text[cut])) == 0) {
        // Not a character boundary in broken text: cut at the byte limit.
        cut = maxBytes;
    }
    return text.substr(0, cut);
}

#include "game/Utf8Text.h"

void Utf8PopBack(std::string&) {}
std::string Utf8Prefix(const std::string& text, std::size_t) { return text; }

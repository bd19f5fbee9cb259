#pragma once
// The player's name arrives as UTF-8: these keep it whole when it is shortened or cut.

#include <cstddef>
#include <string>

// Removes the last whole character (one to four bytes); an empty text stays empty.
void Utf8PopBack(std::string& text);

// The longest prefix of at most maxBytes bytes that does not split a character.
std::string Utf8Prefix(const std::string& text, std::size_t maxBytes);

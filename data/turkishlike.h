#pragma once

#include <string_view>

namespace data {

// The LIKE of the program's connections, on UTF-8 text: "%" matches any run of characters
// (also none), "_" exactly one; every other character matches itself without regard to
// letter case, with the Turkish letters folded as a librarian expects: İ I ı i are one letter,
// and so are Ş/S, Ğ/G, Ç/C, Ö/O, Ü/U, Â/A, Î/I, Û/U. So "şahin", "ŞAHİN" and "SAHIN" match
// each other. Bytes that are no valid UTF-8 stand for themselves.
bool turkishLike(std::string_view pattern, std::string_view text);

// The folded form of one code point: the letter it is compared as.
char32_t foldForLike(char32_t c);

} // namespace data

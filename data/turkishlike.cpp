#include "data/turkishlike.h"

#include <QChar>

namespace data {

char32_t foldForLike(char32_t c) {
    if (c < 0x80)
        return (c >= U'A' && c <= U'Z') ? c + 32 : c;
    switch (c) {
    case U'İ':
    case U'ı':
    case U'Î':
    case U'î':
        return U'i';
    case U'Ş':
    case U'ş':
        return U's';
    case U'Ğ':
    case U'ğ':
        return U'g';
    case U'Ç':
    case U'ç':
        return U'c';
    case U'Ö':
    case U'ö':
        return U'o';
    case U'Ü':
    case U'ü':
    case U'Û':
    case U'û':
        return U'u';
    case U'Â':
    case U'â':
        return U'a';
    default:
        return QChar::toLower(c);
    }
}

namespace {

constexpr char32_t combiningDotAbove = 0x0307; // what "İ".toLower() leaves behind "i"
// A byte that is no UTF-8 stands for itself: it is numbered above every code point, so that it
// neither folds nor equals the letter of the same number (0xE7 is not "ç").
constexpr char32_t rawByte = 0x110000;

// Decodes one code point at `i` and moves past it; malformed bytes stand for themselves.
char32_t decode(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    auto cont = [&](size_t k) {
        return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
    };
    auto bits = [&](size_t k) { return static_cast<char32_t>(s[i + k] & 0x3F); };
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    if ((b0 & 0xE0) == 0xC0 && b0 >= 0xC2 && cont(1)) {
        const char32_t c = (static_cast<char32_t>(b0 & 0x1F) << 6) | bits(1);
        i += 2;
        return c;
    }
    if ((b0 & 0xF0) == 0xE0 && cont(1) && cont(2)) {
        const char32_t c = (static_cast<char32_t>(b0 & 0x0F) << 12) | (bits(1) << 6) | bits(2);
        if (c >= 0x800 && (c < 0xD800 || c > 0xDFFF)) { // no over-long form, no surrogate
            i += 3;
            return c;
        }
    }
    if ((b0 & 0xF8) == 0xF0 && cont(1) && cont(2) && cont(3)) {
        const char32_t c =
            (static_cast<char32_t>(b0 & 0x07) << 18) | (bits(1) << 12) | (bits(2) << 6) | bits(3);
        if (c >= 0x10000 && c <= 0x10FFFF) {
            i += 4;
            return c;
        }
    }
    ++i;
    return rawByte + b0;
}

// The next folded letter, skipping the combining dot above; false at the end.
bool next(std::string_view s, size_t& i, char32_t& folded) {
    while (i < s.size()) {
        const char32_t c = decode(s, i);
        if (c == combiningDotAbove)
            continue;
        folded = c >= rawByte ? c : foldForLike(c);
        return true;
    }
    return false;
}

} // namespace

bool turkishLike(std::string_view pattern, std::string_view text) {
    size_t p = 0, s = 0;
    size_t starP = std::string_view::npos, starS = 0;
    for (;;) {
        size_t pNext = p;
        char32_t pc = 0;
        const bool havePattern = next(pattern, pNext, pc);
        if (havePattern && pc == U'%') {
            p = pNext;
            starP = p;
            starS = s;
            continue;
        }
        size_t sNext = s;
        char32_t sc = 0;
        const bool haveText = next(text, sNext, sc);
        if (!haveText) {
            if (!havePattern)
                return true;
            // only "%" may stand in the rest of the pattern
            if (starP == std::string_view::npos)
                return false;
            size_t q = p;
            char32_t qc = 0;
            while (next(pattern, q, qc))
                if (qc != U'%')
                    return false;
            return true;
        }
        if (havePattern && (pc == U'_' || pc == sc)) {
            p = pNext;
            s = sNext;
            continue;
        }
        if (starP == std::string_view::npos)
            return false;
        // let the last "%" swallow one more character and try again
        p = starP;
        char32_t skipped = 0;
        next(text, starS, skipped);
        s = starS;
    }
}

} // namespace data

/* The Windows build's iconv (iconv.c), run under Wine by scripts/test-windows.sh: what FreeXL
 * reads from an Excel file must come out as the exact UTF-8, Turkish letters and all, and a
 * conversion that stops (full output, a cut or a wrong character) must say why and where.
 * Prints one line for each failed case and a closing "N cases, M failed"; exits with 1 when
 * any failed. */
#include "iconv.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

static int cases, failed;

static void check(int ok, const char* name, const char* what) {
    ++cases;
    if (!ok) {
        ++failed;
        printf("FAIL %s: %s\n", name, what);
    }
}

/* One conversion: from `from`, the input bytes, the room for the output, and what must come
 * of it: the result, errno, the UTF-8 written and the input bytes left over. */
struct conversion {
    const char* name;
    const char* from;
    const char* in;
    size_t in_size;
    size_t room;
    int error; /* 0: converted completely */
    const char* out;
    size_t left;
};

static const struct conversion conversions[] = {
    {"CP1254 Turkish letters", "CP1254", "\xF0\xFE\xFD\xDD\xDE\xD0 \xE7\xF6\xFC", 10, 64, 0,
     "\xC4\x9F\xC5\x9F\xC4\xB1\xC4\xB0\xC5\x9E\xC4\x9E \xC3\xA7\xC3\xB6\xC3\xBC", 0},
    {"CP1254 name written lower case", "cp1254", "I\xFD\x49\xDD", 4, 64, 0, "I\xC4\xB1I\xC4\xB0",
     0},
    {"CP1252 (the same bytes are other letters)", "CP1252", "Caf\xE9 \x80 \xF0\xFE", 9, 64, 0,
     "Caf\xC3\xA9 \xE2\x82\xAC \xC3\xB0\xC3\xBE", 0},
    {"UTF-16LE with a surrogate pair", "UTF-16LE", "A\0\x3D\xD8\xDA\xDC\x1F\x01", 8, 64, 0,
     "A\xF0\x9F\x93\x9A\xC4\x9F", 0},
    {"CP932 double-byte characters", "CP932", "\x93\xFA\x96\x7Bz", 5, 64, 0,
     "\xE6\x97\xA5\xE6\x9C\xACz", 0},
    {"MacRoman", "MacRoman", "\x8A\x87", 2, 64, 0, "\xC3\xA4\xC3\xA1", 0},
    {"ASCII", "ASCII", "Kitap 12", 8, 64, 0, "Kitap 12", 0},
    {"empty input", "CP1254", "", 0, 64, 0, "", 0},
    {"ASCII refuses a byte above 127", "ASCII", "ab\x80", 3, 64, EILSEQ, "ab", 1},
    {"UTF-16LE cut in a unit", "UTF-16LE", "k\0\x1F", 3, 64, EINVAL, "k", 1},
    {"UTF-16LE cut in a surrogate pair", "UTF-16LE", "k\0\x3D\xD8", 4, 64, EINVAL, "k", 2},
    {"UTF-16LE cut in the second unit of a pair", "UTF-16LE", "\x3D\xD8\xDA", 3, 64, EINVAL, "", 3},
    {"UTF-16LE low surrogate alone", "UTF-16LE", "k\0\xDA\xDCz\0", 6, 64, EILSEQ, "k", 4},
    {"UTF-16LE high surrogate without its low", "UTF-16LE", "\x3D\xD8z\0", 4, 64, EILSEQ, "", 4},
    {"CP932 cut after a lead byte", "CP932", "\x93\xFA\x96", 3, 64, EINVAL, "\xE6\x97\xA5", 1},
    {"output exactly large enough", "CP1254", "\xF0\xFE", 2, 4, 0, "\xC4\x9F\xC5\x9F", 0},
    {"output too small stops before a whole character", "CP1254", "\xF0\xFE", 2, 3, E2BIG,
     "\xC4\x9F", 1},
    {"output too small for the first character", "UTF-16LE", "\x3D\xD8\xDA\xDC", 4, 3, E2BIG, "",
     4},
};

static void convert(const struct conversion* c) {
    char out[64];
    char what[200];
    char* in = (char*)c->in;
    char* to = out;
    size_t in_left = c->in_size, room = c->room;
    size_t result;
    const size_t expected = strlen(c->out);
    iconv_t cd = iconv_open("UTF-8", c->from);
    if (cd == (iconv_t)-1) {
        check(0, c->name, "iconv_open refused the encoding");
        return;
    }
    errno = 0;
    result = iconv(cd, &in, &in_left, &to, &room);
    snprintf(what, sizeof what, "result %d errno %d, %d bytes out, %d bytes left", (int)result,
             errno, (int)(to - out), (int)in_left);
    check(c->error ? result == (size_t)-1 && errno == c->error : result == 0, c->name, what);
    check((size_t)(to - out) == expected && memcmp(out, c->out, expected) == 0, c->name, what);
    check(in_left == c->left && in == c->in + (c->in_size - c->left), c->name, what);
    check(room == c->room - expected, c->name, what);
    iconv_close(cd);
}

/* After E2BIG a second call with more room goes on where the first stopped. */
static void resumeAfterFullOutput(void) {
    const char* name = "E2BIG, then resumed with more room";
    char out[16];
    char* in = "\xF0\xFE\xFD";
    char* to = out;
    size_t in_left = 3, room = 3;
    size_t result;
    iconv_t cd = iconv_open("UTF-8", "CP1254");
    errno = 0;
    result = iconv(cd, &in, &in_left, &to, &room);
    check(result == (size_t)-1 && errno == E2BIG && in_left == 2 && room == 1, name, "first call");
    room += 5;
    result = iconv(cd, &in, &in_left, &to, &room);
    check(result == 0 && in_left == 0 && room == 2 && to - out == 6 &&
              memcmp(out, "\xC4\x9F\xC5\x9F\xC4\xB1", 6) == 0,
          name, "second call");
    /* A null input only resets the converter. */
    check(iconv(cd, NULL, NULL, NULL, NULL) == 0, name, "reset");
    check(iconv_close(cd) == 0, name, "close");
}

/* What FreeXL never asks for is refused, as iconv refuses an unknown encoding. */
static void refusesUnknownEncodings(void) {
    static const char* const pairs[][2] = {
        {"UTF-8", "KOI8-R"},    {"UTF-8", "CP9999"}, {"UTF-8", "ISO-8859-9"}, {"UTF-8", "CP"},
        {"UTF-16LE", "CP1254"}, {"ASCII", "UTF-8"},  {"UTF-8", ""},
    };
    size_t i;
    for (i = 0; i < sizeof pairs / sizeof pairs[0]; ++i) {
        char name[80];
        iconv_t cd;
        snprintf(name, sizeof name, "refuses %s from %s", pairs[i][0], pairs[i][1]);
        errno = 0;
        cd = iconv_open(pairs[i][0], pairs[i][1]);
        check(cd == (iconv_t)-1 && errno == EINVAL, name, "opened, or errno is not EINVAL");
        if (cd != (iconv_t)-1)
            iconv_close(cd);
    }
}

int main(void) {
    size_t i;
    for (i = 0; i < sizeof conversions / sizeof conversions[0]; ++i)
        convert(&conversions[i]);
    resumeAfterFullOutput();
    refusesUnknownEncodings();
    printf("%d cases, %d failed\n", cases, failed);
    return failed ? 1 : 0;
}

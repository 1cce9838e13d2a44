/* iconv.c: the iconv that FreeXL needs on Windows, on Windows's own code-page conversions.
 * What it converts, and why it is here, is said in iconv.h.
 *
 * Each character is taken whole: its bytes are found (one, or two after a lead byte of a
 * double-byte code page; two or four in UTF-16LE), turned into UTF-16 by MultiByteToWideChar
 * (or read as they are), and written out as UTF-8 when it all fits. So a call ends between two
 * characters, never inside one, and may be called again where it stopped.
 */
#include "iconv.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

enum source { from_ascii, from_utf16le, from_code_page };

struct ternavolk_iconv {
    enum source source;
    UINT code_page;
};

/* The code pages an Excel file may name, by the names FreeXL opens them with. */
static const struct {
    const char* name;
    UINT code_page;
} code_pages[] = {
    {"CP437", 437},   {"CP720", 720},   {"CP737", 737},      {"CP775", 775},   {"CP850", 850},
    {"CP852", 852},   {"CP855", 855},   {"CP857", 857},      {"CP858", 858},   {"CP860", 860},
    {"CP861", 861},   {"CP862", 862},   {"CP863", 863},      {"CP864", 864},   {"CP865", 865},
    {"CP866", 866},   {"CP869", 869},   {"CP874", 874},      {"CP932", 932},   {"CP936", 936},
    {"CP949", 949},   {"CP950", 950},   {"CP1250", 1250},    {"CP1251", 1251}, {"CP1252", 1252},
    {"CP1253", 1253}, {"CP1254", 1254}, {"CP1255", 1255},    {"CP1256", 1256}, {"CP1257", 1257},
    {"CP1258", 1258}, {"CP1361", 1361}, {"MacRoman", 10000},
};

iconv_t iconv_open(const char* tocode, const char* fromcode) {
    struct ternavolk_iconv found = {from_code_page, 0};
    size_t i;
    iconv_t cd;
    if (!tocode || !fromcode || _stricmp(tocode, "UTF-8") != 0) {
        errno = EINVAL;
        return (iconv_t)-1;
    }
    if (_stricmp(fromcode, "ASCII") == 0)
        found.source = from_ascii;
    else if (_stricmp(fromcode, "UTF-16LE") == 0)
        found.source = from_utf16le;
    else {
        for (i = 0; i < sizeof code_pages / sizeof code_pages[0]; ++i)
            if (_stricmp(fromcode, code_pages[i].name) == 0)
                found.code_page = code_pages[i].code_page;
        /* A code page this Windows does not have installed is refused as unknown. */
        if (found.code_page == 0 || !IsValidCodePage(found.code_page)) {
            errno = EINVAL;
            return (iconv_t)-1;
        }
    }
    cd = malloc(sizeof *cd);
    if (!cd) {
        errno = ENOMEM;
        return (iconv_t)-1;
    }
    *cd = found;
    return cd;
}

int iconv_close(iconv_t cd) {
    if (!cd || cd == (iconv_t)-1) {
        errno = EBADF;
        return -1;
    }
    free(cd);
    return 0;
}

/* The next character of the input as UTF-16 (one unit, or a surrogate pair): its number of
 * input bytes, or 0 with *error set. */
static size_t next_character(const struct ternavolk_iconv* cd, const unsigned char* in, size_t left,
                             WCHAR wide[2], int* wides, int* error) {
    size_t used;
    unsigned unit, next;
    switch (cd->source) {
    case from_ascii:
        if (in[0] >= 0x80) {
            *error = EILSEQ;
            return 0;
        }
        wide[0] = in[0];
        *wides = 1;
        return 1;
    case from_utf16le:
        if (left < 2) {
            *error = EINVAL;
            return 0;
        }
        unit = in[0] | (unsigned)in[1] << 8;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            *error = EILSEQ; /* a low surrogate without its high one */
            return 0;
        }
        wide[0] = (WCHAR)unit;
        *wides = 1;
        if (unit < 0xD800 || unit > 0xDBFF)
            return 2;
        if (left < 4) {
            *error = EINVAL; /* the pair goes on beyond the input */
            return 0;
        }
        next = in[2] | (unsigned)in[3] << 8;
        if (next < 0xDC00 || next > 0xDFFF) {
            *error = EILSEQ;
            return 0;
        }
        wide[1] = (WCHAR)next;
        *wides = 2;
        return 4;
    case from_code_page:
        used = IsDBCSLeadByteEx(cd->code_page, in[0]) ? 2 : 1;
        if (used > left) {
            *error = EINVAL;
            return 0;
        }
        *wides =
            MultiByteToWideChar(cd->code_page, MB_ERR_INVALID_CHARS, (LPCCH)in, (int)used, wide, 2);
        if (*wides <= 0) {
            *error = EILSEQ;
            return 0;
        }
        return used;
    }
    *error = EBADF;
    return 0;
}

/* The UTF-8 bytes of a character given as UTF-16: their number, or 0 when it is not one
 * character (a surrogate alone). */
static size_t to_utf8(const WCHAR* wide, int wides, unsigned char out[4]) {
    unsigned long c = wide[0];
    if (wides == 2) {
        if (c < 0xD800 || c > 0xDBFF || wide[1] < 0xDC00 || wide[1] > 0xDFFF)
            return 0;
        c = 0x10000 + ((c - 0xD800) << 10) + (wide[1] - 0xDC00u);
    } else if (wides != 1 || (c >= 0xD800 && c <= 0xDFFF)) {
        return 0;
    }
    if (c < 0x80) {
        out[0] = (unsigned char)c;
        return 1;
    }
    if (c < 0x800) {
        out[0] = (unsigned char)(0xC0 | c >> 6);
        out[1] = (unsigned char)(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = (unsigned char)(0xE0 | c >> 12);
        out[1] = (unsigned char)(0x80 | (c >> 6 & 0x3F));
        out[2] = (unsigned char)(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = (unsigned char)(0xF0 | c >> 18);
    out[1] = (unsigned char)(0x80 | (c >> 12 & 0x3F));
    out[2] = (unsigned char)(0x80 | (c >> 6 & 0x3F));
    out[3] = (unsigned char)(0x80 | (c & 0x3F));
    return 4;
}

size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft) {
    int error = 0;
    if (!cd || cd == (iconv_t)-1) {
        errno = EBADF;
        return (size_t)-1;
    }
    if (!inbuf || !*inbuf)
        return 0;
    if (!inbytesleft || !outbuf || !*outbuf || !outbytesleft) {
        errno = EINVAL;
        return (size_t)-1;
    }
    while (*inbytesleft > 0) {
        WCHAR wide[2];
        int wides = 0;
        unsigned char bytes[4];
        size_t written;
        const size_t used =
            next_character(cd, (const unsigned char*)*inbuf, *inbytesleft, wide, &wides, &error);
        if (used == 0)
            break;
        written = to_utf8(wide, wides, bytes);
        if (written == 0) {
            error = EILSEQ;
            break;
        }
        if (written > *outbytesleft) {
            error = E2BIG;
            break;
        }
        memcpy(*outbuf, bytes, written);
        *outbuf += written;
        *outbytesleft -= written;
        *inbuf += used;
        *inbytesleft -= used;
    }
    if (error) {
        errno = error;
        return (size_t)-1;
    }
    return 0;
}

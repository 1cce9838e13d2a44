/* iconv.h: the part of iconv that FreeXL uses, for the Windows build only.
 *
 * MinGW-w64 has no iconv and Debian ships no Windows iconv library, so FreeXL is compiled
 * against this header and iconv.c beside it: a thin adapter onto Windows's own code-page
 * conversions (MultiByteToWideChar). It converts exactly what FreeXL asks for: into "UTF-8"
 * from "ASCII", "UTF-16LE", "MacRoman" and the code pages "CP437" ... "CP1361" that an Excel
 * file may name. Any other pair is refused with EINVAL, as iconv refuses what it does not know.
 *
 * The functions carry their own names, so that they never meet another iconv in a program:
 * code that includes this header calls ternavolk_iconv_open and so on.
 */
#ifndef TERNAVOLK_ICONV_H
#define TERNAVOLK_ICONV_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ternavolk_iconv* iconv_t;

#define iconv_open ternavolk_iconv_open
#define iconv ternavolk_iconv
#define iconv_close ternavolk_iconv_close

/* A converter from `fromcode` into `tocode`, or (iconv_t)-1 with errno EINVAL. */
iconv_t iconv_open(const char* tocode, const char* fromcode);

/* Converts whole characters from *inbuf into *outbuf, moving both on, as POSIX iconv does.
 * Returns 0, or (size_t)-1 with errno E2BIG (the output is full: call again with more room),
 * EILSEQ (*inbuf points to bytes that are no character of the encoding) or EINVAL (*inbuf ends
 * in the middle of a character). A null inbuf or *inbuf only resets the converter (it keeps no
 * state) and returns 0. */
size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft);

int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif

#endif

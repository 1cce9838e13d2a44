/* localcharset.h: freexl.c includes this header of libiconv's on Windows but calls nothing
 * from it; the Windows build's iconv (iconv.h beside it) needs no locale's character set. */
#ifndef TERNAVOLK_LOCALCHARSET_H
#define TERNAVOLK_LOCALCHARSET_H
#endif

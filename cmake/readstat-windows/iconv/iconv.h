// SPDX-License-Identifier: GPL-3.0-or-later
// MinGW-w64 has no iconv. ReadStat's shared code names it for its readers, which are not built
// for Windows; the writer passes no converter, so these are never reached, and refuse if they
// were.
#pragma once
#include <errno.h>
#include <stddef.h>

typedef void* iconv_t;

static inline iconv_t iconv_open(const char* to, const char* from) {
    (void)to;
    (void)from;
    errno = EINVAL;
    return (iconv_t)-1;
}

static inline size_t iconv(iconv_t cd, char** in, size_t* inLeft, char** out, size_t* outLeft) {
    (void)cd;
    (void)in;
    (void)inLeft;
    (void)out;
    (void)outLeft;
    errno = EILSEQ;
    return (size_t)-1;
}

static inline int iconv_close(iconv_t cd) {
    (void)cd;
    return 0;
}

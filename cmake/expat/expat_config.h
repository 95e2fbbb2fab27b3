/* Build settings for Expat when we compile it ourselves (MinGW, fuzzing):
   the features the parameter-file reader relies on, as Debian builds them.
   XML_DTD brings internal entities and the limits on their amplification. */
#ifndef EXPAT_CONFIG_H
#define EXPAT_CONFIG_H 1

#define BYTEORDER 1234
#define XML_CONTEXT_BYTES 1024
#define XML_DTD 1
#define XML_NS 1
#define HAVE_STDINT_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1

#if !defined(_WIN32)
/* Hash salt from the kernel; on Windows Expat takes rand_s. */
#define HAVE_GETRANDOM 1
#define XML_DEV_URANDOM 1
#endif

#endif

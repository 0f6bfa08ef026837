/* The one file that reads or writes the interpreter's strings and blocks: the
 * variable pool (variables and stems), the argument strings and the result
 * string.
 *
 * On x64 Windows, interpreters whose SAA lengths are unsigned long give every
 * length 32 bits (padding follows in a string), those whose lengths are
 * size_t give them 64; the package learns which from the first pool request
 * that the interpreter answers (layout.h). x86 Windows and Linux have one
 * layout, fixed here at compile time. WENDRIK_SAA_FIXED_LAYOUT (a SaaLayout)
 * hard-wires a layout in a build of the tests. */
#include "layout.h"

#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <new>

template <typename Length>
struct SaaStringAs {
  Length strlength;
  char *strptr;
};

template <typename Length>
struct SaaShvBlockAs {
  SaaShvBlockAs *shvnext;
  SaaStringAs<Length> shvname;
  SaaStringAs<Length> shvvalue;
  Length shvnamelen;
  Length shvvaluelen;
  unsigned char shvcode;
  unsigned char shvret;
};

typedef SaaStringAs<uint32_t> SaaUlongString;
typedef SaaStringAs<uintptr_t> SaaSizeString;
typedef SaaShvBlockAs<uint32_t> SaaUlongBlock;
typedef SaaShvBlockAs<uintptr_t> SaaSizeBlock;

/* The lengths are read and written by their low bytes first. */
#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the layouts assume little-endian lengths");
#endif
/* A string's text lies at one offset in both layouts, and an array of strings
 * has one stride: the 32-bit length is padded to the pointer. */
static_assert(offsetof(SaaUlongString, strptr) == offsetof(SaaSizeString, strptr), "one text offset");
static_assert(sizeof(SaaUlongString) == sizeof(SaaSizeString), "one string stride");
/* The probe's 32-bit code and flag lie within the wide block's shvvaluelen,
 * which a set does not read (on 32-bit systems the two layouts are one). */
static_assert(sizeof(uintptr_t) == sizeof(uint32_t) ||
                  (offsetof(SaaUlongBlock, shvcode) >= offsetof(SaaSizeBlock, shvvaluelen) &&
                   offsetof(SaaUlongBlock, shvret) < offsetof(SaaSizeBlock, shvcode)),
              "the probe's two views do not overlap");

#if defined(WENDRIK_SAA_FIXED_LAYOUT)
static SaaLayout saaLayout = WENDRIK_SAA_FIXED_LAYOUT;
#elif defined(_WIN64)
static SaaLayout saaLayout = SAA_LAYOUT_UNDECIDED;
#elif defined(_WIN32)
static SaaLayout saaLayout = SAA_LAYOUT_ULONG;
#else
/* The interpreter header's lengths are unsigned long, as wide as a pointer. */
static_assert(sizeof(ULONG) == sizeof(uintptr_t), "the header's lengths are pointer-wide");
static_assert(sizeof(RXSTRING) == sizeof(SaaSizeString) &&
                  offsetof(RXSTRING, strlength) == offsetof(SaaSizeString, strlength) &&
                  offsetof(RXSTRING, strptr) == offsetof(SaaSizeString, strptr),
              "RXSTRING as the header lays it out");
static_assert(sizeof(SHVBLOCK) == sizeof(SaaSizeBlock) &&
                  offsetof(SHVBLOCK, shvname) == offsetof(SaaSizeBlock, shvname) &&
                  offsetof(SHVBLOCK, shvvalue) == offsetof(SaaSizeBlock, shvvalue) &&
                  offsetof(SHVBLOCK, shvnamelen) == offsetof(SaaSizeBlock, shvnamelen) &&
                  offsetof(SHVBLOCK, shvvaluelen) == offsetof(SaaSizeBlock, shvvaluelen) &&
                  offsetof(SHVBLOCK, shvcode) == offsetof(SaaSizeBlock, shvcode) &&
                  offsetof(SHVBLOCK, shvret) == offsetof(SaaSizeBlock, shvret),
              "SHVBLOCK as the header lays it out");
static SaaLayout saaLayout = SAA_LAYOUT_SIZE_T;
#endif

SaaLayout saaLayoutInForce(void)
{
  return saaLayout;
}

/* ---- Strings ---- */

template <typename Length>
static size_t saaReadLength(const void *string)
{
  Length length;
  memcpy(&length, string, sizeof length);
  return static_cast<size_t>(length);
}

template <typename Length>
static void saaWriteLength(void *string, size_t length)
{
  Length narrow = static_cast<Length>(length);
  memcpy(string, &narrow, sizeof narrow);
}

size_t saaStringLengthAs(SaaLayout layout, const RXSTRING *string)
{
  if (layout == SAA_LAYOUT_SIZE_T)
    return saaReadLength<uintptr_t>(string);
  return saaReadLength<uint32_t>(string);
}

void saaSetStringLengthAs(SaaLayout layout, RXSTRING *string, size_t length)
{
  if (layout == SAA_LAYOUT_SIZE_T)
    saaWriteLength<uintptr_t>(string, length);
  else
    saaWriteLength<uint32_t>(string, length);
}

char *saaStringText(const RXSTRING *string)
{
  char *text;
  memcpy(&text, reinterpret_cast<const char *>(string) + offsetof(SaaSizeString, strptr), sizeof text);
  return text;
}

void saaReadArgsAs(SaaLayout layout, ULONG argc, const RXSTRING *argv, FtpArg *args)
{
  for (ULONG i = 0; i < argc; i++) {
    if (argv == NULL) {
      args[i].strptr = NULL;
      args[i].strlength = 0;
      continue;
    }
    const RXSTRING *string =
        reinterpret_cast<const RXSTRING *>(reinterpret_cast<const char *>(argv) + i * sizeof(SaaSizeString));
    args[i].strptr = saaStringText(string);
    args[i].strlength = args[i].strptr ? saaStringLengthAs(layout, string) : 0;
  }
}

void FtpReadArgs(ULONG argc, const RXSTRING *argv, FtpArg *args)
{
  saaReadArgsAs(saaLayout, argc, argv, args);
}

/* SAA promises a result buffer of at least this size when the caller gives none. */
#define SAA_RESULT_MINIMUM 256

static size_t FtpResultCapacity = SAA_RESULT_MINIMUM;

void FtpBeginResult(RXSTRING *result)
{
  size_t capacity = saaStringLengthAs(saaLayout, result);
  FtpResultCapacity = capacity ? capacity : SAA_RESULT_MINIMUM;
  saaSetStringLengthAs(saaLayout, result, 0);
}

void FtpSetResult(RXSTRING *result, const char *text)
{
  char *buffer = saaStringText(result);
  if (buffer == NULL)
    return;
  size_t length = strlen(text);
  if (length > FtpResultCapacity)
    length = FtpResultCapacity;
  memcpy(buffer, text, length);
  saaSetStringLengthAs(saaLayout, result, length);
}

/* ---- The variable pool ---- */

/* A return flag no pool writes: every flag bit set. */
#define SAA_PROBE_SENTINEL 0xFF
/* A request code no pool knows. */
#define SAA_NO_REQUEST 0xFF

template <typename Length>
static void saaFillSet(SaaShvBlockAs<Length> *block, const char *name, size_t nameLength, const char *value,
                       size_t valueLength)
{
  memset(block, 0, sizeof *block);
  block->shvnext = NULL;
  block->shvname.strptr = const_cast<char *>(name);
  block->shvname.strlength = static_cast<Length>(nameLength);
  block->shvvalue.strptr = const_cast<char *>(value);
  block->shvvalue.strlength = static_cast<Length>(valueLength);
  block->shvcode = RXSHV_SYSET;
}

/* The probe: filled as the size_t layout (its 8-byte lengths carry the
 * 32-bit layout's lengths in their low 4 bytes), then the 32-bit layout's
 * code and sentinel at their offsets, inside the size_t layout's
 * shvvaluelen. The pool writes its return flag where its layout has it. */
static SaaLayout saaProbe(SaaPoolFunction *pool, const char *name, size_t nameLength, const char *value,
                          size_t valueLength)
{
  SaaSizeBlock block;
  saaFillSet(&block, name, nameLength, value, valueLength);
  block.shvret = SAA_PROBE_SENTINEL;
  unsigned char *bytes = reinterpret_cast<unsigned char *>(&block);
  bytes[offsetof(SaaUlongBlock, shvcode)] = RXSHV_SYSET;
  bytes[offsetof(SaaUlongBlock, shvret)] = SAA_PROBE_SENTINEL;
  pool(&block);
  if (bytes[offsetof(SaaSizeBlock, shvret)] != SAA_PROBE_SENTINEL)
    return SAA_LAYOUT_SIZE_T;
  if (bytes[offsetof(SaaUlongBlock, shvret)] != SAA_PROBE_SENTINEL)
    return SAA_LAYOUT_ULONG;
  return SAA_LAYOUT_UNDECIDED;
}

SaaLayout saaSetVariableAs(SaaLayout layout, SaaPoolFunction *pool, const char *name, size_t nameLength,
                           const char *value, size_t valueLength)
{
  if (layout == SAA_LAYOUT_UNDECIDED)
    return saaProbe(pool, name, nameLength, value, valueLength);
  if (layout == SAA_LAYOUT_SIZE_T) {
    SaaSizeBlock block;
    saaFillSet(&block, name, nameLength, value, valueLength);
    pool(&block);
  } else {
    /* In room for the size_t layout's block, whose code would lie past the
     * 32-bit block's end and read as no request: a pool of that layout
     * would refuse the request and write its flag within the room. */
    alignas(SaaSizeBlock) unsigned char room[sizeof(SaaSizeBlock)];
    memset(room, SAA_NO_REQUEST, sizeof room);
    SaaUlongBlock *block = new (room) SaaUlongBlock;
    saaFillSet(block, name, nameLength, value, valueLength);
    pool(block);
  }
  return layout;
}

void FtpSetVariable(const char *name, const char *suffix, const char *value)
{
  if (name == NULL)
    return;
  if (value == NULL)
    value = "";
  size_t nameLength = strlen(name);
  size_t suffixLength = suffix ? strlen(suffix) : 0;
  char *joined = static_cast<char *>(malloc(nameLength + suffixLength + 1));
  if (joined == NULL)
    return;
  memcpy(joined, name, nameLength);
  if (suffixLength)
    memcpy(joined + nameLength, suffix, suffixLength);
  joined[nameLength + suffixLength] = '\0';

  char *start = joined;
  while (*start == ' ')
    start++;
  size_t length = strlen(start);
  while (length > 0 && start[length - 1] == ' ')
    start[--length] = '\0';

  /* RXSHV_SYSET: the name is a symbol, so the interpreter upper-cases it and
   * substitutes the tail of a compound name (LIST.3). Failures of the pool
   * are not the caller's concern. */
  saaLayout = saaSetVariableAs(saaLayout, saaVariablePool, start, length, value, strlen(value));
  free(joined);
}

void FtpSetStemElement(const char *stem, long number, const char *value)
{
  char suffix[24];
  snprintf(suffix, sizeof suffix, "%ld", number);
  FtpSetVariable(stem, suffix, value);
}

void FtpSetStemCount(const char *stem, long count)
{
  char number[24];
  snprintf(number, sizeof number, "%ld", count);
  FtpSetVariable(stem, "0", number);
}

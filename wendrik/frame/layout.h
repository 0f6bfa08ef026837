/* The layouts of the interpreter's strings (RXSTRING) and variable-pool blocks
 * (SHVBLOCK), implemented in variables.cpp. The package's own calls
 * (FtpSetVariable, FtpBeginResult, FtpSetResult, FtpReadArgs) use these forms
 * with the layout in force; the unit tests drive them with a layout of their
 * choosing and with fake pools. */
#ifndef WENDRIK_FRAME_LAYOUT_H
#define WENDRIK_FRAME_LAYOUT_H

#include "frame.h"

enum SaaLayout {
  /* Not known yet: lengths are read as their low 32 bits and written as
   * their low 4 bytes, which is right in both layouts below 4 GiB. */
  SAA_LAYOUT_UNDECIDED,
  /* Lengths of 32 bits (Windows' unsigned long); on x64 padding follows the
   * string's length and may hold anything. */
  SAA_LAYOUT_ULONG,
  /* Lengths as wide as a pointer (size_t; Linux's unsigned long too). */
  SAA_LAYOUT_SIZE_T
};

/* A variable-pool service as the package calls it: saaVariablePool, or a
 * test's fake. */
typedef ULONG SaaPoolFunction(void *block);

/* The layout in force: fixed where only one exists (x86 Windows, Linux),
 * decided by the first answered pool request on x64 Windows. */
SaaLayout saaLayoutInForce(void);

/* One RXSHV_SYSET request through pool. A decided layout sends a block of
 * that layout. An undecided one sends the probe, a block that both layouts
 * read as the same request, each with its code and a sentinel return flag at
 * its own offsets; the layout whose flag the pool wrote is the answer, and
 * a pool that wrote neither leaves the layout undecided. */
SaaLayout saaSetVariableAs(SaaLayout layout, SaaPoolFunction *pool, const char *name, size_t nameLength,
                           const char *value, size_t valueLength);

/* A string's length and text; its length written with exactly the layout's
 * width, so the padding after a 32-bit length stays as it was. */
size_t saaStringLengthAs(SaaLayout layout, const RXSTRING *string);
char *saaStringText(const RXSTRING *string);
void saaSetStringLengthAs(SaaLayout layout, RXSTRING *string, size_t length);

/* argc strings of the interpreter's argument array as the package's own
 * arguments (the texts stay where they are). A null array: all omitted. */
void saaReadArgsAs(SaaLayout layout, ULONG argc, const RXSTRING *argv, FtpArg *args);

#endif

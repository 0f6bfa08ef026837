/* The one place that talks to the interpreter's variable pool. */
#include "frame.h"

#include <stdlib.h>
#include <string.h>

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
   * substitutes the tail of a compound name (LIST.3). */
  SHVBLOCK block;
  memset(&block, 0, sizeof block);
  block.shvnext = NULL;
  block.shvname.strptr = start;
  block.shvname.strlength = length;
  block.shvvalue.strptr = const_cast<char *>(value);
  block.shvvalue.strlength = strlen(value);
  block.shvcode = RXSHV_SYSET;
  saaVariablePool(&block);   /* failures of the pool are not the caller's concern */
  free(joined);
}

/* The FTP engine's status (status.h): the failure code and the blank test. */
#include "status.h"

#include <stddef.h>

int FtpErrnoCode = FTPERR_NONE;

int FtpTextBlank(const char *text)
{
  if (text == NULL)
    return 1;
  while (*text == ' ')
    text++;
  return *text == '\0';
}

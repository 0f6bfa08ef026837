/* POSIX body of warning_box.h: the warning as a line on standard error. */
#include "../warning_box.h"

#include <stdio.h>

void ftpWarningBox(const char *text)
{
  fprintf(stderr, "Wendrik Error: %s\n", text);
  fflush(stderr);
}

/* Win32 body of warning_box.h: the warning message box. */
#include "../warning_box.h"

#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

void ftpWarningBox(const char *text)
{
  /* Test-only: the test runs have nobody to click the box away, so they set
   * WENDRIK_TEST_WARNINGS_TO_STDERR and get the line the POSIX build writes. */
  const char *toStderr = getenv("WENDRIK_TEST_WARNINGS_TO_STDERR");
  if (toStderr != NULL && *toStderr != '\0') {
    fprintf(stderr, "Wendrik Error: %s\n", text);
    fflush(stderr);
    return;
  }
  MessageBoxA(NULL, text, "Wendrik Error", MB_OK | MB_ICONWARNING);
}

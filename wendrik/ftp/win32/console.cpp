/* Win32 body of console.h: the console without echo, and the runtime's
 * binary mode for the standard streams. */
#include "../console.h"

#include <windows.h>
#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

int ftpConsoleReadAccount(char *buffer, size_t size)
{
  /* A console, not merely a character device: NUL is one too. */
  DWORD consoleMode;
  if (!_isatty(_fileno(stdin)) || !GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &consoleMode))
    return -1;
  fputs("Account:", stdout);
  fflush(stdout);
  size_t length = 0;
  for (;;) {
    int c = _getch();
    if (c == '\r' || c == '\n' || c == EOF)
      break;
    if (c == '\b') {
      if (length > 0)
        length--;
    } else if (length + 1 < size) {
      buffer[length++] = static_cast<char>(c);
    }
  }
  buffer[length] = '\0';
  fputs("\n", stdout);
  fflush(stdout);
  return 0;
}

int ftpConsoleBinaryStream(FILE *stream)
{
  fflush(stream);
  return _setmode(_fileno(stream), _O_BINARY);
}

void ftpConsoleRestoreStream(FILE *stream, int mode)
{
  fflush(stream);
  if (mode != -1)
    _setmode(_fileno(stream), mode);
}

/* POSIX body of console.h: the terminal without echo; the standard streams
 * are byte streams already. */
#include "../console.h"

#include <stdio.h>
#include <termios.h>
#include <unistd.h>

int ftpConsoleReadAccount(char *buffer, size_t size)
{
  if (!isatty(STDIN_FILENO))
    return -1;
  /* Quiet before the prompt, so nothing typed after it shows; TCSANOW keeps
   * what was typed ahead. */
  struct termios saved, quiet;
  int restore = tcgetattr(STDIN_FILENO, &saved) == 0;
  if (restore) {
    quiet = saved;
    quiet.c_lflag &= static_cast<tcflag_t>(~(ECHO | ICANON));
    quiet.c_cc[VMIN] = 1;
    quiet.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
  }
  fputs("Account:", stdout);
  fflush(stdout);
  size_t length = 0;
  for (;;) {
    unsigned char c;
    if (read(STDIN_FILENO, &c, 1) != 1 || c == '\n' || c == '\r')
      break;
    if (c == '\b' || c == 0x7f) {
      if (length > 0)
        length--;
    } else if (length + 1 < size) {
      buffer[length++] = static_cast<char>(c);
    }
  }
  buffer[length] = '\0';
  if (restore)
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
  fputs("\n", stdout);
  fflush(stdout);
  return 0;
}

int ftpConsoleBinaryStream(FILE *)
{
  return 0;   /* no text mode here */
}

void ftpConsoleRestoreStream(FILE *, int)
{
}

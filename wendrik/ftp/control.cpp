/* The control connection: commands, replies, captured replies and the loss of
 * the connection. */
#include "engine.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "signals.h"

FtpContext FtpContexts[2] = {
  {0, FTP_NO_SOCKET, FTP_NO_SOCKET, FTP_TYPE_ASCII, {}, {}, 0, FTP_PORT_WITH_FALLBACK, -1},
  {0, FTP_NO_SOCKET, FTP_NO_SOCKET, FTP_TYPE_ASCII, {}, {}, 0, FTP_PORT_WITH_FALLBACK, -1},
};
FtpContext *FtpCurrentContext = &FtpContexts[0];
FtpReply FtpLastReply = {-1, ""};

long FtpLongWait(long milliseconds)
{
  /* Test-only: lets the test suite wait briefly for data that never comes.
   * Unset (as in every product use) the waits keep their full length. */
  static long shortened = -2;
  if (shortened == -2) {
    const char *text = getenv("WENDRIK_TEST_LONG_WAIT_MS");
    char *end = NULL;
    long value = text ? strtol(text, &end, 10) : -1;
    shortened = (text && *text && end && *end == '\0' && value > 0) ? value : -1;
  }
  return shortened > 0 && shortened < milliseconds ? shortened : milliseconds;
}

void FtpUseControl(FtpSocket s)
{
  FtpCurrentContext->control = s;
  ftpSignalCancelSocket(s);
}

/* The number s is closed: no cache entry may use it again, since the system
 * hands the number to the next socket it opens. The other context may hold
 * it too (the second login's new session evicted the primary's entry): that
 * context has lost its connection. */
static void FtpForgetSocket(FtpSocket s, const FtpContext *closing)
{
  for (int i = 0; i < FTP_SESSION_COUNT; i++)
    if (FtpSessionCache.entries[i].control == s)
      FtpSessionCache.entries[i].control = FTP_CLOSED_SOCKET;
  for (FtpContext &other : FtpContexts)
    if (&other != closing && other.control == s) {
      other.control = FTP_NO_SOCKET;
      other.connected = 0;
    }
}

void FtpSwitchContext(int which)
{
  int token = ftpSignalDeferInterrupts();
  FtpCurrentContext->session = FtpSessionCache.current;
  FtpCurrentContext = &FtpContexts[which];
  FtpSessionCache.current = FtpCurrentContext->session;
  ftpSignalCancelSocket(FtpCurrentContext->control);
  ftpSignalDeliverInterrupts(token);
}

int FtpSecondIsCurrent(void)
{
  return FtpCurrentContext == &FtpContexts[FTP_SECOND];
}

static void FtpCloseControlOf(FtpContext *context)
{
  if (context->control == FTP_NO_SOCKET)
    return;
  FtpChannelClose(context->control, 1);
  FtpForgetSocket(context->control, context);
  context->control = FTP_NO_SOCKET;
  if (context == FtpCurrentContext)
    ftpSignalCancelSocket(FTP_NO_SOCKET);
}

void FtpDropControl(void)
{
  FtpCloseControlOf(FtpCurrentContext);
}

void FtpCloseData(void)
{
  if (FtpCurrentContext->data != FTP_NO_SOCKET) {
    FtpChannelClose(FtpCurrentContext->data, 0);
    FtpCurrentContext->data = FTP_NO_SOCKET;
  }
}

void FtpSendAbort(FtpSocket control)
{
  static const unsigned char interrupt[2] = {TELNET_IAC, TELNET_IP};
  static const unsigned char mark[1] = {TELNET_IAC};
  static const char abortLine[7] = {static_cast<char>(TELNET_DM), 'A', 'B', 'O', 'R', '\r', '\n'};
  ftpNetSend(control, interrupt, sizeof interrupt, 0);
  if (ftpNetSend(control, mark, sizeof mark, 1) != 1) {
    fprintf(stderr, "abort: %s\n", ftpNetErrorText(ftpNetLastError()));
    fflush(stderr);
  }
  ftpNetSend(control, abortLine, sizeof abortLine, 0);
}

static int FtpLossOfCurrentOnly;

int FtpKeepOtherContext(int on)
{
  int before = FtpLossOfCurrentOnly;
  FtpLossOfCurrentOnly = on;
  return before;
}

static void FtpCloseDataOf(FtpContext *context)
{
  if (context->data != FTP_NO_SOCKET) {
    FtpChannelClose(context->data, 1);
    context->data = FTP_NO_SOCKET;
  }
}

void FtpLostConnection(void)
{
  if (FtpLossOfCurrentOnly) {
    FtpCloseControlOf(FtpCurrentContext);
    FtpCloseDataOf(FtpCurrentContext);
    FtpCurrentContext->connected = 0;
    return;
  }
  FtpContext *primary = &FtpContexts[0];
  FtpContext *second = &FtpContexts[1];
  if (primary->connected) {
    FtpCloseControlOf(primary);
    FtpCloseDataOf(primary);
    primary->connected = 0;
  }
  if (second->connected) {
    FtpCloseControlOf(second);
    second->connected = 0;
  }
  if (FtpCurrentContext != primary)
    FtpSwitchContext(FTP_PRIMARY);
  ftpSignalCancelSocket(primary->control);
}

/* Reads one reply from the current control socket, each wait for data within
 * waitMs and the whole reply within wholeMs: a silent server, or one that
 * trickles or never ends its line, loses the connection (code 421, class 4).
 * What has arrived is looked at first and only the bytes of this reply are
 * taken from the socket: a later reply stays there for the next read, as if
 * the reply had been read one byte at a time. */
static int FtpReadReply(FtpReplyParser *parser, int expectEnd, long waitMs, long wholeMs)
{
  unsigned char chunk[512];
  unsigned long start = ftpNetTicks();
  for (;;) {
    FtpSocket s = FtpCurrentContext->control;
    if (s == FTP_NO_SOCKET) {
      FtpLastReply.code = 421;
      return 4;
    }
    long left = wholeMs - static_cast<long>(ftpNetTicks() - start);
    long wait = left < waitMs ? left : waitMs;
    if (wait <= 0 || FtpChannelWaitReadable(s, FTP_NO_SOCKET, wait) <= 0) {
      FtpLostConnection();
      FtpLastReply.code = 421;
      return 4;
    }
    long available = FtpChannelPeek(s, chunk, sizeof chunk);
    if (available <= 0) {
      if (expectEnd) {
        FtpLastReply.code = 221;
        return 0;
      }
      FtpLostConnection();
      FtpLastReply.code = 421;
      return 4;
    }
    long used = 0;
    int fed = FTP_FEED_MORE;
    while (used < available && fed == FTP_FEED_MORE) {
      fed = FtpReplyFeed(parser, chunk[used++]);
      if (parser->answerLength)
        FtpChannelSend(s, parser->answer, static_cast<size_t>(parser->answerLength));
      if (parser->echoLength)
        fwrite(parser->echo, 1, static_cast<size_t>(parser->echoLength), stdout);
      if (parser->flush)
        fflush(stdout);
    }
    FtpChannelReceive(s, chunk, static_cast<size_t>(used));
    if (fed == FTP_FEED_HOSTILE) {
      FtpLostConnection();
      FtpLastReply.code = 421;
      return 4;
    }
    if (fed == FTP_FEED_DONE)
      break;
  }
  FtpLastReply.code = parser->code;
  if (parser->pasvState >= 2) {
    memcpy(FtpLastReply.pasvText, parser->pasvText, parser->pasvLength);
    FtpLastReply.pasvText[parser->pasvLength] = '\0';
  }
  if (parser->first != '1')
    FtpCurrentContext->commandPending = 0;
  if (parser->code == 421 || parser->openingCode == 421)
    FtpLostConnection();
  return FtpReplyClass(parser);
}

int FtpReplyReader(int expectEnd)
{
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_READ, NULL, 0, 0);
  /* The answer to QUIT (log-off, eviction) is not worth a long wait. */
  if (expectEnd) {
    long wait = FtpLongWait(FTP_ABORT_WAIT_MS);
    return FtpReadReply(&parser, expectEnd, wait, wait);
  }
  long wait = FtpLongWait(FTP_DATA_WAIT_MS);
  return FtpReadReply(&parser, expectEnd, wait, wait * FTP_REPLY_WAITS);
}

static int FtpNoControl(void)
{
  fprintf(stderr, "No control connection for command: %s\n", ftpNetErrorText(ftpNetLastError()));
  fflush(stderr);
  FtpLastReply.code = -1;
  return 0;
}

/* Sends a prepared line (CR LF included) and marks its reply pending. */
static void FtpSendLine(const char *line, size_t length)
{
  FtpChannelSend(FtpCurrentContext->control, line, length);
  FtpCurrentContext->commandPending = 1;
}

int FtpCommand(const char *format, ...)
{
  if (FtpCurrentContext->control == FTP_NO_SOCKET)
    return FtpNoControl();
  char line[FTP_COMMAND_SIZE];
  va_list args;
  va_start(args, format);
  int length = vsnprintf(line, sizeof line - 2, format, args);
  va_end(args);
  if (length < 0 || static_cast<size_t>(length) >= sizeof line - 2) {
    /* Cutting the line would send another command than the caller's (DELE of
     * a shorter name); refuse it as a server would. */
    FtpLastReply.code = 500;
    return 5;
  }
  int token = ftpSignalIgnoreInterrupt();
  memcpy(line + length, "\r\n", 2);
  FtpSendLine(line, static_cast<size_t>(length) + 2);
  int replyClass = FtpReplyReader(strcmp(format, "QUIT") == 0);
  ftpSignalRestoreInterrupt(token);
  return replyClass;
}

int FtpCaptureReply(const char *command, char *buffer, size_t size, int captureAll)
{
  if (buffer && size)
    buffer[0] = '\0';
  if (FtpCurrentContext->control == FTP_NO_SOCKET)
    return FtpNoControl();
  char line[FTP_CAPTURE_COMMAND_SIZE];
  size_t length = strlen(command);
  if (length > sizeof line - 2) {
    FtpLastReply.code = 500;
    return 5;
  }
  int token = ftpSignalIgnoreInterrupt();
  memcpy(line, command, length);
  memcpy(line + length, "\r\n", 2);
  FtpSendLine(line, length + 2);
  FtpReplyParser parser;
  FtpReplyBegin(&parser, FTP_REPLY_CAPTURE, buffer, size, captureAll);
  long wait = FtpLongWait(FTP_DATA_WAIT_MS);
  int replyClass = FtpReadReply(&parser, 0, wait, wait * FTP_REPLY_WAITS);
  ftpSignalRestoreInterrupt(token);
  return replyClass;
}

/* Data connections and transfers: transfer types, passive and active data
 * connections (PASV and PORT over IPv4, EPSV and EPRT over IPv6), upload,
 * download and abort. A download goes in three parts:
 * its start (the data connection, the command, the local file), the loop
 * that receives the data and says how that went, and its finish (the final
 * reply and the file put in place, or the failure). */
#include "engine.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include "console.h"
#include "local_files.h"
#include "signals.h"
#include "warning_box.h"

/* Shared by uploads, downloads and the abort drain. */
static char FtpTransferBuffer[FTP_TRANSFER_BUFFER_SIZE];

/* The letter of the TYPE command for a transfer type; null for any other. */
static const char *FtpTypeLetter(int type)
{
  if (type == FTP_TYPE_ASCII)
    return "A";
  if (type == FTP_TYPE_BINARY)
    return "I";
  return NULL;
}

int FtpSetType(int type)
{
  const char *letter = FtpTypeLetter(type);
  if (letter == NULL)
    return 0;
  FtpSession *session = FtpCurrentSession();
  if (session)
    session->type = type;
  int replyClass = FtpCommand("TYPE %s", letter);
  if (replyClass == 2)
    FtpCurrentContext->currentType = type;
  return replyClass;
}

void FtpEnsureType(int type)
{
  FtpSession *session = FtpCurrentSession();
  if (session == NULL || session->type == type)
    return;
  if (type == FTP_TYPE_ASCII || type == FTP_TYPE_BINARY)
    FtpSetType(type);
}

int FtpExtendedPassive(unsigned short *port)
{
  char reply[256];
  FtpCaptureReply("EPSV", reply, sizeof reply, 0);
  if (FtpLastReply.code != 229)
    return 1;
  return FtpParseEpsv(reply, port) == 0 ? 0 : -1;
}

int FtpExtendedPort(const FtpAddress *address)
{
  char text[FTP_ADDRESS_TEXT_SIZE];
  FtpAddressText(address, text, sizeof text);
  return FtpCommand("EPRT |2|%s|%u|", text, static_cast<unsigned>(address->port));
}

static int FtpPassive(FtpSession *session)
{
  /* The data connection goes to the server of the control connection, on
   * the port the reply gives: a 227 reply may name any host, a 229 names
   * none. */
  FtpAddress address = FtpCurrentContext->remote;
  if (address.family == FTP_IPV6) {
    int offered = FtpExtendedPassive(&address.port);
    if (offered > 0)
      return 1;   /* refused: active mode for this transfer */
    if (offered < 0) {
      ftpWarningBox("ftp: EPSV - invalid port data");
      return -1;
    }
  } else {
    char reply[256];
    FtpCaptureReply("PASV", reply, sizeof reply, 0);
    if (FtpLastReply.code != 227)
      return 1;   /* refused: active mode for this transfer */
    FtpAddress offered;
    if (FtpParsePasv(reply, &offered) != 0) {
      ftpWarningBox("ftp: PASV - invalid port data");
      return -1;
    }
    address.port = offered.port;
  }
  FtpSocket s = ftpNetSocket(address.family);
  if (s == FTP_NO_SOCKET) {
    ftpWarningBox("ftp: socket");
    return -1;
  }
  if (ftpNetConnect(s, &address) != 0) {
    ftpWarningBox("ftp: connect");
    ftpNetClose(s);
    return -1;
  }
  FtpCurrentContext->data = s;
  session->dataConnected = 1;
  return 0;
}

static int FtpActive(FtpSession *session)
{
  session->dataConnected = 0;
  int fallingBack = 0;
  for (;;) {
    int mode = FtpCurrentContext->sendPortMode;
    FtpAddress address = FtpCurrentContext->local;
    if (mode != FTP_PORT_DEFAULT)
      address.port = 0;
    FtpSocket s = ftpNetSocket(address.family);
    if (s == FTP_NO_SOCKET) {
      ftpWarningBox("ftp: socket");
      return -1;
    }
    if (mode == FTP_PORT_DEFAULT && ftpNetReuseAddress(s) != 0) {
      ftpWarningBox("ftp: setsockopt (resuse address)");
      ftpNetClose(s);
      return -1;
    }
    if (ftpNetBind(s, &address) != 0) {
      ftpWarningBox("ftp: bind");
      ftpNetClose(s);
      return -1;
    }
    if (ftpNetLocalAddress(s, &address) != 0) {
      ftpWarningBox("ftp: Rgetsockname");
      ftpNetClose(s);
      return -1;
    }
    if (ftpNetListen(s, 1) != 0)
      ftpWarningBox("ftp: Rlisten");
    FtpCurrentContext->data = s;
    if (mode == FTP_PORT_DEFAULT) {
      if (fallingBack)
        FtpCurrentContext->sendPortMode = FTP_PORT_NO_FALLBACK;
      return 0;
    }
    /* IPv4: PORT; IPv6: EPRT. A refusal falls back alike. */
    int replyClass = address.family == FTP_IPV6
                         ? FtpExtendedPort(&address)
                         : FtpCommand("PORT %d,%d,%d,%d,%d,%d", address.ip[0], address.ip[1], address.ip[2],
                                      address.ip[3], (address.port >> 8) & 0xff, address.port & 0xff);
    if (replyClass == 5 && mode == FTP_PORT_WITH_FALLBACK) {
      FtpCloseData();
      FtpCurrentContext->sendPortMode = FTP_PORT_DEFAULT;
      fallingBack = 1;
      continue;
    }
    if (replyClass == 2)
      return 0;
    FtpCloseData();
    return -1;
  }
}

int FtpOpenDataConnection(void)
{
  FtpCloseData();
  FtpSession *session = FtpCurrentSession();
  if (session == NULL)
    return -1;
  if (!session->activeMode) {
    int passive = FtpPassive(session);
    if (passive <= 0)
      return passive;
  }
  return FtpActive(session);
}

/* A protected session's data connection is a TLS client connection that
 * resumes the control connection's session; the server starts its side
 * after the 1xx reply. */
static int FtpProtectData(const FtpSession *session)
{
  if (session == NULL || !session->secure)
    return 0;
  if (FtpChannelProtect(FtpCurrentContext->data, NULL, FtpCurrentContext->control) == 0)
    return 0;
  FtpCloseData();
  return FTP_DATA_TLS_FAILED;
}

int FtpAcceptDataConnection(void)
{
  FtpSession *session = FtpCurrentSession();
  if (session && session->dataConnected)
    return FtpProtectData(session);
  FtpSocket listener = FtpCurrentContext->data;
  FtpCurrentContext->data = FTP_NO_SOCKET;
  if (listener == FTP_NO_SOCKET)
    return -1;
  if (ftpNetWaitReadable(listener, FTP_NO_SOCKET, FtpLongWait(FTP_DATA_WAIT_MS)) > 0) {
    FtpSocket s = ftpNetAccept(listener);
    if (s == FTP_NO_SOCKET)
      ftpWarningBox("ftp: Raccept");
    FtpCurrentContext->data = s;
  }
  ftpNetClose(listener);
  return FtpCurrentContext->data == FTP_NO_SOCKET ? -1 : FtpProtectData(session);
}

static int FtpSendAll(FtpSocket s, const char *bytes, size_t length)
{
  while (length > 0) {
    long sent = FtpChannelSendWithin(s, bytes, length, FtpLongWait(FTP_DATA_WAIT_MS));
    if (sent <= 0)
      return -1;
    bytes += sent;
    length -= static_cast<size_t>(sent);
  }
  return 0;
}

/* 0 when the file went out whole, -1 when the transfer did not start
 * (nothing more to read), 1 when it started but the file did not go out
 * whole: a local read failure (FtpErrnoCode 7) or a data connection that
 * failed or took nothing within the wait (6). */
static int FtpUploadLoop(const char *command, FILE *file, const char *remote)
{
  if (FtpOpenDataConnection() != 0) {
    FtpErrnoCode = FTPERR_DATACONN;
    return -1;
  }
  if (FtpCommand("%s %s", command, remote) != 1) {
    FtpCloseData();
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  int accepted = FtpAcceptDataConnection();
  if (accepted != 0) {
    if (!FtpCurrentContext->commandPending) {
      FtpErrnoCode = FTPERR_COMMAND;
      return -1;
    }
    FtpCloseData();
    FtpReplyReader(0);
    FtpErrnoCode = accepted == FTP_DATA_TLS_FAILED ? FTPERR_TLS : FTPERR_DATACONN;
    return -1;
  }
  /* The file's bytes go out as they are; in ASCII a piece that ends in
   * Ctrl-Z goes without it. */
  int ascii = FtpCurrentContext->currentType == FTP_TYPE_ASCII;
  for (;;) {
    size_t got = fread(FtpTransferBuffer, 1, FTP_TRANSFER_PIECE, file);
    if (got == 0) {
      if (ferror(file)) {
        FtpErrnoCode = FTPERR_LOCALFILE;
        return 1;
      }
      break;
    }
    if (ascii && FtpTransferBuffer[got - 1] == 0x1A)
      got--;
    if (got > 0 && FtpSendAll(FtpCurrentContext->data, FtpTransferBuffer, got) != 0) {
      FtpErrnoCode = FTPERR_ABORT;
      return 1;
    }
  }
  return 0;
}

int FtpUpload(const char *command, const char *local, const char *remote)
{
  /* Called on the second side of FtpProxy: the servers move the file. */
  if (FtpSecondIsCurrent())
    return FtpServerToServer(local, remote);
  int token = ftpSignalIgnoreInterrupt();
  FILE *file;
  int standardInput = strcmp(local, "-") == 0;
  int streamMode = 0;
  if (standardInput) {
    file = stdin;
    streamMode = ftpConsoleBinaryStream(stdin);
  } else {
    file = fopen(local, "rb");
    if (file == NULL) {
      fprintf(stderr, "%s: %s\n", local, strerror(errno));
      fflush(stderr);
      FtpErrnoCode = FTPERR_LOCALFILE;
      ftpSignalRestoreInterrupt(token);
      return -1;
    }
    if (!ftpLocalRegularFile(file)) {
      printf("%s: not a plain file.\n", local);
      fflush(stdout);
      fclose(file);
      FtpErrnoCode = FTPERR_LOCALFILE;
      ftpSignalRestoreInterrupt(token);
      return -1;
    }
  }
  int loop = FtpUploadLoop(command, file, remote);
  if (standardInput)
    ftpConsoleRestoreStream(stdin, streamMode);
  else
    fclose(file);
  int result = loop == 0 ? 0 : -1;
  if (loop >= 0) {
    /* The final reply is read in any case, so the next command gets its own;
     * but a file that did not go out whole is a failure whatever it says,
     * and over TLS the server is told so: no orderly end. */
    if (loop == 0)
      FtpChannelFinish(FtpCurrentContext->data);
    else
      FtpChannelAbandon(FtpCurrentContext->data);
    FtpCloseData();
    int replyClass = FtpReplyReader(0);
    if (loop == 0 && (replyClass == 4 || replyClass == 5)) {
      FtpErrnoCode = FTPERR_COMMAND;
      result = -1;
    }
  }
  ftpSignalRestoreInterrupt(token);
  return result;
}

/* Stops a download that went wrong: the Telnet abort, drain the data
 * connection, read what the server answers. */
static int FtpAbortPlain(void)
{
  FtpSocket control = FtpCurrentContext->control;
  FtpSendAbort(control);
  long wait = FtpLongWait(FTP_ABORT_WAIT_MS);
  if (ftpNetWaitReadable(control, FtpCurrentContext->data, wait) <= 0)
    return -1;
  /* What is still on its way on the data connection, within the same wait
   * as a whole: a server that does not stop sending loses the connection. */
  unsigned long start = ftpNetTicks();
  while (FtpCurrentContext->data != FTP_NO_SOCKET) {
    long left = wait - static_cast<long>(ftpNetTicks() - start);
    if (left <= 0 || ftpNetWaitReadable(FtpCurrentContext->data, FTP_NO_SOCKET, left) <= 0)
      return -1;
    if (ftpNetReceive(FtpCurrentContext->data, FtpTransferBuffer, sizeof FtpTransferBuffer) <= 0)
      break;
  }
  return 0;
}

/* The same under TLS: urgent data cannot pass through it, so ABOR goes as a
 * protected command line, and the data connection is closed, not drained
 * (the server's sending then fails and it answers). */
static int FtpAbortProtected(void)
{
  FtpSocket control = FtpCurrentContext->control;
  FtpChannelSend(control, "ABOR\r\n", 6);
  FtpCloseData();
  return FtpChannelWaitReadable(control, FTP_NO_SOCKET, FtpLongWait(FTP_ABORT_WAIT_MS)) > 0 ? 0 : -1;
}

static void FtpAbortDownload(void)
{
  int sent = FtpChannelProtected(FtpCurrentContext->control) ? FtpAbortProtected() : FtpAbortPlain();
  if (sent != 0) {
    FtpLastReply.code = -1;
    FtpLostConnection();
    return;
  }
  int replyClass = FtpReplyReader(0);
  if (FtpCurrentContext->control == FTP_NO_SOCKET)
    return;
  if (replyClass == 5 && FtpLastReply.code == 552) {
    FtpCloseData();
    FtpReplyReader(0);
  }
  if (FtpCurrentContext->control != FTP_NO_SOCKET &&
      FtpChannelWaitReadable(FtpCurrentContext->control, FTP_NO_SOCKET, FTP_ABORT_TAIL_MS) > 0)
    FtpReplyReader(0);
}

/* Type restored after a listing switched to ASCII; 0: none remembered. */
static void FtpRestoreType(int remembered)
{
  if (remembered && FtpCurrentContext->control != FTP_NO_SOCKET)
    FtpSetType(remembered);
}

/* A download in progress: where it goes, and what its end puts back. */
struct FtpDownloadState {
  const char *local;
  int isRetrieve;          /* RETR; else a listing into its temporary file */
  int standardOutput;      /* local is "-" */
  int remembered;          /* the type a listing's TYPE A replaced; 0: none */
  FILE *file;              /* null until the data connection is there */
  int streamMode;          /* of standard output, to restore */
  /* A file is received into a new file beside it (part), put in its place
   * (place) only when the transfer succeeded: a failed one leaves the old
   * file whole. */
  char part[FTP_PATH_SIZE];
  char place[FTP_PATH_SIZE];
};

/* A download that went wrong once its command was accepted: the abort while
 * the transfer is on, with failure as the code (FTPERR_COMMAND when it is
 * over), then the data connection closed and the type restored. */
static void FtpDownloadStop(const FtpDownloadState *download, int failure)
{
  if (!FtpCurrentContext->commandPending) {
    FtpErrnoCode = FTPERR_COMMAND;
  } else {
    FtpAbortDownload();
    FtpErrnoCode = failure;
  }
  FtpCloseData();
  FtpRestoreType(download->remembered);
}

/* The target checked, the data connection, the command and its 1xx reply,
 * the connection accepted and the local file opened: 0, or -1 with
 * FtpErrnoCode when the download went no further. */
static int FtpDownloadStart(FtpDownloadState *download, const char *command, const char *remote)
{
  if (!download->standardOutput && ftpLocalPrepareTarget(download->local) != 0) {
    FtpErrnoCode = FTPERR_LOCALFILE;
    return -1;
  }
  if (FtpOpenDataConnection() != 0) {
    FtpErrnoCode = FTPERR_DATACONN;
    return -1;
  }
  if (!download->isRetrieve && FtpCurrentContext->currentType != FTP_TYPE_ASCII) {
    download->remembered = FtpCurrentContext->currentType;
    FtpSetType(FTP_TYPE_ASCII);
  }
  int replyClass = FtpTextBlank(remote) ? FtpCommand("%s", command) : FtpCommand("%s %s", command, remote);
  if (replyClass != 1) {
    FtpCloseData();
    FtpRestoreType(download->remembered);
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  int accepted = FtpAcceptDataConnection();
  if (accepted != 0) {
    FtpDownloadStop(download, accepted == FTP_DATA_TLS_FAILED ? FTPERR_TLS : FTPERR_ABORT);
    return -1;
  }
  if (download->standardOutput) {
    download->file = stdout;
    download->streamMode = ftpConsoleBinaryStream(stdout);
    return 0;
  }
  /* A listing's own temporary file is written directly. */
  download->file = download->isRetrieve ? ftpLocalOpenDownload(download->local, download->part, download->place,
                                                                 sizeof download->part)
                                        : fopen(download->local, "wb");
  if (download->file == NULL) {
    FtpDownloadStop(download, FTPERR_LOCALFILE);
    return -1;
  }
  return 0;
}

/* How the data of a download came. */
enum FtpReceiveOutcome {
  FTP_RECEIVED_WHOLE,      /* up to its end, written and the file closed */
  FTP_RECEIVE_TIMED_OUT,   /* nothing came within a wait */
  FTP_RECEIVE_BROKEN,      /* the data connection failed */
  FTP_RECEIVE_UNWRITTEN    /* the local file took not all of it */
};

static FtpReceiveOutcome FtpDownloadReceive(FtpDownloadState *download)
{
  for (;;) {
    /* Each wait for data is bounded, the first as every later one. */
    long got = FtpChannelReceiveWithin(FtpCurrentContext->data, FtpTransferBuffer, FTP_TRANSFER_PIECE,
                                       FtpLongWait(FTP_DATA_WAIT_MS));
    if (got == FTP_NET_TIMED_OUT)
      return FTP_RECEIVE_TIMED_OUT;
    if (got == 0)
      break;
    if (got < 0)
      return FTP_RECEIVE_BROKEN;
    if (fwrite(FtpTransferBuffer, 1, static_cast<size_t>(got), download->file) != static_cast<size_t>(got))
      return FTP_RECEIVE_UNWRITTEN;
  }
  if (download->standardOutput) {
    fflush(stdout);
    return FTP_RECEIVED_WHOLE;
  }
  int closed = fclose(download->file);
  download->file = NULL;
  return closed == 0 ? FTP_RECEIVED_WHOLE : FTP_RECEIVE_UNWRITTEN;
}

/* The end of a download as its data came: the final reply, and the new file
 * put in place, or the failure. 0, or -1 with FtpErrnoCode. */
static int FtpDownloadFinish(FtpDownloadState *download, FtpReceiveOutcome outcome)
{
  if (outcome == FTP_RECEIVE_UNWRITTEN) {
    printf("local disk full. aborted\n");
    fflush(stdout);
    FtpDownloadStop(download, FTPERR_ABORT);
    return -1;
  }
  if (outcome == FTP_RECEIVE_TIMED_OUT) {
    FtpErrnoCode = download->standardOutput ? FTPERR_COMMAND : FTPERR_ABORT;
    FtpCloseData();
    /* No ABOR; but the transfer's own reply is still to come, and the next
     * command would read it as its own: start that one on a new connection. */
    if (FtpCurrentContext->commandPending)
      FtpLostConnection();
    FtpRestoreType(download->remembered);
    return -1;
  }
  if (outcome == FTP_RECEIVE_BROKEN) {
    /* What came is not the whole, whatever the final reply says. */
    FtpErrnoCode = FTPERR_ABORT;
    FtpCloseData();
    if (FtpCurrentContext->commandPending)
      FtpReplyReader(0);
    FtpRestoreType(download->remembered);
    return -1;
  }
  FtpCloseData();
  /* A 4xx or 5xx after the data means the file did not come whole. */
  int replyClass = FtpReplyReader(0);
  FtpRestoreType(download->remembered);
  if (replyClass == 4 || replyClass == 5) {
    FtpErrnoCode = FTPERR_COMMAND;
    return -1;
  }
  if (download->part[0]) {
    if (ftpLocalPlaceDownload(download->part, download->place) != 0) {
      FtpErrnoCode = FTPERR_LOCALFILE;
      return -1;
    }
    download->part[0] = '\0';
  }
  return 0;
}

int FtpDownload(const char *command, const char *local, const char *remote)
{
  FtpDownloadState download;
  download.local = local;
  download.isRetrieve = strcmp(command, "RETR") == 0;
  download.standardOutput = strcmp(local, "-") == 0;
  download.remembered = 0;
  download.file = NULL;
  download.streamMode = 0;
  download.part[0] = '\0';
  download.place[0] = '\0';
  /* A longer name would be cut to another file's name: refused instead. */
  if (download.isRetrieve && strlen(local) > FTP_LOCAL_NAME_MAX) {
    FtpErrnoCode = FTPERR_LOCALFILE;
    return -1;
  }
  int token = ftpSignalIgnoreInterrupt();
  int result = -1;
  if (FtpDownloadStart(&download, command, remote) == 0)
    result = FtpDownloadFinish(&download, FtpDownloadReceive(&download));
  if (download.file != NULL && !download.standardOutput)
    fclose(download.file);
  if (download.file != NULL && download.standardOutput)
    ftpConsoleRestoreStream(stdout, download.streamMode);
  if (download.part[0])
    remove(download.part);
  ftpSignalRestoreInterrupt(token);
  return result;
}

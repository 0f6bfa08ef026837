/* The FTP client engine: the session cache, the control connection and its
 * replies, the data connection and the transfers.
 *
 * Calls come one at a time. Engine functions answer 0 or -1 and leave the
 * failure in FtpErrnoCode (status.h); reply functions answer the reply class
 * (the first digit of the reply, 0 without a control connection) and leave
 * the code in FtpLastReply.
 *
 * Connection contexts: the engine has two, the primary and the second (for a
 * server-to-server transfer); FtpCurrentContext points at the current one
 * and every command, reply and transfer works on it. Session cache entries
 * hold the control sockets; the current context borrows the socket of the
 * entry that FtpOpenSession made current.
 *
 * State is process-wide, in these objects; each has one file that owns it,
 * and the others keep to its rule:
 *   FtpSessionCache     session.cpp: the entries, the next one to fill, the
 *                       current one, the entry the next open leaves alone,
 *                       the TLS setting. control.cpp marks the entries of a
 *                       control socket it closed and swaps the current entry
 *                       with the context; proxy.cpp makes current the entry
 *                       of a context's control socket, sets the entry to
 *                       leave alone and reads the TLS setting.
 *   FtpContexts,        control.cpp: the two contexts and the current one;
 *   FtpCurrentContext   only FtpSwitchContext changes which is current. The
 *                       rest of the engine works on the current context's
 *                       sockets, types and pending flag; session.cpp alone
 *                       also sets up the primary at start-up and clears the
 *                       second at log-off.
 *   FtpLastReply        control.cpp: written by the reply reader and the
 *                       command senders; read by all. A caller clears a
 *                       part only to tell no reply from an old one: the 227
 *                       text before a server-to-server transfer's PASV, the
 *                       code after an abort that got no answer.
 *   FtpErrnoCode        status.h: set by the function that fails.
 * What one file alone uses (the start-up, the protected connections, the
 * transfer buffer) is static in that file.
 *
 * Bytes of a connection go through one of two interfaces:
 *   FtpChannel... (channel.cpp) for every control connection and every data
 *                 connection once it is connected or accepted: either may
 *                 be under TLS, and these go through it when it is.
 *   ftpNet... (net.h) for what TLS never covers: making, binding, listening
 *                 on, accepting and closing sockets and their addresses, the
 *                 wait for an active data connection, a connection before
 *                 its TLS starts, and the connections known to be plain: the
 *                 Telnet abort of a plain session and its drain (a
 *                 protected one aborts with a protected ABOR line) and
 *                 FtpProxy's connections (refused while TLS is on). */
#ifndef WENDRIK_FTP_ENGINE_H
#define WENDRIK_FTP_ENGINE_H

#include <stddef.h>

#include "net.h"
#include "parse.h"
#include "status.h"

#define FTP_SESSION_COUNT 256
#define FTP_COMMAND_SIZE  300      /* a command line with its CR LF */
#define FTP_CAPTURE_COMMAND_SIZE 512
#define FTP_DIRECTORY_SIZE 260     /* PWD capture after login, CWD and reconnect */
#define FTP_HOST_TEXT_SIZE 256
#define FTP_ACCOUNT_PROMPT_SIZE 51 /* at most 50 characters typed */
#define FTP_TRANSFER_BUFFER_SIZE 32768
#define FTP_TRANSFER_PIECE 16384
#define FTP_LOCAL_NAME_MAX 260

/* Every wait for a peer has a bound, long enough for slow links; a wait that
 * runs out drops the connection it was on, so the next call starts clean.
 * WENDRIK_TEST_LONG_WAIT_MS shortens them (and the pause of a server-to-server
 * transfer) for tests. */
#define FTP_DATA_WAIT_MS  60000L   /* accept; each wait for data to come or to go
                                      out on a data connection; each wait
                                      within a reply */
#define FTP_REPLY_WAITS   5        /* a whole reply within five such waits */
#define FTP_ABORT_WAIT_MS 10000L   /* the answer to ABOR; the drain of an
                                      aborted download; the answer to QUIT */
#define FTP_ABORT_TAIL_MS 1000L    /* a last reply after an abort */
#define FTP_PROXY_WAIT_MS 14400000L /* each final reply of a server-to-server
                                      transfer (4 hours: it comes when the
                                      whole file has gone between the servers) */
#define FTP_PATH_SIZE 4096         /* a download's own file and where it goes */

/* A session entry's control socket: an open socket, FTP_NO_SOCKET when the
 * entry was never connected, or FTP_CLOSED_SOCKET after the engine closed it
 * (the number may already belong to another connection). */
#define FTP_CLOSED_SOCKET (-2)

/* Send-port modes of active data connections. */
#define FTP_PORT_WITH_FALLBACK (-1)  /* send PORT; fall back once when refused */
#define FTP_PORT_NO_FALLBACK    1
#define FTP_PORT_DEFAULT        0    /* no PORT: the default data port */

struct FtpSession {
  char *host;              /* as the login gave it, port suffix included */
  char *user;
  char *password;
  char *account;           /* null: none */
  char *directory;         /* working directory; empty when unknown */
  FtpSocket control;
  int type;                /* last TYPE requested: FTP_TYPE_ASCII or FTP_TYPE_BINARY */
  FtpAddress *local;       /* control connection addresses, allocated on first use */
  FtpAddress *remote;
  int activeMode;
  int dataConnected;       /* a passive data connection is connected */
  int secure;              /* opened with TLS (FtpSetSecure): a session of its own */
};

struct FtpSessionTable {
  FtpSession entries[FTP_SESSION_COUNT];
  unsigned char next;      /* next entry to fill; wraps from 255 to 0 */
  int current;             /* -1 before the first session */
  /* When not -1, the next FtpOpenSession does not take this entry even if
   * it matches (and clears it): the second side of a server-to-server
   * transfer between identical logins gets a connection of its own. */
  int avoid;
  /* FtpSetSecure: 1 when sessions opened from then on use TLS (explicit
   * FTPS); 0, the default, for plain FTP. */
  int secure;
  /* A call with flag 1 failed: no session opens until one succeeds. */
  int secureUnusable;
};

struct FtpContext {
  int connected;
  FtpSocket control;
  FtpSocket data;
  int currentType;         /* type of the last TYPE the server accepted */
  FtpAddress local;        /* of the control connection */
  FtpAddress remote;
  int commandPending;      /* a command was sent and its final reply not read */
  int sendPortMode;
  int session;             /* the cache entry this context works with; -1 none */
};

/* The last reply read, whichever context it came on. */
struct FtpReply {
  int code;                            /* -1: none */
  char pasvText[FTP_PASV_TEXT_SIZE];   /* address text of the last 227 reply */
};

extern FtpSessionTable FtpSessionCache;
extern FtpContext FtpContexts[2];      /* primary, second */
extern FtpContext *FtpCurrentContext;  /* the current one */
#define FTP_PRIMARY 0
#define FTP_SECOND  1
extern FtpReply FtpLastReply;

/* --- start-up, sessions (session.cpp) --- */

/* A login as the caller gives it to the engine; the texts stay the caller's. */
struct FtpLoginTexts {
  const char *host;        /* "host" or "host port" */
  const char *user;
  const char *password;
  const char *account;     /* null: none */
};

/* One-time start-up; each call until the "ftp"/"tcp" lookup succeeds repeats
 * the lookup. 0, or -1 with FtpErrnoCode 1. */
int FtpEngineStart(void);
/* The prelude of every engine function: start-up, the required texts (the
 * login's host, user, then count more, each present and not blank, else
 * FtpErrnoCode 9), then FtpOpenSession for the login. */
int FtpPrelude(const FtpLoginTexts *login, int count, const char *const *required);
/* Finds or opens the session of a login (account null: none) and makes it current. */
int FtpOpenSession(const char *host, const char *user, const char *password, const char *account);
/* The current session entry, or null. */
FtpSession *FtpCurrentSession(void);
/* Replaces the entry's remembered working directory (a copy is kept). */
void FtpSetSessionDirectory(FtpSession *session, const char *directory);
/* Closes every session with QUIT and frees the entries (FtpLogoff). */
void FtpCloseAllSessions(void);
/* Sets the TLS setting (FtpSessionCache.secure), with the trust anchors of trustFile (null: none) added to the
 * system's roots. 0, or -1 with FtpErrnoCode (the file unreadable: 7; no
 * certificate in it: FTPERR_TLS) and, with on, FtpSecureSessionsFailed. */
int FtpSetSecureSessions(int on, const char *trustFile);
/* A call with flag 1 failed: TLS stays required, and every session fails
 * with FTPERR_TLS (and a line "ftp: TLS: ...") until FtpSetSecureSessions
 * succeeds, so that nothing goes in clear to a program ignoring the failure. */
void FtpSecureSessionsFailed(void);

/* --- control connection (control.cpp) --- */

/* Sends one command line (printf format) and reads its reply. A line that
 * would not fit in FTP_COMMAND_SIZE is not sent: class 5, code 500. */
int FtpCommand(const char *format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;
/* Reads one complete reply; expectEnd: the connection closing is the answer
 * (QUIT). Each wait within FTP_DATA_WAIT_MS and the whole reply within
 * FTP_REPLY_WAITS of them (an answer to QUIT: FTP_ABORT_WAIT_MS in all); a
 * reply that does not come so is a lost connection (code 421, class 4). */
int FtpReplyReader(int expectEnd);
/* Sends a command and reads its reply within the bounds of FtpReplyReader, copying
 * the text of 2xx lines (all lines with captureAll) into buffer, at most
 * size - 2 characters. */
int FtpCaptureReply(const char *command, char *buffer, size_t size, int captureAll);
/* Closes the control and data sockets of both contexts; the primary becomes
 * current. While FtpKeepOtherContext is on, only the current context's. */
void FtpLostConnection(void);
/* On (1) while a session is opened: a connection lost there (a cached one the
 * server dropped) is that context's alone, and the other context, which may
 * hold a live connection of another login, stays as it is and stays other.
 * The answer is the setting before, to restore. */
int FtpKeepOtherContext(int on);
/* Makes FTP_PRIMARY or FTP_SECOND the current context, each keeping its own
 * connection state and current cache entry; an interrupt that arrives during
 * the switch is delivered after it. */
void FtpSwitchContext(int which);
/* 1 while the second context is current: FtpUpload then runs the
 * server-to-server transfer. */
int FtpSecondIsCurrent(void);
/* Closes the current context's control socket (no QUIT) and marks every
 * cache entry that held it closed. */
void FtpDropControl(void);
/* Makes s the current context's control socket (the one a cancel closes). */
void FtpUseControl(FtpSocket s);
/* Closes the current context's data socket. */
void FtpCloseData(void);
/* Telnet's abort on a plain control connection: IP, then the IAC of DM as
 * urgent data (a server busy with a transfer sees what follows only so),
 * then DM and ABOR. A failed urgent send is written to standard error
 * ("abort: ..."); the replies are the caller's to read. */
void FtpSendAbort(FtpSocket control);
/* The long waits, as the test-only setting may shorten them. */
long FtpLongWait(long milliseconds);

/* --- the bytes of a connection, plain or protected (channel.cpp) --- */

/* A connection that FtpChannelProtect put under TLS is read and written
 * through the TLS port; any other goes straight to the sockets port, as the
 * net.h call of the same name does. A protected one is waited on alone. */
long FtpChannelSend(FtpSocket s, const void *bytes, size_t length);
long FtpChannelSendWithin(FtpSocket s, const void *bytes, size_t length, long milliseconds);
long FtpChannelReceiveWithin(FtpSocket s, void *buffer, size_t size, long milliseconds);
long FtpChannelPeek(FtpSocket s, void *buffer, size_t size);
long FtpChannelReceive(FtpSocket s, void *buffer, size_t size);
int FtpChannelWaitReadable(FtpSocket a, FtpSocket b, long milliseconds);
/* The TLS client handshake on s, checked against host; a data connection
 * names its control connection in resumeFrom (the same server: its session
 * resumed, its host checked) and host null. 0, or -1 with the reason on
 * standard error ("ftp: TLS: ..."). */
int FtpChannelProtect(FtpSocket s, const char *host, FtpSocket resumeFrom);
int FtpChannelProtected(FtpSocket s);
/* The orderly end of a protected connection (its close notification, within
 * the data wait) before the socket is closed: an upload's last bytes. */
void FtpChannelFinish(FtpSocket s);
/* A failed upload's protected data connection: TLS ends without its close
 * notification, and closing the socket resets the connection, so that the
 * server can tell the end from that of a whole file. A plain one is left
 * as it is. */
void FtpChannelAbandon(FtpSocket s);
/* Ends TLS on s when it has it (without waiting), then shuts it down when
 * asked and closes it. */
void FtpChannelClose(FtpSocket s, int shutdownFirst);

/* --- data connection and transfers (data.cpp) --- */

/* TYPE for FTP_TYPE_ASCII or FTP_TYPE_BINARY: the reply class (0 for any
 * other type: nothing is sent). */
int FtpSetType(int type);
/* TYPE when the current session's recorded type differs (ASCII and BINARY only). */
void FtpEnsureType(int type);
/* Passive, by the control connection's family: PASV (IPv4) or EPSV (IPv6);
 * refused, or on request, active: PORT or EPRT. 0, or -1. */
int FtpOpenDataConnection(void);
/* EPSV (RFC 2428): 0 with the port of its 229 reply, 1 when the server
 * answers anything but 229, -1 when the 229 names no port. */
int FtpExtendedPassive(unsigned short *port);
/* "EPRT |2|address|port|" for an IPv6 address: the reply class. */
int FtpExtendedPort(const FtpAddress *address);
/* 0 with the data connection there, -1 when none came, FTP_DATA_TLS_FAILED
 * when its TLS handshake failed (a protected session; the socket is closed). */
#define FTP_DATA_TLS_FAILED (-2)
int FtpAcceptDataConnection(void);
/* Transfers; 0 or -1 with FtpErrnoCode. Upload: "STOR", "APPE" or "STOU" from
 * local ("-": standard input). Download: "RETR" or a listing command into
 * local ("-": standard output), created or replaced and written as bytes;
 * remote null or blank for none. */
int FtpUpload(const char *command, const char *local, const char *remote);
int FtpDownload(const char *command, const char *local, const char *remote);

/* --- what the engine does for a caller (commands.cpp) --- */

/* Each from the prelude (FtpPrelude) with login; 0, or -1 with FtpErrnoCode. */

/* "RETR" of remote into local ("-": standard output), or an upload ("STOR",
 * "APPE", "STOU") of local ("-": standard input) to remote, in type
 * (FTP_TYPE_ASCII or FTP_TYPE_BINARY). */
int FtpTransferFile(const FtpLoginTexts *login, const char *command, const char *local, const char *remote,
                    int type);
/* DELE; RNFR, then RNTO when the server asks for it. A reply from 400 fails with 9. */
int FtpDeleteFile(const FtpLoginTexts *login, const char *remote);
int FtpRenameFile(const FtpLoginTexts *login, const char *from, const char *to);
/* The session's data connections active (PORT) or passive (PASV). */
int FtpSetSessionActiveMode(const FtpLoginTexts *login, int on);

/* Receives the elements of a listing: number 1 to N in order, each line's
 * text (zero-terminated, at most FTP_LISTING_LINE characters). */
typedef void FtpListingLine(void *context, long number, const char *line);
/* "NLST" or "LIST" of pattern (null or empty: the command alone), downloaded
 * into a temporary file and read through once before line is called for
 * each element, so that a listing that cannot be read whole gives none.
 * 0 with *count the number of elements, or -1. The temporary file's name
 * goes to tempName (for the trace line; "" when none). */
int FtpListing(const FtpLoginTexts *login, const char *command, const char *pattern, FtpListingLine *line,
               void *context, long *count, char *tempName, size_t size);
/* CWD, then PWD to remember where the session is. */
int FtpChangeDirectory(const FtpLoginTexts *login, const char *directory);
/* One command line ("MKD %s" and so on) whose reply must be below 400. */
int FtpSimpleCommand(const FtpLoginTexts *login, const char *format, const char *argument);
/* PWD, SYST or a quoted command with its reply text captured into buffer;
 * captureAll: every line (the quote), else the 2xx lines. A quote's 5xx
 * reply fails with FtpErrnoCode 13, any other reply from 400 with 9. */
int FtpCaptureCommand(const FtpLoginTexts *login, const char *command, char *buffer, size_t size,
                      int captureAll);
#define FTP_CAPTURE_SIZE 199       /* FtpPwd, FtpSys, FtpQuote: at most 197 characters */

/* --- server-to-server transfer (proxy.cpp) --- */

/* Has the second server send source straight to the primary, stored there as
 * target, in type (FTP_TYPE_ASCII or FTP_TYPE_BINARY). 0 or -1 with FtpErrnoCode. */
int FtpProxyTransfer(const FtpLoginTexts *primary, const FtpLoginTexts *second, const char *target,
                     const char *source, int type);
/* The transfer itself, run by FtpUpload while the second context is current. */
int FtpServerToServer(const char *source, const char *target);

#endif

/* TLS client connections as the FTP engine needs them for explicit FTPS: one
 * body per platform (posix/tls.cpp on OpenSSL, win32/tls.cpp on the system's
 * Secure Channel). A connection runs over a socket of net.h that the engine
 * connected; the body reads and writes that socket itself, and every wait
 * is bounded by the milliseconds the engine gives. Failures come back as a
 * text for the user, written into the caller's buffer. */
#ifndef WENDRIK_FTP_TLS_H
#define WENDRIK_FTP_TLS_H

#include <stddef.h>

#include "net.h"

struct FtpTls;

/* The trust anchors added to the system's trusted roots: the certificates
 * of a PEM file, or none (file null). 0, or -1 with the reason in failure
 * (the anchors before stay). */
int ftpTlsTrust(const char *file, char *failure, size_t size);

/* Runs the client handshake on s, every wait within waitMs and the whole
 * within FTP_TLS_HANDSHAKE_WAITS of them; TLS 1.2 at least. The server's
 * certificate must verify against the trusted roots and the anchors (one of
 * them anywhere in its chain) and name host (a dotted address: one of the
 * certificate's IP addresses). With resume (a data connection), the
 * session of that connection is offered for resumption and the certificate
 * must name resume's host. The connection, or null with the reason. */
#define FTP_TLS_HANDSHAKE_WAITS 5
FtpTls *ftpTlsConnect(FtpSocket s, const char *host, const FtpTls *resume, long waitMs, char *failure,
                      size_t size);

/* Sends all of bytes, each wait for the socket within milliseconds: length,
 * 0 when the time ran out, -1 on failure. */
long ftpTlsSend(FtpTls *tls, const void *bytes, size_t length, long milliseconds);
/* What has come, at most size bytes, once something has, waiting at most
 * milliseconds: the count, 0 at the server's orderly end (its close
 * notification), -1 on failure (an end without it included: the data may be
 * cut short), FTP_NET_TIMED_OUT when nothing came in time. */
long ftpTlsReceive(FtpTls *tls, void *buffer, size_t size, long milliseconds);
/* Ends the connection and frees it; the socket stays open. With
 * milliseconds above 0 the end is an orderly one: the close notification,
 * then what the server still sends up to its own, all within milliseconds
 * (closing a socket with bytes unread would reset the connection and lose
 * the last data sent). With 0 the close notification goes only when the
 * socket takes it at once. */
void ftpTlsClose(FtpTls *tls, long milliseconds);
/* Frees the connection without its close notification (the socket stays
 * open): the server sees the end of a failed transfer as no orderly one. */
void ftpTlsDrop(FtpTls *tls);

#endif

/* POSIX body of tls.h: OpenSSL. The library verifies the chain against the
 * system's roots and the trust file's anchors, and the host name or address.
 * The socket is read and written through a BIO of our own that never waits
 * and never raises SIGPIPE, so every wait is a poll within the engine's bound
 * and a peer that went away is a failure, as on the plain connections. */
#include "../tls.h"

#include <errno.h>
#include <poll.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include "../parse.h"


struct FtpTls {
  SSL *ssl;
  FtpSocket socket;
  int endOfInput;          /* the socket's reading end was reached */
  char host[256];
};

static SSL_CTX *ftpTlsContext;   /* anew for every set of trust anchors */
static BIO_METHOD *ftpTlsMethod;

static long ftpTlsNowMs(void)
{
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

static int ftpTlsBioWrite(BIO *bio, const char *bytes, int length)
{
  FtpTls *tls = static_cast<FtpTls *>(BIO_get_data(bio));
  BIO_clear_retry_flags(bio);
  for (;;) {
    ssize_t sent = send(tls->socket, bytes, static_cast<size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0)
      return static_cast<int>(sent);
    if (errno == EINTR)
      continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK)
      BIO_set_retry_write(bio);
    return -1;
  }
}

static int ftpTlsBioRead(BIO *bio, char *buffer, int size)
{
  FtpTls *tls = static_cast<FtpTls *>(BIO_get_data(bio));
  BIO_clear_retry_flags(bio);
  for (;;) {
    ssize_t got = recv(tls->socket, buffer, static_cast<size_t>(size), MSG_DONTWAIT);
    if (got >= 0) {
      if (got == 0)
        tls->endOfInput = 1;
      return static_cast<int>(got);
    }
    if (errno == EINTR)
      continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK)
      BIO_set_retry_read(bio);
    return -1;
  }
}

static long ftpTlsBioControl(BIO *bio, int command, long, void *)
{
  if (command == BIO_CTRL_FLUSH)
    return 1;
  if (command == BIO_CTRL_EOF)
    return static_cast<FtpTls *>(BIO_get_data(bio))->endOfInput;
  return 0;
}

static int ftpTlsBioCreate(BIO *bio)
{
  BIO_set_init(bio, 1);
  return 1;
}

static void ftpTlsFailure(char *failure, size_t size, const char *fallback)
{
  unsigned long error = ERR_get_error();
  const char *reason = error ? ERR_reason_error_string(error) : NULL;
  snprintf(failure, size, "%s", reason ? reason : fallback);
  ERR_clear_error();
}

/* The reasons in the words of the Windows body, where they are the same. */
static void ftpTlsCertificateFault(long verify, const char *host, char *failure, size_t size)
{
  switch (verify) {
  case X509_V_ERR_HOSTNAME_MISMATCH:
  case X509_V_ERR_IP_ADDRESS_MISMATCH:
    snprintf(failure, size, "the server's certificate does not name %s", host);
    return;
  case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
  case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
  case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
  case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
  case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    snprintf(failure, size, "the server's certificate: its issuer is not trusted");
    return;
  case X509_V_ERR_CERT_HAS_EXPIRED:
  case X509_V_ERR_CERT_NOT_YET_VALID:
    snprintf(failure, size, "the server's certificate: it has expired or is not valid yet");
    return;
  case X509_V_ERR_INVALID_PURPOSE:
    snprintf(failure, size, "the server's certificate: it is not for servers");
    return;
  default:
    snprintf(failure, size, "the server's certificate: %s", X509_verify_cert_error_string(verify));
  }
}

int ftpTlsTrust(const char *file, char *failure, size_t size)
{
  ERR_clear_error();
  SSL_CTX *context = SSL_CTX_new(TLS_client_method());
  if (context == NULL) {
    ftpTlsFailure(failure, size, "no TLS context");
    return -1;
  }
  /* TLS 1.2 at least; a trust-file certificate is an anchor wherever it
   * stands in the chain (an intermediate, a server's own certificate), as
   * the Windows body takes it. */
  if (SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) != 1 ||
      X509_VERIFY_PARAM_set_flags(SSL_CTX_get0_param(context), X509_V_FLAG_PARTIAL_CHAIN) != 1) {
    ftpTlsFailure(failure, size, "no TLS context");
    SSL_CTX_free(context);
    return -1;
  }
  SSL_CTX_set_default_verify_paths(context);
  if (file && SSL_CTX_load_verify_locations(context, file, NULL) != 1) {
    char reason[200];
    ftpTlsFailure(reason, sizeof reason, "unusable");
    snprintf(failure, size, "trust file %s: %s", file, reason);
    SSL_CTX_free(context);
    return -1;
  }
  SSL_CTX_set_verify(context, SSL_VERIFY_PEER, NULL);
  if (ftpTlsContext)
    SSL_CTX_free(ftpTlsContext);   /* connections made with it keep their reference */
  ftpTlsContext = context;
  return 0;
}

/* Waits for what the library asked for (more to read, or room to write),
 * within end: 1 ready, 0 timed out, -1 failed. */
static int ftpTlsWait(const FtpTls *tls, int error, long end)
{
  for (;;) {
    long left = end - ftpTlsNowMs();
    if (left <= 0)
      return 0;
    struct pollfd fd = {tls->socket, static_cast<short>(error == SSL_ERROR_WANT_WRITE ? POLLOUT : POLLIN), 0};
    int n = poll(&fd, 1, static_cast<int>(left));
    if (n > 0)
      return 1;
    if (n < 0 && errno != EINTR)
      return -1;
  }
}

static int ftpTlsWants(int error)
{
  return error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE;
}

FtpTls *ftpTlsConnect(FtpSocket s, const char *host, const FtpTls *resume, long waitMs, char *failure,
                      size_t size)
{
  if (ftpTlsMethod == NULL) {
    ftpTlsMethod = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "wendrik socket");
    BIO_meth_set_write(ftpTlsMethod, ftpTlsBioWrite);
    BIO_meth_set_read(ftpTlsMethod, ftpTlsBioRead);
    BIO_meth_set_ctrl(ftpTlsMethod, ftpTlsBioControl);
    BIO_meth_set_create(ftpTlsMethod, ftpTlsBioCreate);
  }
  if (ftpTlsContext == NULL && ftpTlsTrust(NULL, failure, size) != 0)
    return NULL;
  FtpTls *tls = static_cast<FtpTls *>(calloc(1, sizeof *tls));
  if (tls == NULL) {
    snprintf(failure, size, "out of memory");
    return NULL;
  }
  tls->socket = s;
  snprintf(tls->host, sizeof tls->host, "%s", resume ? resume->host : host);
  ERR_clear_error();
  /* A data connection is checked as its control connection was, whatever
   * trust file came since. */
  tls->ssl = SSL_new(resume ? SSL_get_SSL_CTX(resume->ssl) : ftpTlsContext);
  BIO *bio = tls->ssl ? BIO_new(ftpTlsMethod) : NULL;
  if (bio == NULL) {
    ftpTlsFailure(failure, size, "no TLS connection");
    SSL_free(tls->ssl);
    free(tls);
    return NULL;
  }
  BIO_set_data(bio, tls);
  SSL_set_bio(tls->ssl, bio, bio);

  /* The certificate must name what the user named: an address among its IP
   * addresses, a name among its DNS names (a wildcard only as a whole label). */
  X509_VERIFY_PARAM *check = SSL_get0_param(tls->ssl);
  FtpAddress address;
  int named;
  if (ftpNetParseNumeric(tls->host, &address) == 0) {
    /* An IPv4 or IPv6 address (its zone left out: a certificate names none). */
    char text[FTP_ADDRESS_TEXT_SIZE];
    FtpAddressText(&address, text, sizeof text);
    named = X509_VERIFY_PARAM_set1_ip_asc(check, text);
  } else {
    SSL_set_tlsext_host_name(tls->ssl, tls->host);
    X509_VERIFY_PARAM_set_hostflags(check, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    named = X509_VERIFY_PARAM_set1_host(check, tls->host, 0);
  }
  if (named != 1) {
    /* Without the name to check any certificate of the chain would do. */
    snprintf(failure, size, "%s cannot be checked against a certificate", tls->host);
    ftpTlsDrop(tls);
    return NULL;
  }
  if (resume) {
    /* The control connection's latest session (under TLS 1.3 the ticket that
     * came after its handshake): servers commonly require its reuse. */
    SSL_SESSION *session = SSL_get1_session(resume->ssl);
    if (session) {
      SSL_set_session(tls->ssl, session);
      SSL_SESSION_free(session);
    }
  }

  long whole = ftpTlsNowMs() + waitMs * FTP_TLS_HANDSHAKE_WAITS;
  for (;;) {
    ERR_clear_error();
    int rc = SSL_connect(tls->ssl);
    if (rc == 1)
      return tls;
    int error = SSL_get_error(tls->ssl, rc);
    if (ftpTlsWants(error)) {
      long now = ftpTlsNowMs();
      long end = whole - now < waitMs ? whole : now + waitMs;
      int ready = ftpTlsWait(tls, error, end);
      if (ready > 0)
        continue;
      snprintf(failure, size, ready == 0 ? "the handshake did not end in time" : "waiting for the server failed");
    } else if (SSL_get_verify_result(tls->ssl) != X509_V_OK) {
      ftpTlsCertificateFault(SSL_get_verify_result(tls->ssl), tls->host, failure, size);
    } else {
      ftpTlsFailure(failure, size, tls->endOfInput ? "the server ended the connection in the handshake"
                                                   : "the handshake failed");
    }
    break;
  }
  ftpTlsDrop(tls);
  return NULL;
}

long ftpTlsSend(FtpTls *tls, const void *bytes, size_t length, long milliseconds)
{
  const char *next = static_cast<const char *>(bytes);
  size_t left = length;
  while (left > 0) {
    int piece = left > 65536 ? 65536 : static_cast<int>(left);
    ERR_clear_error();
    int sent = SSL_write(tls->ssl, next, piece);
    if (sent > 0) {
      next += sent;
      left -= static_cast<size_t>(sent);
      continue;
    }
    int error = SSL_get_error(tls->ssl, sent);
    if (!ftpTlsWants(error))
      return -1;
    /* The same piece again once the socket is ready, as the library asks. */
    int ready = ftpTlsWait(tls, error, ftpTlsNowMs() + milliseconds);
    if (ready <= 0)
      return ready;
  }
  return static_cast<long>(length);
}

long ftpTlsReceive(FtpTls *tls, void *buffer, size_t size, long milliseconds)
{
  long end = ftpTlsNowMs() + milliseconds;
  int wanted = size > 65536 ? 65536 : static_cast<int>(size);
  for (;;) {
    ERR_clear_error();
    int got = SSL_read(tls->ssl, buffer, wanted);
    if (got > 0)
      return got;
    int error = SSL_get_error(tls->ssl, got);
    if (error == SSL_ERROR_ZERO_RETURN)
      return 0;
    if (!ftpTlsWants(error))
      return -1;
    /* A record that came in part, or one of TLS's own (a session ticket),
     * gives nothing yet: wait again within the same bound. */
    int ready = ftpTlsWait(tls, error, end);
    if (ready == 0)
      return FTP_NET_TIMED_OUT;
    if (ready < 0)
      return -1;
  }
}

void ftpTlsClose(FtpTls *tls, long milliseconds)
{
  /* One bound for the whole of it, however the server trickles. */
  long end = ftpTlsNowMs() + milliseconds;
  int rc;
  for (;;) {
    ERR_clear_error();
    rc = SSL_shutdown(tls->ssl);
    if (rc >= 0)
      break;
    int error = SSL_get_error(tls->ssl, rc);
    if (error != SSL_ERROR_WANT_WRITE || ftpTlsWait(tls, error, end) <= 0)
      break;
  }
  if (rc == 0 && milliseconds > 0) {
    /* Ours went (and the socket's end after it, for a server that waits for
     * that): what the server still sends is read up to its own. */
    shutdown(tls->socket, SHUT_WR);
    char rest[4096];
    for (;;) {
      long left = end - ftpTlsNowMs();
      if (left <= 0 || ftpTlsReceive(tls, rest, sizeof rest, left) <= 0)
        break;
    }
  }
  ftpTlsDrop(tls);
}

void ftpTlsDrop(FtpTls *tls)
{
  ERR_clear_error();
  SSL_free(tls->ssl);
  free(tls);
}

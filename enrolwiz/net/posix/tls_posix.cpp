// POSIX body of the TLS port: OpenSSL. The library verifies the chain
// against the system's trusted roots (and, in tests, the test's authority)
// and the host name or address. It reaches the socket through a BIO of our
// own over the sockets port that never waits: when nothing has come, the
// library asks for more and the exchange's wait runs outside the library,
// so that a wait that throws never unwinds through it.
#include "net/tls.h"

#include <string>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include "tables/text_tests.h"

namespace {

std::string& testAuthority()
{
  static std::string file;
  return file;
}

// The library's words on its last error, or the fallback.
CString libraryReason(const char* fallback)
{
  unsigned long error = ERR_get_error();
  const char* reason = error ? ERR_reason_error_string(error) : nullptr;
  ERR_clear_error();
  return reason ? reason : fallback;
}

TlsFailure certificateFailure(long verify)
{
  switch (verify) {
  case X509_V_ERR_HOSTNAME_MISMATCH:
  case X509_V_ERR_IP_ADDRESS_MISMATCH:
    return tlsCertificateWrongName;
  case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
  case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
  case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
  case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
  case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
  case X509_V_ERR_CERT_UNTRUSTED:
    return tlsCertificateUntrusted;
  case X509_V_ERR_CERT_HAS_EXPIRED:
  case X509_V_ERR_CERT_NOT_YET_VALID:
    return tlsCertificateExpired;
  case X509_V_ERR_INVALID_PURPOSE:
    return tlsCertificateNotForServers;
  default:
    return tlsCertificateInvalid;
  }
}

// The socket as the BIO sees it.
struct SocketEnd {
  SocketHandle socket;
  bool endOfInput = false;   // the socket's reading end was reached
  int socketError = 0;       // the code of a failed call of the sockets port
};

int bioWrite(BIO* bio, const char* bytes, int length)
{
  auto* session = static_cast<SocketEnd*>(BIO_get_data(bio));
  BIO_clear_retry_flags(bio);
  int sent = sendBytes(session->socket, bytes, length);
  if (sent < 0)
    session->socketError = lastSocketError();
  return sent;
}

// What has come already, never waiting: nothing yet asks the library to
// come back for more, after the exchange's wait.
int bioRead(BIO* bio, char* buffer, int size)
{
  auto* session = static_cast<SocketEnd*>(BIO_get_data(bio));
  BIO_clear_retry_flags(bio);
  int ready = waitReadable(session->socket, 0);
  if (ready == 0) {
    BIO_set_retry_read(bio);
    return -1;
  }
  int got = ready < 0 ? -1 : receiveBytes(session->socket, buffer, size);
  if (got < 0)
    session->socketError = lastSocketError();
  else if (got == 0)
    session->endOfInput = true;
  return got;
}

long bioControl(BIO* bio, int command, long, void*)
{
  if (command == BIO_CTRL_FLUSH)
    return 1;
  if (command == BIO_CTRL_EOF)
    return static_cast<SocketEnd*>(BIO_get_data(bio))->endOfInput;
  return 0;
}

int bioCreate(BIO* bio)
{
  BIO_set_init(bio, 1);
  return 1;
}

BIO_METHOD* socketMethod()
{
  static BIO_METHOD* method = [] {
    BIO_METHOD* made = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "enrolwiz socket");
    BIO_meth_set_write(made, bioWrite);
    BIO_meth_set_read(made, bioRead);
    BIO_meth_set_ctrl(made, bioControl);
    BIO_meth_set_create(made, bioCreate);
    return made;
  }();
  return method;
}

// A context for one connection: TLS 1.2 at least, the peer verified against
// the system's roots (and the test's authority), and an end of the socket
// without the close notification taken as the end of the stream.
SSL_CTX* newContext()
{
  SSL_CTX* context = SSL_CTX_new(TLS_client_method());
  if (!context)
    return nullptr;
  if (SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION) != 1 || SSL_CTX_set_default_verify_paths(context) != 1 ||
      (!testAuthority().empty() && SSL_CTX_load_verify_locations(context, testAuthority().c_str(), nullptr) != 1)) {
    SSL_CTX_free(context);
    return nullptr;
  }
  SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
  SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
  return context;
}

}  // namespace

struct TlsConnection::Session {
  SocketEnd end;
  SSL_CTX* context = nullptr;
  SSL* ssl = nullptr;

  ~Session()
  {
    SSL_free(ssl);
    SSL_CTX_free(context);
  }
};

TlsConnection::TlsConnection(SocketHandle s, const CString& host)
  : session_(new Session), socket_(s), host_(host), failure_(tlsNoFailure), socketError_(0),
    endedWithoutNotification_(false)
{
  session_->end.socket = s;
}

TlsConnection::~TlsConnection() = default;

bool TlsConnection::fail(TlsFailure failure, const CString& detail)
{
  failure_ = failure;
  detail_ = detail;
  socketError_ = session_->end.socketError;
  return false;
}

bool TlsConnection::handshake(const SocketWait& wait)
{
  ERR_clear_error();
  session_->context = newContext();
  session_->ssl = session_->context ? SSL_new(session_->context) : nullptr;
  BIO* bio = session_->ssl ? BIO_new(socketMethod()) : nullptr;
  if (!bio)
    return fail(tlsUnavailable, libraryReason("no TLS context"));
  BIO_set_data(bio, &session_->end);
  SSL_set_bio(session_->ssl, bio, bio);

  // The certificate must name what the target names: a dotted address among
  // its IP addresses, a host name among its DNS names (a wildcard only as a
  // whole label), the name also sent to the server.
  X509_VERIFY_PARAM* check = SSL_get0_param(session_->ssl);
  Ipv4Address address;
  int named;
  if (!containsLetter(host_) && inetAddr(host_, address)) {
    CString dotted;
    dotted.Format("%u.%u.%u.%u", address.bytes[0], address.bytes[1], address.bytes[2], address.bytes[3]);
    named = X509_VERIFY_PARAM_set1_ip_asc(check, dotted);
  } else {
    X509_VERIFY_PARAM_set_hostflags(check, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    named = SSL_set_tlsext_host_name(session_->ssl, static_cast<const char*>(host_)) == 1 ?
              X509_VERIFY_PARAM_set1_host(check, host_, 0) : 0;
  }
  // Without a name to check, any certificate of a trusted chain would do.
  if (named != 1)
    return fail(tlsCertificateWrongName, host_ + " cannot be checked against a certificate");

  for (;;) {
    ERR_clear_error();
    int rc = SSL_connect(session_->ssl);
    if (rc == 1)
      return true;
    int error = SSL_get_error(session_->ssl, rc);
    if (error == SSL_ERROR_WANT_READ) {
      wait();
      continue;
    }
    long verify = SSL_get_verify_result(session_->ssl);
    if (verify != X509_V_OK)
      return fail(certificateFailure(verify), X509_verify_cert_error_string(verify));
    if (session_->end.endOfInput || session_->end.socketError == wsaConnectionReset)
      return fail(tlsHandshakeEnded, libraryReason("the server ended the connection"));
    if (session_->end.socketError != 0)
      return fail(tlsSocketFailed, libraryReason("a socket call failed"));
    return fail(tlsHandshakeFailed, libraryReason("the handshake failed"));
  }
}

int TlsConnection::send(const char* bytes, int length)
{
  ERR_clear_error();
  if (length == 0)
    return 0;
  // The socket's sends block, so the library writes all or fails.
  int sent = SSL_write(session_->ssl, bytes, length);
  if (sent == length)
    return length;
  fail(session_->end.socketError != 0 ? tlsSocketFailed : tlsDataFailed, libraryReason("sending failed"));
  return -1;
}

int TlsConnection::receive(char* buffer, int size, const SocketWait& wait)
{
  for (;;) {
    ERR_clear_error();
    int got = SSL_read(session_->ssl, buffer, size);
    if (got > 0)
      return got;
    int error = SSL_get_error(session_->ssl, got);
    if (error == SSL_ERROR_ZERO_RETURN) {
      endedWithoutNotification_ = (SSL_get_shutdown(session_->ssl) & SSL_RECEIVED_SHUTDOWN) == 0;
      return 0;
    }
    if (error == SSL_ERROR_WANT_READ) {
      // A record that came in part, or one of TLS's own (a session ticket).
      wait();
      continue;
    }
    fail(session_->end.socketError != 0 ? tlsSocketFailed : tlsDataFailed, libraryReason("a record could not be read"));
    return -1;
  }
}

CString TlsConnection::description() const
{
  if (!session_->ssl)
    return CString();
  return CString(SSL_get_version(session_->ssl)) + ", " + SSL_get_cipher_name(session_->ssl);
}

bool setTlsTestAuthority(const char* pemFile)
{
  if (!pemFile) {
    testAuthority().clear();
    return true;
  }
  // The file must give a certificate, or no test would trust what it means to.
  SSL_CTX* probe = SSL_CTX_new(TLS_client_method());
  bool loaded = probe && SSL_CTX_load_verify_locations(probe, pemFile, nullptr) == 1;
  SSL_CTX_free(probe);
  ERR_clear_error();
  if (loaded)
    testAuthority() = pemFile;
  return loaded;
}

// TLS port of the network submission: the client side of one TLS connection
// over a connected socket of the sockets port, for an exchange with an https
// target. The Win32 body is the system's Secure Channel through SSPI
// (secur32) with the certificate checked through crypt32, so the program
// needs nothing beyond the system; the POSIX body is OpenSSL. Both ask for
// TLS 1.2 or later, send the host name (SNI), and accept a server only when
// its certificate chains up to one of the system's trusted roots and names
// the host. The bodies read and write the socket through the sockets port
// alone, and every wait for the server is the exchange's own wait, given to
// each call: it returns once the socket is readable and throws when its time
// is over, so a TLS connection is bounded as a plain exchange is.
#ifndef ENROLWIZ_NET_TLS_H
#define ENROLWIZ_NET_TLS_H

#include <functional>
#include <memory>

#include "framework/cstring.h"
#include "net/sockets.h"

// Why a connection failed; what the user is shown comes from tlsFailureText
// (socket_failures.h).
enum TlsFailure {
  tlsNoFailure,
  tlsCertificateUntrusted,       // its chain ends in no trusted root
  tlsCertificateWrongName,       // it does not name the host
  tlsCertificateExpired,         // outside its dates
  tlsCertificateNotForServers,   // its usages leave out servers
  tlsCertificateInvalid,         // any other fault of it or its chain
  tlsHandshakeEnded,             // the server ended the connection in the handshake
  tlsHandshakeFailed,            // no agreement: an alert, no common version or cipher
  tlsUnavailable,                // this computer offers no TLS client
  tlsDataFailed,                 // a record after the handshake could not be read
  tlsSocketFailed,               // a call of the sockets port failed: socketError()
};

// The exchange's wait until the socket is readable: it returns when it is,
// and throws (after cleaning up) when the time is over or the wait fails.
typedef std::function<void()> SocketWait;

class TlsConnection {
public:
  // A connection to host (a name or a dotted address, as the target names
  // it) over the connected socket s, which stays the caller's to close.
  TlsConnection(SocketHandle s, const CString& host);
  ~TlsConnection();
  TlsConnection(const TlsConnection&) = delete;
  TlsConnection& operator=(const TlsConnection&) = delete;

  // The client handshake: true when the connection stands with a server
  // whose certificate verified, false with failure() set.
  bool handshake(const SocketWait& wait);
  // Sends all of bytes: length, or -1 with failure() set.
  int send(const char* bytes, int length);
  // Plaintext that came, at most size bytes, once some has (waiting as
  // needed): the count; 0 at the end of the stream (the server's close
  // notification, or the end of the socket without it, as an HTTP/1.0
  // response may end); -1 with failure() set.
  int receive(char* buffer, int size, const SocketWait& wait);

  TlsFailure failure() const { return failure_; }
  // The code of the sockets port's call that failed (tlsSocketFailed).
  int socketError() const { return socketError_; }
  // For the diagnostic output: the library's own words on the failure, and
  // what the handshake agreed (protocol and cipher).
  const CString& failureDetail() const { return detail_; }
  CString description() const;
  // The server ended the stream without its close notification.
  bool endedWithoutNotification() const { return endedWithoutNotification_; }

  // The body's state, opaque to everything else.
  struct Session;

private:
  bool fail(TlsFailure failure, const CString& detail);

  std::unique_ptr<Session> session_;
  SocketHandle socket_;
  CString host_;
  TlsFailure failure_;
  int socketError_;
  CString detail_;
  bool endedWithoutNotification_;
};

// Tests only: the certificates of a PEM file trusted besides the system's
// roots, for the connections made after the call; null trusts the system's
// roots alone again. The POSIX body answers true when the file gave at least
// one certificate. The Win32 body trusts the system's certificate stores
// alone and answers false (a test makes its authority a root of the test's
// Wine prefix instead).
bool setTlsTestAuthority(const char* pemFile);

#endif

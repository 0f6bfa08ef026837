// What a failed Winsock call of the submission shows the user and writes to
// the diagnostic output, by operation and error code; the diagnostic line
// and answer of each name lookup failure; and what a failed TLS connection
// shows.
#ifndef ENROLWIZ_NET_SOCKET_FAILURES_H
#define ENROLWIZ_NET_SOCKET_FAILURES_H

#include "framework/cstring.h"
#include "net/tls.h"

enum SocketOperation {
  operationStartup,          // WSAStartup, prefix 572
  operationSocketCreation,   // socket, prefix 574
  operationConnect,          // connect, prefix 576
  operationSocksWait,        // select for the SOCKS reply, prefix 578
  operationDataWait,         // select for data, prefix 579
};

struct SocketFailureText {
  CString shown;     // the prefix of message 127
  CString written;   // the diagnostic line
};

// The operation's entry for code: a plain text (shown and written), a coded
// one (the operation's prefix and the code shown, the text written), or by
// default the prefix and the code for both.
SocketFailureText socketFailureText(SocketOperation operation, int code);
// A wait that ended without data: "The request timed out." for both.
SocketFailureText timedOutText();
// Socket creation in the auto-configuration fetch: the line tells the code,
// and WSAESOCKTNOSUPPORT is shown plain.
SocketFailureText autoConfigSocketFailureText(int code);

// A TLS connection's failure other than tlsSocketFailed: a certificate that
// did not verify, "The server's certificate could not be verified: " and the
// reason; any other, "The secure connection to the server failed: " and the
// reason.
CString tlsFailureText(TlsFailure failure);

// A failed gethostbyname: its diagnostic line and resolveHost's answer,
// -2 (ask once more) or -1.
struct NameLookupFailure {
  const char* line;
  int answer;
};
NameLookupFailure nameLookupFailure(int code);

#endif

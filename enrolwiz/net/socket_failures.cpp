// The failure table of the submission's Winsock calls and name lookups.
#include "net/socket_failures.h"

#include "net/sockets.h"
#include "string_ids.h"

namespace {

// A cell: 0 no entry (the default), +id the plain form, -id the coded form.
struct FailureRow {
  int code;
  int cells[4];   // start-up, socket creation, connect, waits
};

const FailureRow failureRows[] = {
    {wsaInterrupted, {0, 0, -IDS_WSA_INTR, -IDS_WSA_INTR}},
    {wsaAccessDenied, {0, 0, -IDS_WSA_ACCES, 0}},
    {wsaFault, {-IDS_WSA_FAULT_STARTUP, 0, -IDS_WSA_FAULT, -IDS_WSA_FAULT}},
    {wsaInvalid, {0, 0, -IDS_WSA_INVAL, -IDS_WSA_INVAL}},
    {wsaTooManySockets, {0, IDS_WSA_MFILE, 0, 0}},
    {wsaWouldBlock, {0, 0, -IDS_WSA_WOULDBLOCK, 0}},
    {wsaInProgress, {IDS_WSA_INPROGRESS, IDS_WSA_INPROGRESS, IDS_WSA_INPROGRESS, IDS_WSA_INPROGRESS}},
    {wsaAlready, {0, 0, -IDS_WSA_ALREADY, 0}},
    {wsaNotSocket, {0, 0, -IDS_WSA_NOTSOCK, -IDS_WSA_NOTSOCK}},
    {wsaProtocolType, {0, -IDS_WSA_PROTOTYPE, 0, 0}},
    {wsaProtocolNotSupported, {0, -IDS_WSA_PROTONOSUPPORT, 0, 0}},
    {wsaSocketTypeNotSupported, {0, -IDS_WSA_SOCKTNOSUPPORT, 0, 0}},
    {wsaAddressFamilyNotSupported, {0, -IDS_WSA_AFNOSUPPORT, -IDS_WSA_AFNOSUPPORT_CONNECT, 0}},
    {wsaAddressInUse, {0, 0, -IDS_WSA_ADDRINUSE, 0}},
    {wsaAddressNotAvailable, {0, 0, IDS_WSA_ADDRNOTAVAIL, 0}},
    {wsaNetworkDown, {0, IDS_WSA_NETDOWN, IDS_WSA_NETDOWN, IDS_WSA_NETDOWN}},
    {wsaNetworkUnreachable, {0, 0, IDS_WSA_NETUNREACH, 0}},
    {wsaNoBuffers, {0, IDS_WSA_NOBUFS, IDS_WSA_NOBUFS, 0}},
    {wsaAlreadyConnected, {0, 0, -IDS_WSA_ISCONN, 0}},
    {wsaTimedOut, {0, 0, IDS_TIMED_OUT, 0}},
    {wsaConnectionRefused, {0, 0, IDS_WSA_CONNREFUSED, 0}},
    {wsaProcessLimit, {IDS_WSA_MFILE, 0, 0, 0}},
    {wsaSystemNotReady, {IDS_WSA_SYSNOTREADY, 0, 0, 0}},
    {wsaVersionNotSupported, {IDS_WSA_VERNOTSUPPORTED, 0, 0, 0}},
    {wsaNotInitialised, {0, -IDS_WSA_NOTINITIALISED, -IDS_WSA_NOTINITIALISED, -IDS_WSA_NOTINITIALISED}},
};

UINT prefixId(SocketOperation operation)
{
  switch (operation) {
  case operationStartup:
    return IDS_WSASTARTUP_FAILED;
  case operationSocketCreation:
    return IDS_SOCKET_FAILED;
  case operationConnect:
    return IDS_CONNECT_FAILED;
  case operationSocksWait:
    return IDS_SOCKS_FAILED;
  case operationDataWait:
    break;
  }
  return IDS_RECEIVE_FAILED;
}

// Both waits share the last column.
int column(SocketOperation operation)
{
  return operation >= operationSocksWait ? 3 : static_cast<int>(operation);
}

CString decimal(int code)
{
  CString text;
  text.Format("%d", code);
  return text;
}

}  // namespace

SocketFailureText socketFailureText(SocketOperation operation, int code)
{
  CString coded = loadText(prefixId(operation)) + decimal(code);
  for (const FailureRow& row : failureRows) {
    if (row.code != code)
      continue;
    int cell = row.cells[column(operation)];
    if (cell > 0)
      return {loadText(static_cast<UINT>(cell)), loadText(static_cast<UINT>(cell))};
    if (cell < 0)
      return {coded, loadText(static_cast<UINT>(-cell))};
  }
  return {coded, coded};
}

SocketFailureText timedOutText()
{
  return {loadText(IDS_TIMED_OUT), loadText(IDS_TIMED_OUT)};
}

SocketFailureText autoConfigSocketFailureText(int code)
{
  SocketFailureText text = socketFailureText(operationSocketCreation, code);
  if (code == wsaSocketTypeNotSupported)
    text.shown = loadText(IDS_WSA_SOCKTNOSUPPORT);
  text.written = "Creating the socket returned " + decimal(code);
  return text;
}

CString tlsFailureText(TlsFailure failure)
{
  static const struct {
    TlsFailure failure;
    UINT prefix;
    UINT reason;
  } rows[] = {
      {tlsCertificateUntrusted, IDS_CERTIFICATE_NOT_VERIFIED, IDS_CERTIFICATE_UNTRUSTED},
      {tlsCertificateWrongName, IDS_CERTIFICATE_NOT_VERIFIED, IDS_CERTIFICATE_WRONG_NAME},
      {tlsCertificateExpired, IDS_CERTIFICATE_NOT_VERIFIED, IDS_CERTIFICATE_EXPIRED},
      {tlsCertificateNotForServers, IDS_CERTIFICATE_NOT_VERIFIED, IDS_CERTIFICATE_NOT_FOR_SERVERS},
      {tlsCertificateInvalid, IDS_CERTIFICATE_NOT_VERIFIED, IDS_CERTIFICATE_INVALID},
      {tlsHandshakeEnded, IDS_SECURE_CONNECTION_FAILED, IDS_TLS_HANDSHAKE_ENDED},
      {tlsHandshakeFailed, IDS_SECURE_CONNECTION_FAILED, IDS_TLS_HANDSHAKE_FAILED},
      {tlsUnavailable, IDS_SECURE_CONNECTION_FAILED, IDS_TLS_UNAVAILABLE},
      {tlsDataFailed, IDS_SECURE_CONNECTION_FAILED, IDS_TLS_DATA_FAILED},
  };
  for (const auto& row : rows)
    if (row.failure == failure)
      return loadText(row.prefix) + loadText(row.reason);
  return loadText(IDS_SECURE_CONNECTION_FAILED) + loadText(IDS_TLS_HANDSHAKE_FAILED);
}

NameLookupFailure nameLookupFailure(int code)
{
  switch (code) {
  case wsaHostNotFound:
    return {"DNS failed: Authoritative host not found", -1};
  case wsaTryAgain:
    return {"DNS failed: Host not found, try again", -2};
  case wsaNoRecovery:
    return {"DNS failed: Non-recoverable error", -1};
  case wsaNoData:
    return {"DNS failed: Valid name, no data", -1};
  case wsaNotInitialised:
    return {"DNS failed: Sockets not initialised", -1};
  case wsaInterrupted:
    return {"DNS failed: Call canceled", -2};
  case wsaFault:
    return {"DNS failed: Server name not valid part of address space", -1};
  case wsaInProgress:
    return {"DNS failed: Blocking socket call in progress", -2};
  case wsaNetworkDown:
    return {"DNS failed: Network subsystem has failed", -1};
  default:
    return {"DNS failed: Unrecognized error code", -1};
  }
}

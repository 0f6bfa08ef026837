// Win32 body of the TLS port: the system's Secure Channel through SSPI
// (secur32) and the certificate checks of crypt32, so the program needs
// nothing beyond the system. secur32.dll is loaded from the system folder
// when the first secure connection is made, so that a program that makes
// none never loads it (Wine's keeps Windows Sockets started for the
// process once it is loaded). The channel is told to validate nothing itself:
// the chain is built here against the system's certificate stores and its
// error status checked (Wine's SSL policy passes a chain that ends in no
// trusted root), then the SSL policy checks the certificate against a host
// name, and a dotted address is looked for among the certificate's IP
// addresses here (Wine's policy matches names alone). The socket's bytes go
// through the sockets port.
#define SECURITY_WIN32
#include <windows.h>
#include <wincrypt.h>
#include <security.h>
#include <schannel.h>

#include <cstring>
#include <vector>

#include "net/tls.h"
#include "tables/text_tests.h"

namespace {

// The SSPI calls of secur32.dll, or null when it cannot be had.
PSecurityFunctionTableA sspi()
{
  static PSecurityFunctionTableA table = [] {
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    const char name[] = "\\secur32.dll";
    if (length == 0 || length + sizeof name > sizeof path)
      return PSecurityFunctionTableA(nullptr);
    lstrcatA(path, name);
    HMODULE library = LoadLibraryA(path);
    FARPROC entry = library ? GetProcAddress(library, SECURITY_ENTRYPOINT_ANSIA) : nullptr;
    return entry ? reinterpret_cast<INIT_SECURITY_INTERFACE_A>(reinterpret_cast<void*>(entry))() : nullptr;
  }();
  return table;
}

const DWORD requestFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                           ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_MANUAL_CRED_VALIDATION;
// Encrypted bytes held at most: a whole record of the largest kind and more.
const size_t inputLimit = 64 * 1024;

CString statusText(const char* what, long status)
{
  CString text;
  text.Format("%s (0x%08lx)", what, static_cast<unsigned long>(status));
  return text;
}

void describe(SecBufferDesc& description, SecBuffer* buffers, unsigned long count)
{
  description.ulVersion = SECBUFFER_VERSION;
  description.cBuffers = count;
  description.pBuffers = buffers;
}

void setBuffer(SecBuffer& buffer, unsigned long type, void* bytes, unsigned long length)
{
  buffer.BufferType = type;
  buffer.pvBuffer = bytes;
  buffer.cbBuffer = length;
}

// A token the channel allocated, freed however the handshake goes on.
struct OutputToken {
  SecBuffer buffer;
  SecBufferDesc description;
  OutputToken()
  {
    setBuffer(buffer, SECBUFFER_TOKEN, nullptr, 0);
    describe(description, &buffer, 1);
  }
  ~OutputToken()
  {
    if (buffer.pvBuffer)
      sspi()->FreeContextBuffer(buffer.pvBuffer);
  }
};

TlsFailure chainFailure(DWORD errors)
{
  if (errors & CERT_TRUST_IS_NOT_TIME_VALID)
    return tlsCertificateExpired;
  if (errors & CERT_TRUST_IS_NOT_VALID_FOR_USAGE)
    return tlsCertificateNotForServers;
  if (errors & (CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN))
    return tlsCertificateUntrusted;
  return tlsCertificateInvalid;
}

// A target named by its dotted address: no server name is sent for it, and
// the certificate must hold it among its IP addresses.
bool dottedAddress(const CString& host, Ipv4Address& address)
{
  return !containsLetter(host) && inetAddr(host, address);
}

bool namesAddress(PCCERT_CONTEXT certificate, const Ipv4Address& address)
{
  const CERT_INFO* info = certificate->pCertInfo;
  PCERT_EXTENSION extension = CertFindExtension(szOID_SUBJECT_ALT_NAME2, info->cExtension, info->rgExtension);
  CERT_ALT_NAME_INFO* names = nullptr;
  DWORD size = 0;
  if (!extension || !CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData,
                                         extension->Value.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &names, &size))
    return false;
  bool named = false;
  for (DWORD i = 0; i < names->cAltEntry && !named; ++i) {
    const CERT_ALT_NAME_ENTRY& entry = names->rgAltEntry[i];
    named = entry.dwAltNameChoice == CERT_ALT_NAME_IP_ADDRESS && entry.IPAddress.cbData == 4 &&
            std::memcmp(entry.IPAddress.pbData, address.bytes, 4) == 0;
  }
  LocalFree(names);
  return named;
}

TlsFailure policyFailure(DWORD error)
{
  switch (error) {
  case static_cast<DWORD>(CERT_E_CN_NO_MATCH):
    return tlsCertificateWrongName;
  case static_cast<DWORD>(CERT_E_UNTRUSTEDROOT):
  case static_cast<DWORD>(CERT_E_CHAINING):
    return tlsCertificateUntrusted;
  case static_cast<DWORD>(CERT_E_EXPIRED):
    return tlsCertificateExpired;
  case static_cast<DWORD>(CERT_E_WRONG_USAGE):
    return tlsCertificateNotForServers;
  default:
    return tlsCertificateInvalid;
  }
}

}  // namespace

struct TlsConnection::Session {
  CredHandle credentials;
  bool haveCredentials = false;
  CtxtHandle context;
  bool haveContext = false;
  DWORD request = requestFlags;
  SecPkgContext_StreamSizes sizes;
  std::vector<unsigned char> input;    // encrypted bytes not yet taken
  std::vector<unsigned char> plain;    // decrypted bytes not yet delivered
  size_t plainAt = 0;
  bool ended = false;                  // the close notification came

  ~Session()
  {
    if (haveContext)
      sspi()->DeleteSecurityContext(&context);
    if (haveCredentials)
      sspi()->FreeCredentialsHandle(&credentials);
  }
};

namespace {

// Every byte onto the socket: true, or false with the code in error.
bool sendAll(SocketHandle s, const void* bytes, unsigned long length, int& error)
{
  const char* next = static_cast<const char*>(bytes);
  while (length > 0) {
    int sent = sendBytes(s, next, static_cast<int>(length));
    if (sent <= 0) {
      error = sent < 0 ? lastSocketError() : wsaConnectionAborted;
      return false;
    }
    next += sent;
    length -= static_cast<unsigned long>(sent);
  }
  return true;
}

}  // namespace

TlsConnection::TlsConnection(SocketHandle s, const CString& host)
  : session_(new Session), socket_(s), host_(host), failure_(tlsNoFailure), socketError_(0),
    endedWithoutNotification_(false)
{
}

TlsConnection::~TlsConnection() = default;

bool TlsConnection::fail(TlsFailure failure, const CString& detail)
{
  failure_ = failure;
  detail_ = detail;
  return false;
}

// More encrypted input, after the exchange's wait: true, or false at the
// socket's end (ended) or on a failed call (socketError_).
static bool readMore(SocketHandle s, std::vector<unsigned char>& input, const SocketWait& wait, bool& ended,
                     int& error)
{
  if (input.size() >= inputLimit) {
    error = 0;
    ended = false;
    return false;
  }
  wait();
  unsigned char buffer[16384];
  int got = receiveBytes(s, buffer, sizeof buffer);
  if (got <= 0) {
    ended = got == 0;
    error = got < 0 ? lastSocketError() : 0;
    return false;
  }
  input.insert(input.end(), buffer, buffer + got);
  return true;
}

// The handshake's messages until the context stands (first: from its start;
// else a later handshake whose first message is in the input already).
static SECURITY_STATUS runHandshake(TlsConnection::Session& session, SocketHandle s, const CString& host, bool first,
                                    const SocketWait& wait, bool& ended, int& error)
{
  Ipv4Address address;
  char* target = dottedAddress(host, address) ? nullptr : const_cast<char*>(static_cast<const char*>(host));
  DWORD flags = 0;
  SECURITY_STATUS status;
  if (first) {
    OutputToken out;
    status = sspi()->InitializeSecurityContextA(&session.credentials, nullptr, target, session.request, 0, 0,
                                                nullptr, 0, &session.context, &out.description, &flags, nullptr);
    if (status != SEC_I_CONTINUE_NEEDED)
      return status;
    session.haveContext = true;
    if (!sendAll(s, out.buffer.pvBuffer, out.buffer.cbBuffer, error))
      return SEC_E_INTERNAL_ERROR;
  } else {
    status = SEC_I_CONTINUE_NEEDED;
  }
  bool needInput = first || session.input.empty();
  for (;;) {
    if (needInput && !readMore(s, session.input, wait, ended, error))
      return SEC_E_INTERNAL_ERROR;
    SecBuffer in[2];
    SecBufferDesc inDescription;
    setBuffer(in[0], SECBUFFER_TOKEN, session.input.data(), static_cast<unsigned long>(session.input.size()));
    setBuffer(in[1], SECBUFFER_EMPTY, nullptr, 0);
    describe(inDescription, in, 2);
    OutputToken out;
    status = sspi()->InitializeSecurityContextA(&session.credentials, &session.context, target, session.request,
                                                0, 0, &inDescription, 0, nullptr, &out.description, &flags, nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) {
      needInput = true;
      continue;
    }
    if (status == SEC_I_INCOMPLETE_CREDENTIALS) {
      // The server asks for a client certificate: there is none to give.
      if (session.request & ISC_REQ_USE_SUPPLIED_CREDS)
        return status;
      session.request |= ISC_REQ_USE_SUPPLIED_CREDS;
      needInput = false;
      continue;
    }
    if (out.buffer.pvBuffer && out.buffer.cbBuffer > 0 && !sendAll(s, out.buffer.pvBuffer, out.buffer.cbBuffer, error))
      return SEC_E_INTERNAL_ERROR;
    if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED)
      return status;
    // What the channel did not take is the next message (or, at the end,
    // the first records of data).
    size_t extra = in[1].BufferType == SECBUFFER_EXTRA ? in[1].cbBuffer : 0;
    session.input.erase(session.input.begin(), session.input.end() - static_cast<std::ptrdiff_t>(extra));
    if (status == SEC_E_OK)
      return status;
    needInput = session.input.empty();
  }
}

// The certificate the server sent: a chain to a root of the system's stores
// with no fault, for servers, naming the host. tlsNoFailure or the fault.
static TlsFailure verifyServer(TlsConnection::Session& session, const CString& host, CString& detail)
{
  PCCERT_CONTEXT certificate = nullptr;
  if (sspi()->QueryContextAttributesA(&session.context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK ||
      !certificate) {
    detail = "the server sent no certificate";
    return tlsCertificateInvalid;
  }
  static char serverUse[] = szOID_PKIX_KP_SERVER_AUTH;
  LPSTR uses[] = {serverUse};
  CERT_CHAIN_PARA request;
  std::memset(&request, 0, sizeof request);
  request.cbSize = sizeof request;
  request.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  request.RequestedUsage.Usage.cUsageIdentifier = 1;
  request.RequestedUsage.Usage.rgpszUsageIdentifier = uses;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  TlsFailure failure = tlsNoFailure;
  if (!CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &request, 0, nullptr,
                               &chain)) {
    detail = statusText("the chain could not be built", static_cast<long>(GetLastError()));
    failure = tlsCertificateInvalid;
  } else {
    // Revocation is not asked for; whether it could be known is no fault.
    DWORD errors = chain->TrustStatus.dwErrorStatus &
                   ~static_cast<DWORD>(CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION);
    if (errors != 0) {
      detail = statusText("chain status", static_cast<long>(errors));
      failure = chainFailure(errors);
    } else {
      Ipv4Address address;
      const bool dotted = dottedAddress(host, address);
      int length = MultiByteToWideChar(CP_ACP, 0, host, -1, nullptr, 0);
      std::vector<wchar_t> name(length > 0 ? length : 1, L'\0');
      MultiByteToWideChar(CP_ACP, 0, host, -1, name.data(), length);
      SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl;
      std::memset(&ssl, 0, sizeof ssl);
      ssl.cbSize = sizeof ssl;
      ssl.dwAuthType = AUTHTYPE_SERVER;
      // Without a server name the policy checks no name: the address is ours to check.
      ssl.pwszServerName = dotted ? nullptr : name.data();
      CERT_CHAIN_POLICY_PARA policy;
      std::memset(&policy, 0, sizeof policy);
      policy.cbSize = sizeof policy;
      policy.pvExtraPolicyPara = &ssl;
      CERT_CHAIN_POLICY_STATUS status;
      std::memset(&status, 0, sizeof status);
      status.cbSize = sizeof status;
      if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status)) {
        detail = "the SSL policy could not be checked";
        failure = tlsCertificateInvalid;
      } else if (status.dwError != 0) {
        detail = statusText("SSL policy", static_cast<long>(status.dwError));
        failure = policyFailure(status.dwError);
      } else if (dotted && !namesAddress(certificate, address)) {
        detail = "no IP address of the certificate is " + host;
        failure = tlsCertificateWrongName;
      }
    }
    CertFreeCertificateChain(chain);
  }
  CertFreeCertificateContext(certificate);
  return failure;
}

// After every handshake (a later one may bring another certificate, and
// validation is ours): the server, the protocol version (TLS 1.2 at least,
// whatever the system allows) and the sizes of the records to send.
static TlsFailure established(TlsConnection::Session& session, const CString& host, CString& detail)
{
  TlsFailure failure = verifyServer(session, host, detail);
  if (failure != tlsNoFailure)
    return failure;
  SecPkgContext_ConnectionInfo connection;
  const DWORD older = SP_PROT_SSL2 | SP_PROT_SSL3 | SP_PROT_TLS1_0 | SP_PROT_TLS1_1;
  if (sspi()->QueryContextAttributesA(&session.context, SECPKG_ATTR_CONNECTION_INFO, &connection) != SEC_E_OK ||
      (connection.dwProtocol & older) != 0) {
    detail = "a protocol version before TLS 1.2";
    return tlsHandshakeFailed;
  }
  if (sspi()->QueryContextAttributesA(&session.context, SECPKG_ATTR_STREAM_SIZES, &session.sizes) != SEC_E_OK) {
    detail = "no record sizes";
    return tlsHandshakeFailed;
  }
  return tlsNoFailure;
}

bool TlsConnection::handshake(const SocketWait& wait)
{
  SCHANNEL_CRED settings;
  std::memset(&settings, 0, sizeof settings);
  settings.dwVersion = SCHANNEL_CRED_VERSION;
  settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
  // TLS 1.2, nothing older whatever the system's default; credentials of this
  // kind reach no later version on Windows.
  settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
  if (!sspi())
    return fail(tlsUnavailable, "secur32.dll cannot be loaded");
  TimeStamp expiry;
  SECURITY_STATUS status =
      sspi()->AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr,
                                        &settings, nullptr, nullptr, &session_->credentials, &expiry);
  if (status != SEC_E_OK)
    return fail(tlsUnavailable, statusText("Secure Channel is not available", status));
  session_->haveCredentials = true;

  bool ended = false;
  int error = 0;
  status = runHandshake(*session_, socket_, host_, true, wait, ended, error);
  if (status != SEC_E_OK) {
    socketError_ = error;
    if (ended || error == wsaConnectionReset)
      return fail(tlsHandshakeEnded, statusText("the server ended the connection", status));
    if (error != 0)
      return fail(tlsSocketFailed, statusText("a socket call failed", status));
    return fail(tlsHandshakeFailed, statusText("handshake", status));
  }
  CString detail;
  TlsFailure failure = established(*session_, host_, detail);
  return failure == tlsNoFailure ? true : fail(failure, detail);
}

int TlsConnection::send(const char* bytes, int length)
{
  const SecPkgContext_StreamSizes& sizes = session_->sizes;
  std::vector<unsigned char> record(sizes.cbHeader + sizes.cbMaximumMessage + sizes.cbTrailer);
  for (int done = 0; done < length;) {
    unsigned long piece = static_cast<unsigned long>(length - done);
    if (piece > sizes.cbMaximumMessage)
      piece = sizes.cbMaximumMessage;
    unsigned char* data = record.data() + sizes.cbHeader;
    std::memcpy(data, bytes + done, piece);
    SecBuffer buffers[4];
    setBuffer(buffers[0], SECBUFFER_STREAM_HEADER, record.data(), sizes.cbHeader);
    setBuffer(buffers[1], SECBUFFER_DATA, data, piece);
    setBuffer(buffers[2], SECBUFFER_STREAM_TRAILER, data + piece, sizes.cbTrailer);
    setBuffer(buffers[3], SECBUFFER_EMPTY, nullptr, 0);
    SecBufferDesc description;
    describe(description, buffers, 4);
    SECURITY_STATUS status = sspi()->EncryptMessage(&session_->context, 0, &description, 0);
    if (status != SEC_E_OK) {
      fail(tlsDataFailed, statusText("EncryptMessage", status));
      return -1;
    }
    if (!sendAll(socket_, record.data(), buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer,
                 socketError_)) {
      fail(tlsSocketFailed, "sending failed");
      return -1;
    }
    done += static_cast<int>(piece);
  }
  return length;
}

int TlsConnection::receive(char* buffer, int size, const SocketWait& wait)
{
  Session& session = *session_;
  for (;;) {
    if (session.plainAt < session.plain.size()) {
      size_t count = session.plain.size() - session.plainAt;
      if (count > static_cast<size_t>(size))
        count = static_cast<size_t>(size);
      std::memcpy(buffer, session.plain.data() + session.plainAt, count);
      session.plainAt += count;
      return static_cast<int>(count);
    }
    if (session.ended)
      return 0;
    if (!session.input.empty()) {
      SecBuffer buffers[4];
      setBuffer(buffers[0], SECBUFFER_DATA, session.input.data(), static_cast<unsigned long>(session.input.size()));
      for (int i = 1; i < 4; ++i)
        setBuffer(buffers[i], SECBUFFER_EMPTY, nullptr, 0);
      SecBufferDesc description;
      describe(description, buffers, 4);
      const bool alert = session.input[0] == 21;   // the record's type, before TLS 1.3
      SECURITY_STATUS status = sspi()->DecryptMessage(&session.context, &description, 0, nullptr);
      if (status == SEC_I_CONTEXT_EXPIRED) {
        session.ended = true;
        continue;
      }
      if (status == SEC_E_OK || status == SEC_I_RENEGOTIATE) {
        session.plain.clear();
        session.plainAt = 0;
        size_t extra = 0;
        for (const SecBuffer& part : buffers) {
          if (part.BufferType == SECBUFFER_DATA && part.cbBuffer > 0) {
            const unsigned char* bytes = static_cast<const unsigned char*>(part.pvBuffer);
            session.plain.assign(bytes, bytes + part.cbBuffer);
          }
          if (part.BufferType == SECBUFFER_EXTRA)
            extra = part.cbBuffer;
        }
        session.input.erase(session.input.begin(), session.input.end() - static_cast<std::ptrdiff_t>(extra));
        // Wine's Secure Channel gives the close notification as an alert
        // record of nothing where Windows says SEC_I_CONTEXT_EXPIRED.
        if (status == SEC_E_OK && session.plain.empty() && alert)
          session.ended = true;
        if (status == SEC_I_RENEGOTIATE) {
          // A handshake after the handshake: the channel takes it, and what
          // it establishes is checked as the first was.
          bool ended = false;
          status = runHandshake(session, socket_, host_, false, wait, ended, socketError_);
          CString detail;
          TlsFailure failure = status == SEC_E_OK ? established(session, host_, detail) : tlsDataFailed;
          if (failure != tlsNoFailure) {
            fail(failure, status == SEC_E_OK ? detail : statusText("a later handshake", status));
            return -1;
          }
        }
        continue;
      }
      if (status != SEC_E_INCOMPLETE_MESSAGE) {
        fail(tlsDataFailed, statusText("DecryptMessage", status));
        return -1;
      }
    }
    bool ended = false;
    if (!readMore(socket_, session.input, wait, ended, socketError_)) {
      if (ended) {
        // The end of the socket without the close notification: the end of
        // the response, as an HTTP/1.0 response may end.
        endedWithoutNotification_ = true;
        session.ended = true;
        continue;
      }
      fail(socketError_ != 0 ? tlsSocketFailed : tlsDataFailed, "reading failed");
      return -1;
    }
  }
}

CString TlsConnection::description() const
{
  SecPkgContext_ConnectionInfo connection;
  if (!session_->haveContext ||
      sspi()->QueryContextAttributesA(&session_->context, SECPKG_ATTR_CONNECTION_INFO, &connection) != SEC_E_OK)
    return CString();
  const char* protocol = (connection.dwProtocol & SP_PROT_TLS1_2) ? "TLSv1.2" : "TLS";
  CString text;
  text.Format("%s, cipher 0x%04x (%lu bits)", protocol, static_cast<unsigned>(connection.aiCipher),
              static_cast<unsigned long>(connection.dwCipherStrength));
  return text;
}

bool setTlsTestAuthority(const char*)
{
  return false;
}

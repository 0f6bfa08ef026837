/* Win32 body of tls.h: the system's Secure Channel through SSPI (secur32)
 * and the certificate checks of crypt32, so the DLL needs nothing beyond the
 * system. The channel validates nothing itself (manual validation): the
 * chain is checked here against the system's roots and the trust file's
 * anchors, and the host name or address against the certificate's names.
 * The socket's bytes go through net.h's bounded calls. One credential handle
 * serves every connection, so that a data connection offered with the same
 * handle and target name as its control connection resumes its session, as
 * Windows resumes sessions. */
#define SECURITY_WIN32
#include "../tls.h"

#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#include <security.h>
#include <schannel.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "../parse.h"

/* Encrypted input: a whole record of the largest kind and what follows it. */
#define FTP_TLS_INPUT_SIZE 40960
#define FTP_TLS_TRUST_FILE_MAX (1 << 20)
#define FTP_TLS_REQUEST                                                                            \
  (ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY | ISC_REQ_ALLOCATE_MEMORY | \
   ISC_REQ_STREAM | ISC_REQ_MANUAL_CRED_VALIDATION)

struct FtpTls {
  FtpSocket socket;
  CtxtHandle context;
  int haveContext;
  DWORD request;
  SecPkgContext_StreamSizes sizes;
  char host[256];
  HCERTSTORE anchors;      /* the trust file's certificates when it was made */
  unsigned char input[FTP_TLS_INPUT_SIZE];
  size_t inputLength;      /* encrypted bytes from input's start */
  unsigned char *plain;    /* decrypted in place, not yet delivered */
  size_t plainLength;
  size_t extraLength;      /* encrypted bytes after the record being delivered */
  int ended;               /* 1 the server's close notification, -1 a failure */
  unsigned char *output;   /* one record to send */
};

static CredHandle ftpTlsCredentials;
static int ftpTlsHaveCredentials;
static HCERTSTORE ftpTlsAnchors;   /* the trust file's certificates; null: none */

static void ftpTlsBuffer(SecBuffer *buffer, unsigned long type, void *bytes, unsigned long length)
{
  buffer->BufferType = type;
  buffer->pvBuffer = bytes;
  buffer->cbBuffer = length;
}

static void ftpTlsDescription(SecBufferDesc *description, SecBuffer *buffers, unsigned long count)
{
  description->ulVersion = SECBUFFER_VERSION;
  description->cBuffers = count;
  description->pBuffers = buffers;
}

/* All of bytes onto the socket, each wait within milliseconds: 1, 0 when
 * the time ran out, -1 on failure. */
static int ftpTlsSendRaw(const FtpTls *tls, const void *bytes, size_t length, long milliseconds)
{
  const char *next = static_cast<const char *>(bytes);
  while (length > 0) {
    long sent = ftpNetSendWithin(tls->socket, next, length, milliseconds);
    if (sent <= 0)
      return sent < 0 ? -1 : 0;
    next += sent;
    length -= static_cast<size_t>(sent);
  }
  return 1;
}

/* More encrypted input from the socket within milliseconds: 1, 0 when the
 * time ran out, -1 at the socket's end or on failure (or a full buffer). */
static int ftpTlsReadRaw(FtpTls *tls, long milliseconds)
{
  if (tls->inputLength == sizeof tls->input)
    return -1;
  long got = ftpNetReceiveWithin(tls->socket, tls->input + tls->inputLength, sizeof tls->input - tls->inputLength,
                                 milliseconds);
  if (got == FTP_NET_TIMED_OUT)
    return 0;
  if (got <= 0)
    return -1;
  tls->inputLength += static_cast<size_t>(got);
  return 1;
}

static int ftpTlsCredentialsReady(char *failure, size_t size)
{
  if (ftpTlsHaveCredentials)
    return 0;
  SCHANNEL_CRED settings;
  memset(&settings, 0, sizeof settings);
  settings.dwVersion = SCHANNEL_CRED_VERSION;
  settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
  /* TLS 1.2: nothing older, whatever the system's default. (These
   * credentials do not reach TLS 1.3 on Windows.) */
  settings.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
  TimeStamp expiry;
  SECURITY_STATUS status = AcquireCredentialsHandleA(NULL, const_cast<char *>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND,
                                                     NULL, &settings, NULL, NULL, &ftpTlsCredentials, &expiry);
  if (status != SEC_E_OK) {
    snprintf(failure, size, "Secure Channel is not available (0x%08lx)", static_cast<unsigned long>(status));
    return -1;
  }
  ftpTlsHaveCredentials = 1;
  return 0;
}

int ftpTlsTrust(const char *file, char *failure, size_t size)
{
  if (file == NULL) {
    if (ftpTlsAnchors)
      CertCloseStore(ftpTlsAnchors, 0);
    ftpTlsAnchors = NULL;
    return 0;
  }
  FILE *in = fopen(file, "rb");
  char *text = static_cast<char *>(malloc(FTP_TLS_TRUST_FILE_MAX + 1));
  if (in == NULL || text == NULL) {
    if (in)
      fclose(in);
    free(text);
    snprintf(failure, size, "trust file %s: cannot be read", file);
    return -1;
  }
  size_t length = fread(text, 1, FTP_TLS_TRUST_FILE_MAX, in);
  fclose(in);
  text[length] = '\0';
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, NULL);
  int count = 0;
  static const char begin[] = "-----BEGIN CERTIFICATE-----";
  static const char end[] = "-----END CERTIFICATE-----";
  for (const char *at = strstr(text, begin); store && at; at = strstr(at, begin)) {
    const char *stop = strstr(at, end);
    if (stop == NULL)
      break;
    stop += sizeof end - 1;
    BYTE der[16384];
    DWORD derLength = sizeof der;
    if (CryptStringToBinaryA(at, static_cast<DWORD>(stop - at), CRYPT_STRING_BASE64HEADER, der, &derLength, NULL,
                             NULL) &&
        CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der, derLength, CERT_STORE_ADD_ALWAYS, NULL))
      count++;
    at = stop;
  }
  free(text);
  if (count == 0) {
    if (store)
      CertCloseStore(store, 0);
    snprintf(failure, size, "trust file %s: no certificate in it", file);
    return -1;
  }
  if (ftpTlsAnchors)
    CertCloseStore(ftpTlsAnchors, 0);
  ftpTlsAnchors = store;
  return 0;
}

/* The certificate is one of the anchors, byte for byte: an issuer and serial
 * number alone are anyone's to copy into a certificate of their own key. */
static int ftpTlsIsAnchor(HCERTSTORE anchors, PCCERT_CONTEXT certificate)
{
  if (anchors == NULL)
    return 0;
  PCCERT_CONTEXT anchor = NULL;
  while ((anchor = CertEnumCertificatesInStore(anchors, anchor)) != NULL)
    if (anchor->cbCertEncoded == certificate->cbCertEncoded &&
        memcmp(anchor->pbCertEncoded, certificate->pbCertEncoded, certificate->cbCertEncoded) == 0) {
      CertFreeCertificateContext(anchor);
      return 1;
    }
  return 0;
}

static const char *ftpTlsChainFault(DWORD errors)
{
  if (errors & CERT_TRUST_IS_NOT_TIME_VALID)
    return "it has expired or is not valid yet";
  if (errors & CERT_TRUST_IS_REVOKED)
    return "it is revoked";
  if (errors & CERT_TRUST_IS_NOT_SIGNATURE_VALID)
    return "a signature in its chain is not valid";
  if (errors & CERT_TRUST_IS_NOT_VALID_FOR_USAGE)
    return "it is not for servers";
  return "its chain is not valid";
}

/* The chain up to a root of the system's, or up to one of the trust file's
 * anchors (which need be no root): 0, or -1 with the reason. */
static int ftpTlsCheckChain(HCERTSTORE anchors, PCCERT_CONTEXT certificate, char *failure, size_t size)
{
  HCERTSTORE candidates = CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, NULL);
  if (candidates == NULL) {
    snprintf(failure, size, "the server's certificate cannot be checked");
    return -1;
  }
  CertAddStoreToCollection(candidates, certificate->hCertStore, 0, 0);
  if (anchors)
    CertAddStoreToCollection(candidates, anchors, 0, 0);
  static char serverUse[] = szOID_PKIX_KP_SERVER_AUTH;
  LPSTR uses[] = {serverUse};
  CERT_CHAIN_PARA request;
  memset(&request, 0, sizeof request);
  request.cbSize = sizeof request;
  request.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  request.RequestedUsage.Usage.cUsageIdentifier = 1;
  request.RequestedUsage.Usage.rgpszUsageIdentifier = uses;
  PCCERT_CHAIN_CONTEXT chain = NULL;
  int rc = -1;
  if (!CertGetCertificateChain(NULL, certificate, NULL, candidates, &request, 0, NULL, &chain) ||
      chain->cChain == 0) {
    snprintf(failure, size, "the server's certificate cannot be checked");
  } else {
    const DWORD unknown = CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;
    const DWORD beyondAnchor = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN;
    if ((chain->TrustStatus.dwErrorStatus & ~unknown) == 0) {
      rc = 0;
    } else {
      const CERT_SIMPLE_CHAIN *simple = chain->rgpChain[0];
      DWORD errors = 0;
      for (DWORD i = 0; i < simple->cElement && rc != 0 && errors == 0; i++) {
        const CERT_CHAIN_ELEMENT *element = simple->rgpElement[i];
        errors = element->TrustStatus.dwErrorStatus & ~(unknown | beyondAnchor);
        if (errors == 0 && ftpTlsIsAnchor(anchors, element->pCertContext))
          rc = 0;
      }
      if (rc != 0)
        snprintf(failure, size, "the server's certificate: %s",
                 errors ? ftpTlsChainFault(errors) : "its issuer is not trusted");
    }
  }
  if (chain)
    CertFreeCertificateChain(chain);
  CertCloseStore(candidates, 0);
  return rc;
}

/* The certificate names host: an address (IPv4 or IPv6) among its IP
 * addresses of the same family; a name
 * among its DNS names, or as its common name when it has none. The names
 * are read as encoded, with their stated lengths: a name holding a NUL, or
 * a list that is malformed, names nothing. */
static int ftpTlsNames(PCCERT_CONTEXT certificate, const char *host)
{
  FtpAddress address;
  int isAddress = ftpNetParseNumeric(host, &address) == 0;
  int dnsNames = 0;
  const CERT_INFO *info = certificate->pCertInfo;
  PCERT_EXTENSION extension = CertFindExtension(szOID_SUBJECT_ALT_NAME2, info->cExtension, info->rgExtension);
  if (extension) {
    FtpAltNameReader reader;
    FtpAltName name;
    if (FtpAltNamesOpen(&reader, extension->Value.pbData, extension->Value.cbData) != 0)
      return 0;
    int more;
    while ((more = FtpAltNamesNext(&reader, &name)) > 0) {
      if (name.kind == FTP_ALT_NAME_IP) {
        if (isAddress && FtpCertificateAddressMatches(name.bytes, name.length, &address))
          return 1;
      } else if (name.kind == FTP_ALT_NAME_DNS) {
        dnsNames++;
        if (!isAddress && FtpCertificateDnsNameMatches(name.bytes, name.length, host))
          return 1;
      }
    }
    if (more < 0)
      return 0;
  }
  if (isAddress || dnsNames > 0)
    return 0;
  char common[256] = "";
  DWORD count = CertGetNameStringA(certificate, CERT_NAME_ATTR_TYPE, 0, const_cast<char *>(szOID_COMMON_NAME),
                                   common, sizeof common);
  /* The count includes the terminating zero: any other zero cut the name. */
  return count == strlen(common) + 1 && FtpCertificateNameMatches(common, host);
}

static int ftpTlsVerify(FtpTls *tls, char *failure, size_t size)
{
  PCCERT_CONTEXT certificate = NULL;
  if (QueryContextAttributesA(&tls->context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) != SEC_E_OK ||
      certificate == NULL) {
    snprintf(failure, size, "the server sent no certificate");
    return -1;
  }
  int rc = ftpTlsCheckChain(tls->anchors, certificate, failure, size);
  if (rc == 0 && !ftpTlsNames(certificate, tls->host)) {
    snprintf(failure, size, "the server's certificate does not name %s", tls->host);
    rc = -1;
  }
  CertFreeCertificateContext(certificate);
  return rc;
}

/* After every handshake, the first and any later one (a renegotiation may
 * bring another certificate, and validation is ours): the certificate, the
 * protocol version (TLS 1.2 at least, whatever the system allowed), and the
 * sizes of the records to send, with room for one. 0, or -1 with the reason. */
static int ftpTlsEstablished(FtpTls *tls, char *failure, size_t size)
{
  if (ftpTlsVerify(tls, failure, size) != 0)
    return -1;
  SecPkgContext_ConnectionInfo connection;
  const DWORD older = SP_PROT_SSL2 | SP_PROT_SSL3 | SP_PROT_TLS1_0 | SP_PROT_TLS1_1;
  if (QueryContextAttributesA(&tls->context, SECPKG_ATTR_CONNECTION_INFO, &connection) != SEC_E_OK ||
      (connection.dwProtocol & older) != 0) {
    snprintf(failure, size, "the server offers no protocol version from TLS 1.2 on");
    return -1;
  }
  SecPkgContext_StreamSizes sizes;
  unsigned char *output = NULL;
  if (QueryContextAttributesA(&tls->context, SECPKG_ATTR_STREAM_SIZES, &sizes) != SEC_E_OK ||
      (output = static_cast<unsigned char *>(
           realloc(tls->output, sizes.cbHeader + sizes.cbMaximumMessage + sizes.cbTrailer))) == NULL) {
    snprintf(failure, size, "no room for the connection");
    return -1;
  }
  tls->sizes = sizes;
  tls->output = output;
  return 0;
}

/* The handshake from the input held (first: from the start), each wait
 * within waitMs, the whole before whole (GetTickCount time): SEC_E_OK or the
 * failure's status. Encrypted bytes that follow it stay in input. */
static SECURITY_STATUS ftpTlsHandshake(FtpTls *tls, int first, long waitMs, DWORD whole, int *timedOut)
{
  SECURITY_STATUS status = SEC_I_CONTINUE_NEEDED;
  SecBuffer in[2], out[1];
  SecBufferDesc inDescription, outDescription;
  ftpTlsDescription(&inDescription, in, 2);
  ftpTlsDescription(&outDescription, out, 1);
  DWORD flags;
  if (first) {
    ftpTlsBuffer(&out[0], SECBUFFER_TOKEN, NULL, 0);
    status = InitializeSecurityContextA(&ftpTlsCredentials, NULL, tls->host, tls->request, 0, 0, NULL, 0,
                                        &tls->context, &outDescription, &flags, NULL);
    if (status != SEC_I_CONTINUE_NEEDED)
      return status;
    tls->haveContext = 1;
    int sent = out[0].pvBuffer ? ftpTlsSendRaw(tls, out[0].pvBuffer, out[0].cbBuffer, waitMs) : -1;
    if (out[0].pvBuffer)
      FreeContextBuffer(out[0].pvBuffer);
    if (sent <= 0) {
      *timedOut = sent == 0;
      return SEC_E_INTERNAL_ERROR;
    }
  }
  /* After the first message the server's answer is awaited; a message after
   * the handshake is there already (or its rest is asked for). */
  int needInput = first;
  while (status == SEC_I_CONTINUE_NEEDED || status == SEC_E_INCOMPLETE_MESSAGE ||
         status == SEC_I_INCOMPLETE_CREDENTIALS) {
    if (needInput) {
      long left = static_cast<long>(whole - GetTickCount());
      int got = left > 0 ? ftpTlsReadRaw(tls, left < waitMs ? left : waitMs) : 0;
      if (got <= 0) {
        *timedOut = got == 0;
        return SEC_E_INTERNAL_ERROR;
      }
    }
    ftpTlsBuffer(&in[0], SECBUFFER_TOKEN, tls->input, static_cast<unsigned long>(tls->inputLength));
    ftpTlsBuffer(&in[1], SECBUFFER_EMPTY, NULL, 0);
    ftpTlsBuffer(&out[0], SECBUFFER_TOKEN, NULL, 0);
    status = InitializeSecurityContextA(&ftpTlsCredentials, &tls->context, tls->host, tls->request, 0, 0,
                                        &inDescription, 0, NULL, &outDescription, &flags, NULL);
    needInput = status == SEC_E_INCOMPLETE_MESSAGE;
    if (needInput)
      continue;
    if (status == SEC_I_INCOMPLETE_CREDENTIALS) {
      /* The server asks for a client certificate: there is none to give. */
      if (tls->request & ISC_REQ_USE_SUPPLIED_CREDS)
        return status;
      tls->request |= ISC_REQ_USE_SUPPLIED_CREDS;
      continue;
    }
    if (out[0].pvBuffer) {
      int sent = out[0].cbBuffer ? ftpTlsSendRaw(tls, out[0].pvBuffer, out[0].cbBuffer, waitMs) : 1;
      FreeContextBuffer(out[0].pvBuffer);
      if (sent <= 0) {
        *timedOut = sent == 0;
        return SEC_E_INTERNAL_ERROR;
      }
    }
    if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED)
      return status;
    if (in[1].BufferType == SECBUFFER_EXTRA && in[1].cbBuffer > 0) {
      memmove(tls->input, tls->input + tls->inputLength - in[1].cbBuffer, in[1].cbBuffer);
      tls->inputLength = in[1].cbBuffer;
    } else {
      tls->inputLength = 0;
    }
    needInput = tls->inputLength == 0;
  }
  return status;
}

static void ftpTlsFree(FtpTls *tls)
{
  if (tls->haveContext)
    DeleteSecurityContext(&tls->context);
  if (tls->anchors)
    CertCloseStore(tls->anchors, 0);
  free(tls->output);
  free(tls);
}

FtpTls *ftpTlsConnect(FtpSocket s, const char *host, const FtpTls *resume, long waitMs, char *failure,
                      size_t size)
{
  if (ftpTlsCredentialsReady(failure, size) != 0)
    return NULL;
  FtpTls *tls = static_cast<FtpTls *>(calloc(1, sizeof *tls));
  if (tls == NULL) {
    snprintf(failure, size, "out of memory");
    return NULL;
  }
  tls->socket = s;
  tls->request = FTP_TLS_REQUEST;
  /* The same target name as the control connection: its session is resumed.
   * A data connection is checked as its control connection was, whatever
   * trust file came since. */
  snprintf(tls->host, sizeof tls->host, "%s", resume ? resume->host : host);
  HCERTSTORE anchors = resume ? resume->anchors : ftpTlsAnchors;
  tls->anchors = anchors ? CertDuplicateStore(anchors) : NULL;
  int timedOut = 0;
  DWORD whole = GetTickCount() + static_cast<DWORD>(waitMs * FTP_TLS_HANDSHAKE_WAITS);
  SECURITY_STATUS status = ftpTlsHandshake(tls, 1, waitMs, whole, &timedOut);
  if (status != SEC_E_OK) {
    if (timedOut)
      snprintf(failure, size, "the handshake did not end in time");
    else if (status == SEC_E_INTERNAL_ERROR)
      snprintf(failure, size, "the server ended the connection in the handshake");
    else
      snprintf(failure, size, "the handshake failed (0x%08lx)", static_cast<unsigned long>(status));
    ftpTlsFree(tls);
    return NULL;
  }
  if (ftpTlsEstablished(tls, failure, size) != 0) {
    ftpTlsFree(tls);
    return NULL;
  }
  return tls;
}

long ftpTlsSend(FtpTls *tls, const void *bytes, size_t length, long milliseconds)
{
  const unsigned char *next = static_cast<const unsigned char *>(bytes);
  size_t left = length;
  while (left > 0) {
    size_t piece = left < tls->sizes.cbMaximumMessage ? left : tls->sizes.cbMaximumMessage;
    unsigned char *header = tls->output;
    unsigned char *data = header + tls->sizes.cbHeader;
    memcpy(data, next, piece);
    SecBuffer buffers[4];
    SecBufferDesc description;
    ftpTlsBuffer(&buffers[0], SECBUFFER_STREAM_HEADER, header, tls->sizes.cbHeader);
    ftpTlsBuffer(&buffers[1], SECBUFFER_DATA, data, static_cast<unsigned long>(piece));
    ftpTlsBuffer(&buffers[2], SECBUFFER_STREAM_TRAILER, data + piece, tls->sizes.cbTrailer);
    ftpTlsBuffer(&buffers[3], SECBUFFER_EMPTY, NULL, 0);
    ftpTlsDescription(&description, buffers, 4);
    if (EncryptMessage(&tls->context, 0, &description, 0) != SEC_E_OK)
      return -1;
    int sent = ftpTlsSendRaw(tls, header, buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer,
                             milliseconds);
    if (sent <= 0)
      return sent;
    next += piece;
    left -= piece;
  }
  return static_cast<long>(length);
}

/* Decrypts the record at the start of input: 1 done (plaintext or the end
 * set), 0 more input needed, -1 failure. */
static int ftpTlsDecrypt(FtpTls *tls, long waitMs)
{
  SecBuffer buffers[4];
  SecBufferDesc description;
  int alert = tls->input[0] == 21;   /* the record's type, before TLS 1.3 */
  ftpTlsBuffer(&buffers[0], SECBUFFER_DATA, tls->input, static_cast<unsigned long>(tls->inputLength));
  for (int i = 1; i < 4; i++)
    ftpTlsBuffer(&buffers[i], SECBUFFER_EMPTY, NULL, 0);
  ftpTlsDescription(&description, buffers, 4);
  SECURITY_STATUS status = DecryptMessage(&tls->context, &description, 0, NULL);
  if (status == SEC_E_INCOMPLETE_MESSAGE)
    return 0;
  if (status == SEC_I_CONTEXT_EXPIRED) {
    tls->ended = 1;
    return 1;
  }
  if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE)
    return -1;
  size_t extra = 0;
  for (int i = 0; i < 4; i++) {
    if (buffers[i].BufferType == SECBUFFER_DATA && buffers[i].cbBuffer > 0) {
      tls->plain = static_cast<unsigned char *>(buffers[i].pvBuffer);
      tls->plainLength = buffers[i].cbBuffer;
    }
    if (buffers[i].BufferType == SECBUFFER_EXTRA)
      extra = buffers[i].cbBuffer;
  }
  if (status == SEC_I_RENEGOTIATE) {
    /* A handshake message after the handshake (TLS 1.3's session tickets, a
     * renegotiation): the channel takes it as handshake input, and what it
     * established is checked again as after the first handshake. */
    memmove(tls->input, tls->input + tls->inputLength - extra, extra);
    tls->inputLength = extra;
    tls->plainLength = 0;
    int timedOut = 0;
    char failure[256];
    return ftpTlsHandshake(tls, 0, waitMs, GetTickCount() + static_cast<DWORD>(waitMs), &timedOut) == SEC_E_OK &&
                   ftpTlsEstablished(tls, failure, sizeof failure) == 0
               ? 1 : -1;
  }
  tls->extraLength = extra;
  if (tls->plainLength == 0 && alert) {
    /* Wine's Secure Channel gives the server's close notification as an
     * alert record of nothing where Windows' says SEC_I_CONTEXT_EXPIRED. */
    tls->ended = 1;
    return 1;
  }
  if (tls->plainLength == 0) {
    memmove(tls->input, tls->input + tls->inputLength - extra, extra);
    tls->inputLength = extra;
  }
  return 1;
}

long ftpTlsReceive(FtpTls *tls, void *buffer, size_t size, long milliseconds)
{
  DWORD start = GetTickCount();
  for (;;) {
    if (tls->plainLength > 0) {
      size_t count = tls->plainLength < size ? tls->plainLength : size;
      memcpy(buffer, tls->plain, count);
      tls->plain += count;
      tls->plainLength -= count;
      if (tls->plainLength == 0) {
        /* The record is delivered: what came after it moves to the front. */
        memmove(tls->input, tls->input + tls->inputLength - tls->extraLength, tls->extraLength);
        tls->inputLength = tls->extraLength;
        tls->extraLength = 0;
      }
      return static_cast<long>(count);
    }
    if (tls->ended)
      return tls->ended > 0 ? 0 : -1;
    int decrypted = tls->inputLength > 0 ? ftpTlsDecrypt(tls, milliseconds) : 0;
    if (decrypted < 0) {
      tls->ended = -1;
      continue;
    }
    if (decrypted > 0)
      continue;
    long left = milliseconds - static_cast<long>(GetTickCount() - start);
    int got = left > 0 ? ftpTlsReadRaw(tls, left) : 0;
    if (got == 0)
      return FTP_NET_TIMED_OUT;
    if (got < 0)
      tls->ended = -1;   /* an end without the close notification: data may be cut */
  }
}

void ftpTlsClose(FtpTls *tls, long milliseconds)
{
  DWORD start = GetTickCount();
  DWORD type = SCHANNEL_SHUTDOWN;
  SecBuffer control[1], out[1];
  SecBufferDesc controlDescription, outDescription;
  ftpTlsBuffer(&control[0], SECBUFFER_TOKEN, &type, sizeof type);
  ftpTlsDescription(&controlDescription, control, 1);
  if (tls->haveContext && ApplyControlToken(&tls->context, &controlDescription) == SEC_E_OK) {
    ftpTlsBuffer(&out[0], SECBUFFER_TOKEN, NULL, 0);
    ftpTlsDescription(&outDescription, out, 1);
    DWORD flags;
    InitializeSecurityContextA(&ftpTlsCredentials, &tls->context, tls->host, tls->request, 0, 0, NULL, 0, NULL,
                               &outDescription, &flags, NULL);
    int sent = 0;
    if (out[0].pvBuffer) {
      if (out[0].cbBuffer)
        sent = ftpTlsSendRaw(tls, out[0].pvBuffer, out[0].cbBuffer, milliseconds);
      FreeContextBuffer(out[0].pvBuffer);
    }
    if (sent > 0 && milliseconds > 0) {
      /* Ours went (and the socket's end after it, for a server that waits
       * for that): what the server still sends is read up to its own, all
       * of it within the one bound, however it trickles. */
      shutdown(static_cast<SOCKET>(static_cast<unsigned int>(tls->socket)), SD_SEND);
      char rest[4096];
      for (;;) {
        long left = milliseconds - static_cast<long>(GetTickCount() - start);
        if (left <= 0 || ftpTlsReceive(tls, rest, sizeof rest, left) <= 0)
          break;
      }
    }
  }
  ftpTlsFree(tls);
}

void ftpTlsDrop(FtpTls *tls)
{
  ftpTlsFree(tls);
}

// ProductRegistration: the submission driver, its exchanges with the gateway,
// the SOCKS 4 handshake, the auto-configuration fetch and name resolution.
#include "net/product_registration.h"

#include <chrono>
#include <cstring>

#include "app/diagnostics.h"
#include "app/options.h"
#include "app/reg_exception.h"
#include "framework/file.h"
#include "framework/os_version.h"
#include "framework/registry_readers.h"
#include "net/browser_settings.h"
#include "net/socket_failures.h"
#include "net/socks_request.h"
#include "net/tls.h"
#include "string_ids.h"
#include "tables/operator_data.h"
#include "tables/text_tests.h"

// When an exchange must be over: each wait for data has the time-out, and
// the exchange as a whole a few of them, so that a peer that sends a byte
// just before each wait would end cannot hold the window for days.
class ExchangeDeadline {
public:
  explicit ExchangeDeadline(int timeoutSeconds)
    : end_(std::chrono::steady_clock::now() + std::chrono::seconds(exchangeTimeLimit(timeoutSeconds)))
  {
  }
  // Whole seconds left, rounded up; 0 when the time is over.
  long secondsLeft() const
  {
    auto left = end_ - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero())
      return 0;
    return static_cast<long>(std::chrono::ceil<std::chrono::seconds>(left).count());
  }

private:
  std::chrono::steady_clock::time_point end_;
};

namespace {

const char internetSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const int receiveBufferSize = 4096;
// The most of a proxy's answer to a tunnel request that is read.
const int tunnelAnswerLimit = 16 * 1024;

CString decimal(long value)
{
  CString text;
  text.Format("%ld", value);
  return text;
}

// Ports stay text until a socket address needs them: htons(atoi(text)).
unsigned short portNumber(const CString& text)
{
  return static_cast<unsigned short>(atoiText(text));
}

[[noreturn]] void fail(const CString& shown)
{
  throw newRegExceptionWithPrefix(connectionFailureMessage, shown);
}

[[noreturn]] void failWithText(UINT id)
{
  fail(loadText(id));
}

[[noreturn]] void cleanUpAndFail(UINT id)
{
  socketCleanup();
  failWithText(id);
}

[[noreturn]] void failWith(const SocketFailureText& text)
{
  writeDiagnosticLine(text.written);
  fail(text.shown);
}

// A failed Winsock call: the code is taken before WSACleanup, which may change it.
[[noreturn]] void socketFailure(SocketOperation operation)
{
  int code = lastSocketError();
  socketCleanup();
  failWith(socketFailureText(operation, code));
}

[[noreturn]] void timedOut()
{
  socketCleanup();
  failWith(timedOutText());
}

// select for the socket with the time-out, cut to what is left of the
// exchange: a wait that ends without data or fails ends the submission.
void waitForData(SocketHandle s, int timeoutSeconds, SocketOperation operation, const ExchangeDeadline& deadline)
{
  long limit = timeoutSeconds;
  long left = deadline.secondsLeft();
  if (left == 0)
    timedOut();
  if (limit > left)
    limit = left;
  int ready = waitReadable(s, limit);
  if (ready == 0)
    timedOut();
  if (ready < 0)
    socketFailure(operation);
}

// The bytes of one exchange: the socket itself, or a TLS connection over it
// (an https target). Every wait for data is the exchange's.
class ExchangeChannel {
public:
  ExchangeChannel(SocketHandle s, int timeoutSeconds, const ExchangeDeadline& deadline)
    : socket_(s), timeoutSeconds_(timeoutSeconds), deadline_(deadline), tls_(nullptr)
  {
  }

  TlsConnection* tls() const { return tls_; }
  void useTls(TlsConnection* tls) { tls_ = tls; }

  // Until the socket is readable; the submission ends when the time is over.
  void wait() const { waitForData(socket_, timeoutSeconds_, operationDataWait, deadline_); }
  SocketWait waiter() const
  {
    return [this] { wait(); };
  }

  // The plain socket takes the text with one send call; TLS takes all of it.
  int send(const CString& text)
  {
    if (tls_)
      return tls_->send(text, text.GetLength());
    return sendBytes(socket_, static_cast<const char*>(text), text.GetLength());
  }

  // What came, after waiting for it: the count, 0 at the end, -1 on failure.
  int receive(char* buffer, int size)
  {
    if (tls_)
      return tls_->receive(buffer, size, waiter());
    wait();
    return receiveBytes(socket_, buffer, size);
  }

  // The code of the failed receive's socket call, taken at once.
  int receiveError() const
  {
    return tls_ ? tls_->socketError() : lastSocketError();
  }

private:
  SocketHandle socket_;
  int timeoutSeconds_;
  const ExchangeDeadline& deadline_;
  TlsConnection* tls_;
};

// An https exchange's socket, closed on every way out of the exchange:
// Secure Channel may keep a start-up of Windows Sockets of its own (Wine's
// does), and then the clean-up that a failure relies on leaves the socket
// open. After the final clean-up the close fails, harmlessly.
class SecureExchangeSocket {
public:
  SecureExchangeSocket(SocketHandle s, bool secure) : socket_(s), open_(secure) {}
  ~SecureExchangeSocket()
  {
    if (open_)
      closeSocket(socket_);
  }
  SecureExchangeSocket(const SecureExchangeSocket&) = delete;
  SecureExchangeSocket& operator=(const SecureExchangeSocket&) = delete;
  // The exchange closed it itself.
  void closed() { open_ = false; }

private:
  SocketHandle socket_;
  bool open_;
};

// A failed receive: the socket's code (579 and the code), or what TLS found.
[[noreturn]] void receiveFailure(const ExchangeChannel& channel, int error)
{
  socketCleanup();
  TlsConnection* tls = channel.tls();
  if (tls && tls->failure() != tlsSocketFailed) {
    writeDiagnosticLine("TLS failed: " + tls->failureDetail());
    fail(tlsFailureText(tls->failure()));
  }
  writeDiagnosticLine("Socket Error: " + decimal(error));
  fail(loadText(IDS_RECEIVE_FAILED) + decimal(error));
}

// The whole response, read until the peer closes: each chunk of up to 4,096
// bytes is a zero-terminated text (a zero byte ends the part of it used),
// written as a diagnostic line and appended. The last recv result comes
// back; after a failed recv, error holds its code, taken at once.
int receiveResponse(ExchangeChannel& channel, CString& response, int& error)
{
  char buffer[receiveBufferSize + 1];
  int received = channel.receive(buffer, receiveBufferSize);
  while (received != 0 && received != -1) {
    writeDiagnosticLine("Receiving data returned " + decimal(received));
    buffer[received] = '\0';
    CString chunk(buffer);
    if (response.GetLength() > responseLimit - chunk.GetLength()) {
      socketCleanup();
      failWith({loadText(IDS_RESPONSE_TOO_LONG), loadText(IDS_RESPONSE_TOO_LONG)});
    }
    writeDiagnosticLine(chunk);
    response += chunk;
    received = channel.receive(buffer, receiveBufferSize);
  }
  error = received == -1 ? channel.receiveError() : 0;
  if (received == 0 && channel.tls() && channel.tls()->endedWithoutNotification())
    writeDiagnosticLine("The server ended the TLS connection without its close notification");
  return received;
}

// Writes a request and its length, sends it and writes the result.
void sendRequest(ExchangeChannel& channel, const CString& request, const char* what)
{
  writeDiagnosticLine(request);
  writeDiagnosticLine("Length: " + decimal(request.GetLength()));
  int sent = channel.send(request);
  writeDiagnosticLine(CString("Sending the ") + what + " returned " + decimal(sent));
}

// Asks the HTTP proxy for a tunnel to an https target and reads its answer
// up to the end of its head: anything but "HTTP/1.x 200" and a head alone
// ends the submission as a failed post with the proxy's status line.
void openTunnel(ExchangeChannel& channel, const ExchangeTarget& target)
{
  sendRequest(channel, tunnelRequest(target), "tunnel request");
  CString answer;
  char buffer[receiveBufferSize + 1];
  while (!tunnelAnswerComplete(answer) && answer.GetLength() < tunnelAnswerLimit) {
    int received = channel.receive(buffer, receiveBufferSize);
    if (received == -1)
      receiveFailure(channel, channel.receiveError());
    if (received == 0)
      break;
    writeDiagnosticLine("Receiving data returned " + decimal(received));
    buffer[received] = '\0';
    CString chunk(buffer);
    writeDiagnosticLine(chunk);
    answer += chunk;
  }
  if (!tunnelEstablished(answer)) {
    socketCleanup();
    CString status = shownStatusLine(answer);
    fail(status.IsEmpty() ? loadText(IDS_POST_FAILED) : loadText(IDS_POST_FAILED) + " " + status);
  }
}

// The TLS handshake with the target over the connected socket (or tunnel):
// a server that is not verified ends the submission with the reason.
void startTls(ExchangeChannel& channel, TlsConnection& tls, const CString& host)
{
  writeDiagnosticLine("TLS handshake with " + host);
  if (!tls.handshake(channel.waiter())) {
    writeDiagnosticLine("TLS failed: " + tls.failureDetail());
    socketCleanup();
    if (tls.failure() == tlsSocketFailed)
      failWith(socketFailureText(operationDataWait, tls.socketError()));
    fail(tlsFailureText(tls.failure()));
  }
  writeDiagnosticLine("TLS established: " + tls.description());
  channel.useTls(&tls);
}

int connectOrFail(SocketHandle s, const SocketAddress& to)
{
  int result = connectSocket(s, to);
  writeDiagnosticLine("Connecting returned " + decimal(result));
  if (result == -1)
    socketFailure(operationConnect);
  return result;
}

// A CException while opening (stage 1), reading (2) or closing (3) prefs.js
// becomes message 127 with the exception's own message.
[[noreturn]] void prefsFailure(int stage, CException* e, CStdioFile* file)
{
  if (file) {
    file->Abort();
    delete file;
  }
  char message[1024];
  message[0] = '\0';
  e->GetErrorMessage(message, sizeof message);
  writeDiagnosticLine("ProductRegistration CException (" + decimal(stage) + ") for doPost:" + message);
  e->Delete();
  fail(message);
}

void readPrefsFile(const CString& path, ConnectionSettings& settings)
{
  writeDiagnosticLine("Opening file: " + path);
  CStdioFile* file = nullptr;
  try {
    file = new CStdioFile(path, CFile::modeRead | CFile::typeText);
  } catch (CException* e) {
    prefsFailure(1, e, nullptr);
  }
  writeDiagnosticLine("Parsing prefs.js");
  try {
    collectPrefs(*file, settings);
  } catch (CException* e) {
    prefsFailure(2, e, file);
  }
  try {
    file->Close();
  } catch (CException* e) {
    prefsFailure(3, e, file);
  }
  delete file;
}

// The proxy if there is one (for an https first target the proxy for secure
// connections too), else the SOCKS server, with their default ports;
// otherwise what the caller says.
int proxyOrSocks(ConnectionSettings& settings, int otherwise, bool secureTarget)
{
  if (!settings.proxyHost.IsEmpty() || (secureTarget && !settings.secureProxyHost.IsEmpty())) {
    if (!settings.proxyHost.IsEmpty() && settings.proxyPort.IsEmpty())
      settings.proxyPort = "80";
    if (!settings.secureProxyHost.IsEmpty() && settings.secureProxyPort.IsEmpty())
      settings.secureProxyPort = "80";
    return connectionProxy;
  }
  if (!settings.socksHost.IsEmpty()) {
    if (settings.socksPort.IsEmpty())
      settings.socksPort = "1080";
    return connectionSocks;
  }
  return otherwise;
}

}  // namespace

// The state of the exchanges of one doPost call.
struct ProductRegistration::Exchanges {
  int type;
  SocketAddress connection;   // types 3 and 4: the SOCKS server or proxy throughout
  bool again;
  int redirections;
  bool confirmed;
  int timeoutSeconds;
  CString gateway;
  ExchangeTarget target;
  // Type 4: the proxy, and the one for secure connections where the browser
  // names one; each resolved when an exchange first goes through it.
  ConnectionSettings proxies;
  SocketAddress proxyAddress[2];
  bool proxyResolved[2];
};

namespace {

// Which proxy an exchange goes through: 1 the one for secure connections
// (an https target, when the browser names one), else 0.
int proxyFor(const ConnectionSettings& proxies, bool secure)
{
  return secure && !proxies.secureProxyHost.IsEmpty() ? 1 : 0;
}

}  // namespace

ProductRegistration::ProductRegistration() : hostEntry_(nullptr), address_{{0, 0, 0, 0}} {}

ProductRegistration::~ProductRegistration() = default;

CString ProductRegistration::stripScheme(const CString& text) const
{
  return ::stripScheme(text);
}

CString ProductRegistration::prefsValue(const CString& line, const char* key) const
{
  return ::prefsValue(line, key);
}

int ProductRegistration::resolveHost(const CString& name)
{
  if (!containsLetter(name)) {
    if (!inetAddr(name, address_)) {
      writeDiagnosticLine("DNS failed: Could not convert IP address");
      return -1;
    }
    return 0;
  }
  hostEntry_ = getHostByName(name);
  if (hostEntry_) {
    address_ = hostEntry_->firstAddress;
    return 0;
  }
  int code = lastSocketError();
  writeDiagnosticLine("DNS failed resolving: " + name);
  NameLookupFailure failure = nameLookupFailure(code);
  writeDiagnosticLine(failure.line);
  if (failure.answer == -1)
    cleanUpAndFail(IDS_DNS_FAILED);
  return failure.answer;
}

void ProductRegistration::resolveOrFail(const CString& name)
{
  int answer = resolveHost(name);
  if (answer == -2)
    answer = resolveHost(name);
  if (answer != 0)
    cleanUpAndFail(IDS_DNS_FAILED);
}

int ProductRegistration::browserConnectionType(ConnectionSettings& settings, bool secureTarget)
{
  CString browser = readRegistryText(registryClassesRoot, ".htm", "");
  if (browser.IsEmpty())
    failWithText(IDS_NO_DEFAULT_BROWSER);
  if (browser.CompareNoCase("NetscapeMarkup") == 0)
    return netscapeConnectionType(settings, secureTarget);
  if (browser.CompareNoCase("htmlfile") == 0)
    return internetExplorerConnectionType(settings, secureTarget);
  return connectionUndetermined;
}

int ProductRegistration::internetExplorerConnectionType(ConnectionSettings& settings, bool secureTarget)
{
  writeDiagnosticLine("Default browser: Internet Explorer");
  int enabled = readRegistryNumber(registryCurrentUser, internetSettingsKey, "ProxyEnable");
  if (enabled == -1)
    return connectionUndetermined;
  settings.autoConfigUrl = readRegistryText(registryCurrentUser, internetSettingsKey, "AutoConfigURL");
  splitProxyServer(readRegistryText(registryCurrentUser, internetSettingsKey, "ProxyServer"), settings);
  if (enabled != 0)
    return proxyOrSocks(settings, connectionUndetermined, secureTarget);
  return settings.autoConfigUrl.IsEmpty() ? connectionDirect : connectionAutoConfig;
}

int ProductRegistration::netscapeConnectionType(ConnectionSettings& settings, bool secureTarget)
{
  writeDiagnosticLine("Default browser: Netscape");
  CString path = findNetscapeUserFile("prefs.js");
  writeDiagnosticLine("Returned prefs.js path: " + path);
  if (path.IsEmpty())
    failWithText(IDS_NO_NETSCAPE_SETTINGS);
  readPrefsFile(path, settings);
  writeDiagnosticLine("Determining connection type");
  const CString& proxyType = settings.netscapeProxyType;
  if (proxyType.IsEmpty())
    return proxyOrSocks(settings, connectionDirect, secureTarget);
  if (proxyType == "2")
    return connectionAutoConfig;
  if (proxyType == "1")
    return proxyOrSocks(settings, connectionUndetermined, secureTarget);
  return connectionUndetermined;
}

int ProductRegistration::fetchAutoConfig(const CString& url, CString& proxyHost, CString& proxyPort,
                                         CString& socksHost, CString& socksPort, int timeoutSeconds)
{
  int started = socketStartup();
  if (started != 0) {
    socketCleanup();
    failWith(socketFailureText(operationStartup, started));
  }
  AutoConfigLocation where = splitAutoConfigUrl(url);
  writeDiagnosticText(where.host + ":" + where.portText + where.path + "\n");

  ExchangeDeadline deadline(timeoutSeconds);
  SocketHandle s = openStreamSocket();
  if (s == invalidSocket) {
    int code = lastSocketError();
    socketCleanup();
    failWith(autoConfigSocketFailureText(code));
  }
  resolveOrFail(where.host);
  connectOrFail(s, SocketAddress{portNumber(where.portText), address_});
  ExchangeChannel channel(s, timeoutSeconds, deadline);
  sendRequest(channel, "GET " + where.path + "\n", "data request");

  CString script;
  int error = 0;
  if (receiveResponse(channel, script, error) == -1) {
    socketCleanup();
    fail(loadText(IDS_RECEIVE_FAILED) + decimal(error));
  }
  closeSocket(s);
  socketCleanup();

  ConnectionSettings settings;
  settings.proxyHost = proxyHost;
  settings.proxyPort = proxyPort;
  settings.socksHost = socksHost;
  settings.socksPort = socksPort;
  int type = readAutoConfigScript(script, settings);
  proxyHost = settings.proxyHost;
  proxyPort = settings.proxyPort;
  socksHost = settings.socksHost;
  socksPort = settings.socksPort;
  return type;
}

void ProductRegistration::socksHandshake(SocketHandle s, int timeoutSeconds, const ExchangeDeadline& deadline,
                                         unsigned short port, const Ipv4Address& address)
{
  SocksRequest request = socksConnectRequest(port, address);
  writeDiagnosticLine("Sending request to socks server returned " +
                      decimal(sendBytes(s, request.bytes, sizeof request.bytes)));
  // The user id one byte per call, its terminating zero included.
  for (const char* c = socksUserId;; ++c) {
    writeDiagnosticLine("Sending char of userid returned " + decimal(sendBytes(s, c, 1)));
    if (*c == '\0')
      break;
  }
  waitForData(s, timeoutSeconds, operationSocksWait, deadline);
  unsigned char reply[8] = {0};   // nothing received leaves the reply code at 0
  writeDiagnosticLine("Receiving reply from socks returned " +
                      decimal(receiveBytes(s, reply, sizeof reply)));
  if (!socksReplyGranted(reply))
    cleanUpAndFail(IDS_SOCKS_FAILED);
}

void ProductRegistration::useProxy(Exchanges& state, bool tunnel)
{
  const int which = proxyFor(state.proxies, state.target.secure);
  const CString& host = which == 1 ? state.proxies.secureProxyHost : state.proxies.proxyHost;
  const CString& port = which == 1 ? state.proxies.secureProxyPort : state.proxies.proxyPort;
  if (tunnel)
    writeDiagnosticLine(CString(which == 1 ? "Tunnel through the proxy server for secure connections: "
                                           : "Tunnel through the proxy server: ") +
                        host + ":" + port);
  if (!state.proxyResolved[which]) {
    resolveOrFail(host);
    state.proxyAddress[which] = SocketAddress{portNumber(port), address_};
    state.proxyResolved[which] = true;
  }
  state.connection = state.proxyAddress[which];
}

void ProductRegistration::exchange(Exchanges& state)
{
  ExchangeDeadline deadline(state.timeoutSeconds);
  SocketHandle s = openStreamSocket();
  if (s == invalidSocket)
    socketFailure(operationSocketCreation);
  SecureExchangeSocket secureSocket(s, state.target.secure);
  state.again = false;
  ExchangeTarget& target = state.target;
  resolveOrFail(target.host);
  unsigned short port = portNumber(target.portText);
  Ipv4Address targetAddress = address_;
  if (state.type == connectionDirect)
    state.connection = SocketAddress{port, targetAddress};
  writeDiagnosticLine(target.host + ":" + target.portText + target.pathPrefix);
  if (state.type == connectionProxy)
    useProxy(state, target.secure);
  connectOrFail(s, state.connection);
  if (state.type == connectionSocks)
    socksHandshake(s, state.timeoutSeconds, deadline, port, targetAddress);
  ExchangeChannel channel(s, state.timeoutSeconds, deadline);
  std::unique_ptr<TlsConnection> tls;
  if (target.secure) {
    if (state.type == connectionProxy)
      openTunnel(channel, target);
    tls.reset(new TlsConnection(s, target.host));
    startTls(channel, *tls, target.host);
  }
  sendRequest(channel, requestLine(state.type, target), "data request");

  CString response;
  int error = 0;
  int last = receiveResponse(channel, response, error);
  closeSocket(s);
  secureSocket.closed();
  if (last == -1)
    receiveFailure(channel, error);
  writeDiagnosticLine("Last value returned by recv: " + decimal(last));
  writeDiagnosticLine("Last error value: " + decimal(lastSocketError()));

  switch (classifyResponse(response)) {
  case responseRefused:
    // The proxy's or server's own error: nothing in its page is followed.
    socketCleanup();
    fail(loadText(IDS_POST_FAILED) + " " + shownStatusLine(response));
  case responseLocation:
    state.again = true;
    ++state.redirections;
    if (!redirectByLocation(response, state.gateway, target))
      cleanUpAndFail(IDS_BAD_REDIRECTION);
    break;
  case responseLink:
    state.again = true;
    ++state.redirections;
    if (!redirectByLink(response, state.gateway, target))
      cleanUpAndFail(IDS_BAD_REDIRECTION);
    break;
  case responseConfirmed:
    state.confirmed = true;
    break;
  case responseNotConfirmed:
    cleanUpAndFail(IDS_POST_FAILED);
  }
}

int ProductRegistration::postRegistration(const CString& request)
{
  int timeoutSeconds = atoiText(Options::instance().timeout());
  CString target = registrationTarget(Options::instance().connect());
  return doPost(request, timeoutSeconds, target, gatewayPath);
}

int ProductRegistration::doPost(const char* request, int timeoutSeconds, const char* target, const char* gateway)
{
  if (!request)
    request = "";
  if (!target)
    target = "";
  if (!gateway)
    gateway = "";
  // The fixed buffers: a longer text is refused, never cut or overrun.
  size_t requestLength = std::strlen(request);
  if (requestLength >= static_cast<size_t>(requestBufferSize)) {
    writeDiagnosticLine("Request text too long: " + decimal(static_cast<long>(requestLength)) + " characters");
    failWithText(IDS_REQUEST_TOO_LONG);
  }
  size_t targetLength = std::strlen(target);
  if (targetLength >= static_cast<size_t>(targetBufferSize)) {
    writeDiagnosticLine("Target text too long: " + decimal(static_cast<long>(targetLength)) + " characters");
    failWithText(IDS_TARGET_TOO_LONG);
  }

  OsVersion version = currentOsVersion();
  writeDiagnosticLine("OS: " + operatingSystemName(version));
  writeDiagnosticLine("Version: " + operatingSystemVersion(version));

  ConnectionSettings settings;
  ExchangeTarget first = firstExchangeTarget(target, CString(gateway) + request);
  int type = browserConnectionType(settings, first.secure);
  if (type == connectionAutoConfig) {
    writeDiagnosticLine("Connection type: Autoconfig URL");
    writeDiagnosticLine("Autoconfig URL: " + settings.autoConfigUrl);
    type = fetchAutoConfig(settings.autoConfigUrl, settings.proxyHost, settings.proxyPort, settings.socksHost,
                           settings.socksPort, timeoutSeconds);
  }
  switch (type) {
  case connectionDirect:
    writeDiagnosticLine("Connection type: Direct");
    break;
  case connectionSocks:
    writeDiagnosticLine("Connection type: Socks");
    writeDiagnosticLine("Socks server: " + settings.socksHost + ":" + settings.socksPort);
    break;
  case connectionProxy:
    writeDiagnosticLine("Connection type: Proxy");
    if (!settings.proxyHost.IsEmpty())
      writeDiagnosticLine("Proxy server: " + settings.proxyHost + ":" + settings.proxyPort);
    if (first.secure && !settings.secureProxyHost.IsEmpty())
      writeDiagnosticLine("Proxy server for secure connections: " + settings.secureProxyHost + ":" +
                          settings.secureProxyPort);
    break;
  default:
    writeDiagnosticLine("Connection type could not be determined.");
    failWithText(IDS_CONNECTION_UNDETERMINED);
  }

  int started = socketStartup();
  if (started != 0) {
    socketCleanup();
    failWith(socketFailureText(operationStartup, started));
  }

  Exchanges state{type, SocketAddress{0, {{0, 0, 0, 0}}}, true, 0, false, timeoutSeconds, gateway, first, settings,
                  {}, {false, false}};
  writeDiagnosticText(state.target.host + ":" + state.target.portText + state.target.pathPrefix + "\n" +
                      state.target.gatewayText + "\n");
  writeDiagnosticLine(loadText(IDS_VERSION));

  // The first hop: the SOCKS server or proxy, the same for every exchange
  // (an https target may go through a proxy of its own).
  if (type == connectionSocks) {
    resolveOrFail(settings.socksHost);
    state.connection = SocketAddress{portNumber(settings.socksPort), address_};
  } else if (type == connectionProxy) {
    useProxy(state, false);
  }

  while (state.again && state.redirections < maxRedirections)
    exchange(state);

  socketCleanup();
  if (!state.confirmed && state.redirections > maxRedirections - 1)
    failWithText(IDS_TOO_MANY_REDIRECTIONS);
  return 1;
}

int exchangeTimeLimit(int timeoutSeconds)
{
  return exchangeTimeoutMultiple * (timeoutSeconds > 1 ? timeoutSeconds : 1);
}

CString registrationTarget(const CString& connectOption)
{
  // The operator's targets name no scheme; an https gateway is said once.
  CString scheme = registrationServerSecure ? "https://" : "";
  if (connectOption.CompareNoCase("Direct") == 0)
    return scheme + registrationServerHost;
  if (connectOption.CompareNoCase("DirectIP") == 0)
    return scheme + registrationServerAddress;
  return scheme + loadText(IDS_WEB_TARGET);
}

// ProductRegistration: the submission driver, its exchanges with the gateway,
// the SOCKS 4 handshake, the auto-configuration fetch and name resolution.
#include "net/product_registration.h"

#include <chrono>
#include <cstring>

#include "app/diagnostics.h"
#include "app/options.h"
#include "app/reg_exception.h"
#include "framework/os_version.h"
#include "framework/file.h"
#include "net/browser_settings.h"
#include "net/registry_readers.h"
#include "net/socket_failures.h"
#include "net/socks_request.h"
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

// The whole response, read until the peer closes: each chunk of up to 4,096
// bytes is a zero-terminated text (a zero byte ends the part of it used),
// written as a diagnostic line and appended. The last recv result comes
// back; after a failed recv, error holds its code, taken at once.
int receiveResponse(SocketHandle s, int timeoutSeconds, const ExchangeDeadline& deadline, CString& response,
                    int& error)
{
  char buffer[receiveBufferSize + 1];
  waitForData(s, timeoutSeconds, operationDataWait, deadline);
  int received = receiveBytes(s, buffer, receiveBufferSize);
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
    waitForData(s, timeoutSeconds, operationDataWait, deadline);
    received = receiveBytes(s, buffer, receiveBufferSize);
  }
  error = received == -1 ? lastSocketError() : 0;
  return received;
}

// Writes a request line and its length, sends it with one call and writes the result.
void sendRequestLine(SocketHandle s, const CString& line)
{
  writeDiagnosticLine(line);
  writeDiagnosticLine("Length: " + decimal(line.GetLength()));
  int sent = sendBytes(s, static_cast<const char*>(line), line.GetLength());
  writeDiagnosticLine("Sending the data request returned " + decimal(sent));
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

// The proxy if there is one, else the SOCKS server, with their default ports;
// otherwise what the caller says.
int proxyOrSocks(ConnectionSettings& settings, int otherwise)
{
  if (!settings.proxyHost.IsEmpty()) {
    if (settings.proxyPort.IsEmpty())
      settings.proxyPort = "80";
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
};

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

int ProductRegistration::browserConnectionType(ConnectionSettings& settings)
{
  CString browser = readRegistryText(registryClassesRoot, ".htm", "");
  if (browser.IsEmpty())
    failWithText(IDS_NO_DEFAULT_BROWSER);
  if (browser.CompareNoCase("NetscapeMarkup") == 0)
    return netscapeConnectionType(settings);
  if (browser.CompareNoCase("htmlfile") == 0)
    return internetExplorerConnectionType(settings);
  return connectionUndetermined;
}

int ProductRegistration::internetExplorerConnectionType(ConnectionSettings& settings)
{
  writeDiagnosticLine("Default browser: Internet Explorer");
  int enabled = readRegistryNumber(registryCurrentUser, internetSettingsKey, "ProxyEnable");
  if (enabled == -1)
    return connectionUndetermined;
  settings.autoConfigUrl = readRegistryText(registryCurrentUser, internetSettingsKey, "AutoConfigURL");
  splitProxyServer(readRegistryText(registryCurrentUser, internetSettingsKey, "ProxyServer"), settings);
  if (enabled != 0)
    return proxyOrSocks(settings, connectionUndetermined);
  return settings.autoConfigUrl.IsEmpty() ? connectionDirect : connectionAutoConfig;
}

int ProductRegistration::netscapeConnectionType(ConnectionSettings& settings)
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
    return proxyOrSocks(settings, connectionDirect);
  if (proxyType == "2")
    return connectionAutoConfig;
  if (proxyType == "1")
    return proxyOrSocks(settings, connectionUndetermined);
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
  sendRequestLine(s, "GET " + where.path + "\n");

  CString script;
  int error = 0;
  if (receiveResponse(s, timeoutSeconds, deadline, script, error) == -1) {
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

void ProductRegistration::exchange(Exchanges& state)
{
  ExchangeDeadline deadline(state.timeoutSeconds);
  SocketHandle s = openStreamSocket();
  if (s == invalidSocket)
    socketFailure(operationSocketCreation);
  state.again = false;
  ExchangeTarget& target = state.target;
  resolveOrFail(target.host);
  unsigned short port = portNumber(target.portText);
  Ipv4Address targetAddress = address_;
  if (state.type == connectionDirect)
    state.connection = SocketAddress{port, targetAddress};
  writeDiagnosticLine(target.host + ":" + target.portText + target.pathPrefix);
  connectOrFail(s, state.connection);
  if (state.type == connectionSocks)
    socksHandshake(s, state.timeoutSeconds, deadline, port, targetAddress);
  sendRequestLine(s, requestLine(state.type, target));

  CString response;
  int error = 0;
  int last = receiveResponse(s, state.timeoutSeconds, deadline, response, error);
  closeSocket(s);
  if (last == -1) {
    socketCleanup();
    writeDiagnosticLine("Socket Error: " + decimal(error));
    fail(loadText(IDS_RECEIVE_FAILED) + decimal(error));
  }
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
  int type = browserConnectionType(settings);
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
    writeDiagnosticLine("Proxy server: " + settings.proxyHost + ":" + settings.proxyPort);
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

  Exchanges state{type, SocketAddress{0, {{0, 0, 0, 0}}}, true, 0, false, timeoutSeconds, gateway,
                  firstExchangeTarget(target, CString(gateway) + request)};
  writeDiagnosticText(state.target.host + ":" + state.target.portText + state.target.pathPrefix + "\n" +
                      state.target.gatewayText + "\n");
  writeDiagnosticLine(loadText(IDS_VERSION));

  // The first hop: the SOCKS server or proxy, the same for every exchange.
  if (type == connectionSocks || type == connectionProxy) {
    const CString& host = type == connectionSocks ? settings.socksHost : settings.proxyHost;
    const CString& port = type == connectionSocks ? settings.socksPort : settings.proxyPort;
    resolveOrFail(host);
    state.connection = SocketAddress{portNumber(port), address_};
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
  if (connectOption.CompareNoCase("Direct") == 0)
    return registrationServerHost;
  if (connectOption.CompareNoCase("DirectIP") == 0)
    return registrationServerAddress;
  return loadText(IDS_WEB_TARGET);
}

// The scripted ICMP port of the ping tests (see ping_fake_icmp.h), linked
// in place of the platform's body of ping/icmp.h.
#include "ping_fake_icmp.h"

#include <cstring>

#include "ftp/parse.h"
#include "ping/icmp.h"
#include "ping/ping.h"

FakeIcmp &fakeIcmp()
{
  static FakeIcmp instance;
  return instance;
}

void fakeIcmpReset()
{
  fakeIcmp() = FakeIcmp();
}

std::function<std::string(const std::vector<std::string> &)> fakeEchoReply(
    size_t n, std::function<void(std::string &)> edit, bool withIpHeader)
{
  return [=](const std::vector<std::string> &requests) {
    std::string icmp = n < requests.size() ? requests[n] : std::string(64, '\0');
    icmp[0] = ICMP_ECHO_REPLY_TYPE;
    if (edit)
      edit(icmp);
    if (!withIpHeader)
      return icmp;
    std::string header(20, '\0');
    header[0] = 0x45;
    return header + icmp;
  };
}

static const PingSocket FAKE_RAW = 7, FAKE_DATAGRAM = 8;

int pingProtocol(int family, int *protocol)
{
  *protocol = family == FTP_IPV6 ? 58 : 1;
  fakeIcmp().families.push_back(family);
  return fakeIcmp().protocolKnown ? 0 : -1;
}

PingSocket pingOpenRaw(int, int)
{
  if (!fakeIcmp().rawAllowed)
    return PING_NO_SOCKET;
  fakeIcmp().socketsOpened++;
  return FAKE_RAW;
}

PingSocket pingOpenDatagram(int, int)
{
  if (!fakeIcmp().datagramAllowed)
    return PING_NO_SOCKET;
  fakeIcmp().socketsOpened++;
  return FAKE_DATAGRAM;
}

int pingIdentifierOf(PingSocket s, unsigned char field[2])
{
  if (s != FAKE_DATAGRAM || fakeIcmp().requests.empty())
    return -1;
  std::memcpy(field, fakeIcmp().datagramIdentifier, 2);
  return 0;
}

long pingSend(PingSocket s, const FtpAddress *to, const unsigned char *bytes, size_t length)
{
  FakeIcmp &fake = fakeIcmp();
  std::string request(reinterpret_cast<const char *>(bytes), length);
  if (s == FAKE_DATAGRAM)   // the system writes its own identifier, as Linux does
    std::memcpy(&request[4], fake.datagramIdentifier, 2);
  fake.requests.push_back(request);
  char text[FTP_ADDRESS_TEXT_SIZE];
  FtpAddressText(to, text, sizeof text);
  fake.destinations.push_back(text);
  if (static_cast<long>(fake.requests.size()) - 1 == fake.sendShort)
    return static_cast<long>(length) - 1;
  return static_cast<long>(length);
}

int pingWait(PingSocket, long milliseconds)
{
  FakeIcmp &fake = fakeIcmp();
  if (fake.waitFails)
    return -1;
  if (fake.endOfData)
    return 1;
  if (!fake.arrivals.empty() && fake.arrivals.front().at <= fake.now + milliseconds) {
    if (fake.arrivals.front().at > fake.now)
      fake.now = fake.arrivals.front().at;
    return 1;
  }
  fake.now += milliseconds;
  return 0;
}

long pingReceive(PingSocket, unsigned char *buffer, size_t size)
{
  FakeIcmp &fake = fakeIcmp();
  if (fake.endOfData || fake.arrivals.empty())
    return 0;
  std::string datagram = fake.arrivals.front().datagram(fake.requests);
  fake.arrivals.erase(fake.arrivals.begin());
  if (datagram.empty())
    return -1;
  size_t length = datagram.size() < size ? datagram.size() : size;
  std::memcpy(buffer, datagram.data(), length);
  return static_cast<long>(length);
}

void pingClose(PingSocket)
{
  fakeIcmp().socketsClosed++;
}

unsigned long pingTicks(void)
{
  return static_cast<unsigned long>(fakeIcmp().now);
}

unsigned pingProcessId(void)
{
  return 0x51234;   // identifier field 0x1234
}

long pingSystemEcho(const FtpAddress *, long)
{
  fakeIcmp().systemEchoCalls++;
  return fakeIcmp().systemEcho;
}

// A scripted ICMP port for the ping tests: a virtual clock, the requests the
// ping sent, and the datagrams that "arrive" at given times.
#ifndef WENDRIK_TESTS_PING_FAKE_ICMP_H
#define WENDRIK_TESTS_PING_FAKE_ICMP_H

#include <functional>
#include <string>
#include <vector>

struct FakeArrival {
  long at;   // tick of arrival
  // Makes the datagram from the requests sent so far; empty: a receive error.
  std::function<std::string(const std::vector<std::string> &requests)> datagram;
};

struct FakeIcmp {
  bool protocolKnown = true;
  bool rawAllowed = true;
  bool datagramAllowed = false;
  unsigned char datagramIdentifier[2] = {0xbe, 0xef};
  long now = 1000;                 // the virtual tick count
  long sendShort = -1;             // the request number (from 0) sent short
  bool waitFails = false;
  bool endOfData = false;          // the next receive returns 0 bytes
  long systemEcho = -3;            // what the system's echo service answers
  std::vector<FakeArrival> arrivals;
  // what happened
  std::vector<std::string> requests;
  std::vector<std::string> destinations;
  std::vector<int> families;       // of each protocol looked up
  int socketsOpened = 0;
  int socketsClosed = 0;
  int systemEchoCalls = 0;
};

FakeIcmp &fakeIcmp();
void fakeIcmpReset();

// An echo reply to request n as a raw socket receives it (20-byte IP header),
// changed by edit before it arrives.
std::function<std::string(const std::vector<std::string> &)> fakeEchoReply(
    size_t n, std::function<void(std::string &icmp)> edit = nullptr, bool withIpHeader = true);

#endif

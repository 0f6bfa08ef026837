// Test driver of the submission: sets up the browser settings from registry
// fixtures and the test resolver's answers, runs one submission, and ends
// its standard output with the outcome. The submission tests
// (run_submissions.py) run it natively and, as a Win32 program, under Wine
// against the same loopback servers.
//
//   enrolwiz_submit_driver [--registry FILE]... [--lookup NAME=ANSWER[,ANSWER]...]...
//       [--request TEXT] [--target TEXT] [--timeout SECONDS] [--gateway PATH]
//       [--post [--option NAME=VALUE]...] [--exhaust-sockets] [--repeat N] [--trust FILE]
//
// Without --post the driver calls doPost with the target, time-out and
// gateway path given; with it, postRegistration, which takes them from the
// options (set as the command line sets them).
//
// ANSWER is a dotted address on loopback or a Winsock error code; a name's answers are
// given in turn and the last one repeats; other names go to the system's
// resolver. The last line is "Result: N" or "Failure ID: [TEXT]".
//
// --repeat N (a soak): N submissions in a row; open descriptors and resident
// memory go to standard error after the first and every tenth of them.
//
// --trust FILE: the certificates of a PEM file trusted besides the system's
// roots (the TLS port's test setting; the Win32 build trusts its stores alone
// and refuses the option).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/reg_exception.h"
#include "framework/tests/test_registry.h"
#include "net/product_registration.h"
#include "net/sockets.h"
#include "net/tls.h"
#include "string_ids.h"

namespace {

struct LookupAnswers {
  std::vector<std::string> answers;
  size_t next = 0;
};

std::map<std::string, LookupAnswers>& lookups()
{
  static std::map<std::string, LookupAnswers> table;
  return table;
}

bool answerLookup(const char* name, NameLookupAnswer& answer)
{
  auto found = lookups().find(name);
  if (found == lookups().end())
    return false;
  LookupAnswers& entry = found->second;
  const std::string& text = entry.answers[entry.next < entry.answers.size() ? entry.next : entry.answers.size() - 1];
  ++entry.next;
  answer.found = text.find('.') != std::string::npos;
  if (answer.found)
    inetAddr(text.c_str(), answer.address);
  answer.error = answer.found ? 0 : std::atoi(text.c_str());
  return true;
}

bool addLookup(const std::string& spec)
{
  size_t equals = spec.find('=');
  if (equals == std::string::npos || equals == 0 || equals + 1 == spec.size())
    return false;
  LookupAnswers& entry = lookups()[spec.substr(0, equals)];
  std::string rest = spec.substr(equals + 1);
  size_t start = 0;
  for (;;) {
    size_t comma = rest.find(',', start);
    std::string answer = rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    // Addresses only on loopback: no test ever reaches beyond it.
    Ipv4Address address;
    if (answer.find('.') != std::string::npos && (!inetAddr(answer.c_str(), address) || address.bytes[0] != 127))
      return false;
    entry.answers.push_back(answer);
    if (comma == std::string::npos)
      return true;
    start = comma + 1;
  }
}

// Holds sockets until none can be made, under a start-up of its own, so that
// the submission's socket creation fails as on a machine out of sockets.
void exhaustSockets()
{
  socketStartup();
  int held = 0;
  while (openStreamSocket() != invalidSocket && held < 100000)
    ++held;
  std::printf("driver: holding %d sockets\n", held);
}

// What a soak watches (Linux's /proc; -1 where there is none).
long openDescriptors()
{
  std::error_code error;
  long count = 0;
  for (std::filesystem::directory_iterator it("/proc/self/fd", error), end; !error && it != end; it.increment(error))
    ++count;
  return error || count == 0 ? -1 : count;
}

long residentKilobytes()
{
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  if (!(statm >> pages >> resident))
    return -1;
  return resident * 4;
}

int usage(const char* why)
{
  std::fprintf(stderr, "enrolwiz_submit_driver: %s\n", why);
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  std::string request = "firstName=Ann&lastName=Lee";
  std::string target = "127.0.0.1";
  std::string gateway = gatewayPath;
  int timeout = 5;
  bool exhaust = false;
  bool post = false;
  int repeat = 1;
  resetTestRegistry();
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--exhaust-sockets" || option == "--post") {
      (option == "--post" ? post : exhaust) = true;
      continue;
    }
    if (i + 1 >= argc)
      return usage(("no value for " + option).c_str());
    std::string value = argv[++i];
    if (option == "--registry") {
      std::string failure = importRegistryFixture(value);
      if (!failure.empty())
        return usage(failure.c_str());
    } else if (option == "--lookup") {
      if (!addLookup(value))
        return usage(("bad lookup " + value).c_str());
    } else if (option == "--request") {
      request = value;
    } else if (option == "--target") {
      target = value;
    } else if (option == "--timeout") {
      timeout = std::atoi(value.c_str());
    } else if (option == "--gateway") {
      gateway = value;
    } else if (option == "--trust") {
      if (!setTlsTestAuthority(value.c_str()))
        return usage(("no authority to trust in " + value).c_str());
    } else if (option == "--repeat") {
      repeat = std::atoi(value.c_str());
      if (repeat < 1)
        return usage("bad repeat count");
    } else if (option == "--option") {
      size_t equals = value.find('=');
      CString lowered = equals == std::string::npos ? "" : value.substr(equals + 1).c_str();
      lowered.MakeLower();
      if (equals == std::string::npos || !Options::instance().set(value.substr(0, equals).c_str(), lowered))
        return usage(("bad option " + value).c_str());
    } else {
      return usage(("unknown option " + option).c_str());
    }
  }
  setNameLookupHook(answerLookup);
  ProductRegistration registration;
  if (exhaust) {
    // The sanitizers' type checks need a descriptor the first time they meet
    // a class: meet the ones of the failure path while there are some left.
    registration.hostEntry();
    CRegException* probe = newRegExceptionWithPrefix(IDS_CONNECTION_FAILED, "");
    probe->messageId();
    probe->Delete();
    exhaustSockets();
  }

  std::fflush(stdout);
  const int startupsBefore = socketStartupsOpen();
  for (int round = 1; round <= repeat; ++round) {
    try {
      int result = post ? registration.postRegistration(request.c_str())
                        : registration.doPost(request.c_str(), timeout, target.c_str(), gateway.c_str());
      std::printf("Result: %d\n", result);
    } catch (CRegException* e) {
      std::printf("Failure %u: [%s]\n", e->messageId(), static_cast<const char*>(e->messageText()));
      e->Delete();
    }
    if (repeat > 1 && (round == 1 || round % (repeat / 10 > 0 ? repeat / 10 : 1) == 0))
      std::fprintf(stderr, "soak: after %d submissions: %ld open descriptors, %ld kB resident\n", round,
                   openDescriptors(), residentKilobytes());
  }
  // Every path of a submission cleans up each Winsock start-up it made.
  int startupsLeft = socketStartupsOpen() - startupsBefore;
  if (startupsLeft != 0)
    std::fprintf(stderr, "enrolwiz_submit_driver: %d Winsock start-ups not cleaned up\n", startupsLeft);
  if (exhaust)
    socketCleanup();   // the held sockets, before the leak check at exit needs descriptors
  std::fflush(stdout);
  return startupsLeft == 0 ? 0 : 3;
}

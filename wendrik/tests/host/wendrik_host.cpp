// Test host: stands in for the REXX interpreter. It loads the package library,
// runs a call script against it and checks what the package answered.
//
//   wendrik_host [--layout=ulong|size_t] LIBRARY SCRIPT
//   wendrik_host --directives
//
// --layout: the family of interpreter the host plays (interpreter_types.h):
// how it lays out the argument and result strings and reads the variable
// pool's blocks, how it passes the argument count and reads the return value.
// size_t by default; the two differ on x64 Windows only, where the ulong
// family puts garbage in every string's padding and in the count's upper
// half, and a call whose result string's padding changed fails the script.
// --directives: the table of directives, one a line: "host" or "runner", a
// tab, the directive with its arguments (call_directives.py checks it
// against this comment, run_calls.py and docs/ARCHITECTURE.md).
//
// A call script has one directive per line ('#' starts a comment line). The
// host carries out these:
//   rxfuncadd NAME ENTRY       register NAME for ENTRY of the library, as RxFuncAdd does
//   call NAME [ARG, ARG, ...]  call a registered function
//   expect rc N                the interpreter return value of the last call
//   expect result TEXT         the result string of the last call
//   expect resultnumber        the result of the last call is a decimal number
//   expect name TEXT           the function-name buffer after the last call
//   expect within MS           the last call returned within MS milliseconds
//   expect var NAME TEXT       a variable's value in the pool
//   expect unset NAME          a variable that was never set
//   expect assigned TEXT       the last variable name the package passed, as passed
//   expect function NAME       a name registered by the package
//   expect nofunction NAME     a name not registered
//   expect file FILE TEXT      FILE holds exactly TEXT
//   expect same FILE FILE      two files hold the same bytes
//   expect nofile FILE         FILE does not exist
//   expect entries DIR N       DIR holds N entries (a download left nothing beside)
//   expect tempfiles N         N files named ftp* in the temporary directory
//   set NAME TEXT              assign a variable in the pool
//   fail-register NAME CODE    answer CODE when the package registers NAME
//   write FILE TEXT            create FILE holding TEXT
//   make-file FILE N           create FILE of N pseudo-random bytes
//   readonly FILE              take the write permission of FILE away
//   mkdir DIR                  create the folder DIR
//   pause MS                   wait MS milliseconds (a server's idle time-out)
//   repeat N ... end           the lines between, N times; %i is the round (1..N)
// and leaves these to the test runner, which checks them on the host's
// output and its peers' transcripts (run_calls.py):
//   peer NAME [SETTING], environment NAME VALUE, stdout TEXT, stderr TEXT,
//   stdout-count N TEXT, stderr-count N TEXT, server TEXT, server-count N TEXT,
//   server-none TEXT, resolve NAME ADDRESS [ADDRESS ...]
// ARG, TEXT and FILE are REXX strings: 'text' or "text" (a doubled quote
// stands for itself), 'hex'x, joined with ||. An empty ARG between commas is
// omitted. ${NAME} is replaced by the environment variable NAME before a line
// is read.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "fake_interpreter.h"
#include "library.h"

namespace {

struct Failure {};

std::string substituteEnvironment(const std::string &line)
{
  std::string out;
  for (size_t i = 0; i < line.size(); i++) {
    if (line.compare(i, 2, "${") == 0) {
      size_t end = line.find('}', i);
      if (end != std::string::npos) {
        const char *value = std::getenv(line.substr(i + 2, end - i - 2).c_str());
        out += value ? value : "";
        i = end;
        continue;
      }
    }
    out += line[i];
  }
  return out;
}

class Reader {
public:
  explicit Reader(const std::string &text) : text_(text) {}

  void skipBlanks()
  {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
      pos_++;
  }
  bool atEnd()
  {
    skipBlanks();
    return pos_ >= text_.size();
  }
  bool take(const char *token)
  {
    skipBlanks();
    size_t n = std::strlen(token);
    if (text_.compare(pos_, n, token) == 0) {
      pos_ += n;
      return true;
    }
    return false;
  }
  std::string word()
  {
    skipBlanks();
    size_t start = pos_;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_])) &&
           text_[pos_] != ',')
      pos_++;
    return text_.substr(start, pos_ - start);
  }
  // One REXX string expression: quoted pieces joined with ||.
  std::string string()
  {
    std::string value = piece();
    while (take("||"))
      value += piece();
    return value;
  }
  bool startsString()
  {
    skipBlanks();
    return pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '"');
  }
  // Call arguments; an omitted argument is marked by present = false.
  void arguments(std::vector<std::string> &values, std::vector<bool> &present)
  {
    if (atEnd())
      return;
    for (;;) {
      if (startsString()) {
        values.push_back(string());
        present.push_back(true);
      } else {
        values.emplace_back();
        present.push_back(false);
      }
      if (atEnd())
        return;
      if (!take(","))
        throw std::runtime_error("expected ',' between arguments");
    }
  }

private:
  std::string piece()
  {
    skipBlanks();
    if (pos_ >= text_.size() || (text_[pos_] != '\'' && text_[pos_] != '"'))
      throw std::runtime_error("expected a quoted string");
    char quote = text_[pos_++];
    std::string value;
    for (;;) {
      if (pos_ >= text_.size())
        throw std::runtime_error("unterminated string");
      char c = text_[pos_++];
      if (c == quote) {
        if (pos_ < text_.size() && text_[pos_] == quote) {
          value += quote;
          pos_++;
          continue;
        }
        break;
      }
      value += c;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'x' || text_[pos_] == 'X')) {
      pos_++;
      return fromHex(value);
    }
    return value;
  }
  static std::string fromHex(const std::string &hex)
  {
    std::string digits;
    for (char c : hex)
      if (!std::isspace(static_cast<unsigned char>(c)))
        digits += c;
    if (digits.size() % 2)
      throw std::runtime_error("odd number of hex digits");
    std::string bytes;
    for (size_t i = 0; i < digits.size(); i += 2)
      bytes += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return bytes;
  }

  std::string text_;
  size_t pos_ = 0;
};

std::string upper(std::string text)
{
  for (char &c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string printable(const std::string &text)
{
  std::string out = "'";
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "'";
}

struct LastCall {
  long rc = 0;
  long milliseconds = 0;
  std::string result;
  std::string name;
};

class Host;

// One directive of a call script: its verb (an expectation's is "expect"
// and its word), its arguments as the comment at the top writes them, and
// the host's handler; a directive of the test runner's has none.
struct Directive {
  const char *verb;
  const char *arguments;
  void (Host::*handler)(Reader &reader);
};

class Host {
public:
  explicit Host(const std::string &script) : script_(script) {}

  int run(std::istream &in)
  {
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      lines_.push_back(line);
    }
    while (next_ < lines_.size()) {
      lineNumber_ = static_cast<int>(next_) + 1;
      runLine(lines_[next_++]);
    }
    std::cout << (failures_ ? "FAILED" : "PASSED") << ": " << script_ << " (" << checks_
              << " checks, " << failures_ << " failed)" << std::endl;
    long peak = hostPeakMemoryKiB();
    if (peak >= 0)
      std::cout << "peak resident memory: " << peak << " KiB" << std::endl;
    return failures_ ? 1 : 0;
  }

  // --- the handlers of the directives ---

  void rxfuncadd(Reader &reader)
  {
    std::string name = reader.word();
    fakeInterpreter().functions[upper(name)] = reader.word();
  }

  void call(Reader &reader)
  {
    std::string name = reader.word();
    std::vector<std::string> values;
    std::vector<bool> present;
    reader.arguments(values, present);

    std::string key = upper(name);
    std::string entry;
    if (fakeInterpreter().functions.count(key))
      entry = fakeInterpreter().functions[key];
    else {
      // As the interpreter's error 43; a script expects it with "expect rc 43".
      std::cout << "call " << name << " -> routine not found" << std::endl;
      last_ = LastCall{43, 0, "", name};
      return;
    }
    // As the interpreter does: the entry as given, then in upper case.
    void *function = hostFindEntry(entry);
    if (!function)
      function = hostFindEntry(upper(entry));
    if (!function) {
      fail("entry not found in the library: " + entry);
      return;
    }

    HostCall hostCall;
    hostCall.name = name;
    hostCall.values = values;
    hostCall.present = present;
    std::cout.flush();
    auto start = std::chrono::steady_clock::now();
    hostCallFunction(function, hostCall);
    last_.milliseconds = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    std::fflush(stdout);
    last_.rc = static_cast<long>(hostCall.rc);
    last_.result = hostCall.result;
    last_.name = hostCall.name;
    std::cout << "call " << name << " -> rc " << hostCall.rc << ", result " << printable(last_.result)
              << std::endl;
    for (const std::string &fault : hostCall.faults)
      fail("call " + name + ": " + fault);
  }

  void expectRc(Reader &reader)
  {
    long wanted = std::stol(reader.word());
    check(last_.rc == wanted, "rc " + std::to_string(last_.rc) + ", expected " + std::to_string(wanted));
  }

  void expectResult(Reader &reader)
  {
    std::string wanted = reader.string();
    check(last_.result == wanted, "result " + printable(last_.result) + ", expected " + printable(wanted));
  }

  void expectResultNumber(Reader &)
  {
    bool number = !last_.result.empty();
    for (char c : last_.result)
      number = number && std::isdigit(static_cast<unsigned char>(c));
    check(number, "result " + printable(last_.result) + ", expected a number");
  }

  void expectName(Reader &reader)
  {
    std::string wanted = reader.string();
    check(last_.name == wanted, "name " + printable(last_.name) + ", expected " + printable(wanted));
  }

  void expectWithin(Reader &reader)
  {
    long limit = std::stol(reader.word());
    check(last_.milliseconds <= limit,
          "the call took " + std::to_string(last_.milliseconds) + " ms, expected at most " + std::to_string(limit));
  }

  void expectVar(Reader &reader)
  {
    FakeInterpreter &rexx = fakeInterpreter();
    std::string name = reader.word();
    std::string wanted = reader.string();
    std::string resolved = rexx.resolve(name);
    bool set = rexx.variables.count(resolved) != 0;
    check(set && rexx.variables[resolved] == wanted,
          name + " is " + (set ? printable(rexx.variables[resolved]) : "unset") + ", expected " + printable(wanted));
  }

  void expectUnset(Reader &reader)
  {
    FakeInterpreter &rexx = fakeInterpreter();
    std::string name = reader.word();
    check(!rexx.variables.count(rexx.resolve(name)), name + " is set, expected unset");
  }

  void expectAssigned(Reader &reader)
  {
    FakeInterpreter &rexx = fakeInterpreter();
    std::string wanted = reader.string();
    std::string got = rexx.assignments.empty() ? "(nothing)" : rexx.assignments.back().first;
    check(got == wanted, "last name assigned " + printable(got) + ", expected " + printable(wanted));
  }

  void expectFunction(Reader &reader) { expectRegistered(reader, true); }
  void expectNoFunction(Reader &reader) { expectRegistered(reader, false); }

  void expectFile(Reader &reader)
  {
    std::string name = reader.string();
    std::string wanted = reader.string();
    std::string content;
    bool found = readFile(name, content);
    check(found && content == wanted,
          name + (found ? " holds " + printable(content) : " is missing") + ", expected " + printable(wanted));
  }

  void expectSame(Reader &reader)
  {
    std::string first = reader.string();
    std::string second = reader.string();
    std::string a, b;
    bool found = readFile(first, a) && readFile(second, b);
    check(found && a == b, found ? first + " and " + second + " differ (" + std::to_string(a.size()) + " and " +
                                       std::to_string(b.size()) + " bytes)"
                                 : first + " or " + second + " is missing");
  }

  void expectNoFile(Reader &reader)
  {
    std::string name = reader.string();
    std::string content;
    check(!readFile(name, content), name + " exists");
  }

  void expectEntries(Reader &reader)
  {
    std::string name = reader.string();
    long wanted = std::stol(reader.word());
    int count = hostCountEntries(name);
    check(count == wanted, name + " holds " + std::to_string(count) + " entries, expected " + std::to_string(wanted));
  }

  void expectTempFiles(Reader &reader)
  {
    long wanted = std::stol(reader.word());
    int count = hostCountTempFiles("ftp");
    check(count == wanted, std::to_string(count) + " temporary ftp* files, expected " + std::to_string(wanted));
  }

  void set(Reader &reader)
  {
    FakeInterpreter &rexx = fakeInterpreter();
    std::string name = reader.word();
    rexx.variables[rexx.resolve(name)] = reader.string();
  }

  void failRegister(Reader &reader)
  {
    std::string name = upper(reader.word());
    fakeInterpreter().registerFailures[name] = std::stoul(reader.word());
  }

  void write(Reader &reader)
  {
    std::string name = reader.string();
    writeFile(name, reader.string());
  }

  void makeFile(Reader &reader)
  {
    std::string name = reader.string();
    long size = std::stol(reader.word());
    // Written in pieces: the host's own memory stays small beside the
    // package's, whose peak the hostile cases report.
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    std::string piece;
    unsigned state = 12345;
    for (long i = 0; i < size; i++) {
      state = state * 1103515245u + 12345u;
      piece += static_cast<char>(state >> 16);
      if (piece.size() == 65536 || i + 1 == size) {
        file << piece;
        piece.clear();
      }
    }
    if (!file)
      fail("cannot write " + name);
  }

  void readonly(Reader &reader)
  {
    std::string name = reader.string();
    if (!hostMakeReadOnly(name))
      fail("cannot make " + name + " read-only");
  }

  void mkdir(Reader &reader)
  {
    std::string name = reader.string();
    if (!hostMakeDirectory(name))
      fail("cannot create " + name);
  }

  void pause(Reader &reader)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(reader.word())));
  }

  // The lines up to the next "end" (not nested), N times, %i replaced by the round.
  void repeat(Reader &reader)
  {
    long rounds = std::stol(reader.word());
    size_t end = next_;
    while (end < lines_.size() && Reader(lines_[end]).word() != "end")
      end++;
    for (long round = 1; round <= rounds; round++)
      for (size_t j = next_; j < end; j++) {
        lineNumber_ = static_cast<int>(j) + 1;
        std::string body = lines_[j];
        for (size_t at; (at = body.find("%i")) != std::string::npos;)
          body.replace(at, 2, std::to_string(round));
        runLine(body);
      }
    next_ = end + 1;
  }

private:
  void runLine(std::string line)
  {
    line = substituteEnvironment(line);
    Reader reader(line);
    if (reader.atEnd() || reader.take("#"))
      return;
    try {
      directive(reader, line);
    } catch (const std::exception &e) {
      fail(std::string("cannot read directive: ") + e.what());
    }
  }

  void directive(Reader &reader, const std::string &line);

  void expectRegistered(Reader &reader, bool wanted)
  {
    std::string name = upper(reader.word());
    bool registered = fakeInterpreter().functions.count(name) != 0;
    check(registered == wanted, name + (registered ? " is registered" : " is not registered"));
  }

  static bool readFile(const std::string &name, std::string &content)
  {
    std::ifstream file(name, std::ios::binary);
    if (!file)
      return false;
    content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
  }

  void writeFile(const std::string &name, const std::string &content)
  {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file << content;
    if (!file)
      fail("cannot write " + name);
  }

  void check(bool ok, const std::string &message)
  {
    checks_++;
    if (!ok)
      fail(message);
  }
  void fail(const std::string &message)
  {
    failures_++;
    std::cout << script_ << ":" << lineNumber_ << ": " << message << std::endl;
  }

  std::string script_;
  std::vector<std::string> lines_;
  size_t next_ = 0;          // the next line to run
  int lineNumber_ = 0;
  int checks_ = 0;
  int failures_ = 0;
  LastCall last_;
};

// Every directive, in the order of the comment at the top.
const Directive directives[] = {
  {"rxfuncadd", "NAME ENTRY", &Host::rxfuncadd},
  {"call", "NAME [ARG, ARG, ...]", &Host::call},
  {"expect rc", "N", &Host::expectRc},
  {"expect result", "TEXT", &Host::expectResult},
  {"expect resultnumber", "", &Host::expectResultNumber},
  {"expect name", "TEXT", &Host::expectName},
  {"expect within", "MS", &Host::expectWithin},
  {"expect var", "NAME TEXT", &Host::expectVar},
  {"expect unset", "NAME", &Host::expectUnset},
  {"expect assigned", "TEXT", &Host::expectAssigned},
  {"expect function", "NAME", &Host::expectFunction},
  {"expect nofunction", "NAME", &Host::expectNoFunction},
  {"expect file", "FILE TEXT", &Host::expectFile},
  {"expect same", "FILE FILE", &Host::expectSame},
  {"expect nofile", "FILE", &Host::expectNoFile},
  {"expect entries", "DIR N", &Host::expectEntries},
  {"expect tempfiles", "N", &Host::expectTempFiles},
  {"set", "NAME TEXT", &Host::set},
  {"fail-register", "NAME CODE", &Host::failRegister},
  {"write", "FILE TEXT", &Host::write},
  {"make-file", "FILE N", &Host::makeFile},
  {"readonly", "FILE", &Host::readonly},
  {"mkdir", "DIR", &Host::mkdir},
  {"pause", "MS", &Host::pause},
  {"repeat", "N ... end", &Host::repeat},
  // The test runner's: checked on the host's output (run_calls.py).
  {"peer", "NAME [SETTING]", nullptr},
  {"environment", "NAME VALUE", nullptr},
  {"stdout", "TEXT", nullptr},
  {"stderr", "TEXT", nullptr},
  {"stdout-count", "N TEXT", nullptr},
  {"stderr-count", "N TEXT", nullptr},
  {"server", "TEXT", nullptr},
  {"server-count", "N TEXT", nullptr},
  {"server-none", "TEXT", nullptr},
  {"resolve", "NAME ADDRESS [ADDRESS ...]", nullptr},
};

void Host::directive(Reader &reader, const std::string &line)
{
  std::string verb = reader.word();
  if (verb == "expect")
    verb += " " + reader.word();
  for (const Directive &row : directives)
    if (verb == row.verb) {
      if (row.handler)
        (this->*row.handler)(reader);
      return;
    }
  if (verb.compare(0, 7, "expect ") == 0)
    fail("unknown expectation: " + verb.substr(7));
  else
    fail("unknown directive: " + line);
}

// The table as --directives prints it.
void printDirectives()
{
  for (const Directive &row : directives)
    std::cout << (row.handler ? "host" : "runner") << '\t' << row.verb << (row.arguments[0] ? " " : "")
              << row.arguments << '\n';
}

}  // namespace

int main(int argc, char **argv)
{
  if (argc == 2 && std::strcmp(argv[1], "--directives") == 0) {
    printDirectives();
    return 0;
  }
  int first = 1;
  bool known = true;
  if (argc > 1 && std::strncmp(argv[1], "--layout=", 9) == 0) {
    std::string layout = argv[1] + 9;
    known = layout == "ulong" || layout == "size_t";
    fakeInterpreter().layout = layout == "ulong" ? HostLayout::Ulong : HostLayout::SizeT;
    first = 2;
  }
  if (!known || argc - first != 2) {
    std::cerr << "usage: wendrik_host [--layout=ulong|size_t] LIBRARY SCRIPT | --directives" << std::endl;
    return 2;
  }
  hostReportCrashes();
  const char *library = argv[first];
  const char *scriptName = argv[first + 1];
  std::string error;
  if (!hostOpenLibrary(library, error)) {
    std::cout << "cannot load " << library << ": " << error << std::endl;
    return 2;
  }
  std::ifstream script(scriptName);
  if (!script) {
    std::cout << "cannot read " << scriptName << std::endl;
    return 2;
  }
  return Host(scriptName).run(script);
}

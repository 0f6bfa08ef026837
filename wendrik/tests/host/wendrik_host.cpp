// Test host: stands in for the REXX interpreter. It loads the package library,
// runs a call script against it and checks what the package answered.
//
//   wendrik_host [--layout=ulong|size_t] LIBRARY SCRIPT
//
// --layout: the family of interpreter the host plays (interpreter_types.h):
// how it lays out the argument and result strings and reads the variable
// pool's blocks, how it passes the argument count and reads the return value.
// size_t by default; the two differ on x64 Windows only, where the ulong
// family puts garbage in every string's padding and in the count's upper
// half, and a call whose result string's padding changed fails the script.
//
// A call script has one directive per line ('#' starts a comment line):
//   rxfuncadd NAME ENTRY       register NAME for ENTRY of the library, as RxFuncAdd does
//   call NAME [ARG, ARG, ...]  call a registered function
//   expect rc N                the interpreter return value of the last call
//   expect result TEXT         the result string of the last call
//   expect name TEXT           the function-name buffer after the last call
//   expect var NAME TEXT       a variable's value in the pool
//   expect unset NAME          a variable that was never set
//   expect function NAME       a name registered by the package (nofunction: not)
//   expect assigned TEXT       the last variable name the package passed, as passed
//   set NAME TEXT              assign a variable in the pool
//   fail-register NAME CODE    answer CODE when the package registers NAME
//   write FILE TEXT            create FILE holding TEXT
//   make-file FILE N           create FILE of N pseudo-random bytes
//   readonly FILE              take the write permission of FILE away
//   expect file FILE TEXT      FILE holds exactly TEXT
//   expect same FILE FILE      two files hold the same bytes
//   expect nofile FILE         FILE does not exist
//   expect entries DIR N       DIR holds N entries (a download left nothing beside)
//   expect within MS           the last call returned within MS milliseconds
//   mkdir DIR                  create the folder DIR
//   pause MS                   wait MS milliseconds (a server's idle time-out)
//   expect tempfiles N         N files named ftp* in the temporary directory
//   expect resultnumber        the result of the last call is a decimal number
//   repeat N ... end           the lines between, N times; %i is the round (1..N)
//   stdout TEXT / stderr TEXT  output lines the test runner expects in order,
//   stdout-count N TEXT        and lines it expects N times; server, peer and
//                              environment lines (run_calls.py): ignored here
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

class Host {
public:
  explicit Host(const std::string &script) : script_(script) {}

  int run(std::istream &in)
  {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r')
        line.pop_back();
      lines.push_back(line);
    }
    for (size_t i = 0; i < lines.size(); i++) {
      lineNumber_ = static_cast<int>(i) + 1;
      Reader head(lines[i]);
      if (head.take("repeat")) {
        // repeat N ... end: the body runs N times with %i as the round.
        long rounds = std::stol(head.word());
        size_t end = i + 1;
        while (end < lines.size() && Reader(lines[end]).word() != "end")
          end++;
        for (long round = 1; round <= rounds; round++)
          for (size_t j = i + 1; j < end; j++) {
            lineNumber_ = static_cast<int>(j) + 1;
            std::string body = lines[j];
            for (size_t at; (at = body.find("%i")) != std::string::npos;)
              body.replace(at, 2, std::to_string(round));
            runLine(body);
          }
        i = end;
        continue;
      }
      runLine(lines[i]);
    }
    std::cout << (failures_ ? "FAILED" : "PASSED") << ": " << script_ << " (" << checks_
              << " checks, " << failures_ << " failed)" << std::endl;
    long peak = hostPeakMemoryKiB();
    if (peak >= 0)
      std::cout << "peak resident memory: " << peak << " KiB" << std::endl;
    return failures_ ? 1 : 0;
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

  void directive(Reader &reader, const std::string &line)
  {
    std::string verb = reader.word();
    FakeInterpreter &rexx = fakeInterpreter();
    if (verb == "rxfuncadd") {
      std::string name = reader.word();
      rexx.functions[upper(name)] = reader.word();
    } else if (verb == "call") {
      call(reader);
    } else if (verb == "expect") {
      expect(reader);
    } else if (verb == "set") {
      std::string name = reader.word();
      rexx.variables[rexx.resolve(name)] = reader.string();
    } else if (verb == "fail-register") {
      std::string name = upper(reader.word());
      rexx.registerFailures[name] = std::stoul(reader.word());
    } else if (verb == "write") {
      std::string name = reader.string();
      writeFile(name, reader.string());
    } else if (verb == "make-file") {
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
    } else if (verb == "mkdir") {
      std::string name = reader.string();
      if (!hostMakeDirectory(name))
        fail("cannot create " + name);
    } else if (verb == "pause") {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::stol(reader.word())));
    } else if (verb == "readonly") {
      std::string name = reader.string();
      if (!hostMakeReadOnly(name))
        fail("cannot make " + name + " read-only");
    } else if (verb == "stdout" || verb == "stderr" || verb == "stdout-count" ||
               verb == "stderr-count" || verb == "server" || verb == "server-count" || verb == "server-none" ||
               verb == "peer" || verb == "environment") {
      // checked by the test runner on the host's output
    } else {
      fail("unknown directive: " + line);
    }
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

  void expect(Reader &reader)
  {
    std::string what = reader.word();
    FakeInterpreter &rexx = fakeInterpreter();
    if (what == "rc") {
      long wanted = std::stol(reader.word());
      check(last_.rc == wanted, "rc " + std::to_string(last_.rc) + ", expected " + std::to_string(wanted));
    } else if (what == "result") {
      std::string wanted = reader.string();
      check(last_.result == wanted, "result " + printable(last_.result) + ", expected " + printable(wanted));
    } else if (what == "name") {
      std::string wanted = reader.string();
      check(last_.name == wanted, "name " + printable(last_.name) + ", expected " + printable(wanted));
    } else if (what == "var") {
      std::string name = reader.word();
      std::string wanted = reader.string();
      std::string resolved = rexx.resolve(name);
      bool set = rexx.variables.count(resolved) != 0;
      check(set && rexx.variables[resolved] == wanted,
            name + " is " + (set ? printable(rexx.variables[resolved]) : "unset") + ", expected " +
                printable(wanted));
    } else if (what == "unset") {
      std::string name = reader.word();
      check(!rexx.variables.count(rexx.resolve(name)), name + " is set, expected unset");
    } else if (what == "function" || what == "nofunction") {
      std::string name = upper(reader.word());
      bool registered = rexx.functions.count(name) != 0;
      check(registered == (what == "function"),
            name + (registered ? " is registered" : " is not registered"));
    } else if (what == "assigned") {
      std::string wanted = reader.string();
      std::string got = rexx.assignments.empty() ? "(nothing)" : rexx.assignments.back().first;
      check(got == wanted, "last name assigned " + printable(got) + ", expected " + printable(wanted));
    } else if (what == "file") {
      std::string name = reader.string();
      std::string wanted = reader.string();
      std::string content;
      bool found = readFile(name, content);
      check(found && content == wanted, name + (found ? " holds " + printable(content) : " is missing") +
                                            ", expected " + printable(wanted));
    } else if (what == "same") {
      std::string first = reader.string();
      std::string second = reader.string();
      std::string a, b;
      bool found = readFile(first, a) && readFile(second, b);
      check(found && a == b, found ? first + " and " + second + " differ (" + std::to_string(a.size()) +
                                         " and " + std::to_string(b.size()) + " bytes)"
                                   : first + " or " + second + " is missing");
    } else if (what == "tempfiles") {
      long wanted = std::stol(reader.word());
      int count = hostCountTempFiles("ftp");
      check(count == wanted, std::to_string(count) + " temporary ftp* files, expected " + std::to_string(wanted));
    } else if (what == "resultnumber") {
      bool number = !last_.result.empty();
      for (char c : last_.result)
        number = number && std::isdigit(static_cast<unsigned char>(c));
      check(number, "result " + printable(last_.result) + ", expected a number");
    } else if (what == "entries") {
      std::string name = reader.string();
      long wanted = std::stol(reader.word());
      int count = hostCountEntries(name);
      check(count == wanted, name + " holds " + std::to_string(count) + " entries, expected " + std::to_string(wanted));
    } else if (what == "within") {
      long limit = std::stol(reader.word());
      check(last_.milliseconds <= limit,
            "the call took " + std::to_string(last_.milliseconds) + " ms, expected at most " + std::to_string(limit));
    } else if (what == "nofile") {
      std::string name = reader.string();
      std::string content;
      check(!readFile(name, content), name + " exists");
    } else {
      fail("unknown expectation: " + what);
    }
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
  int lineNumber_ = 0;
  int checks_ = 0;
  int failures_ = 0;
  LastCall last_;
};

}  // namespace

int main(int argc, char **argv)
{
  int first = 1;
  bool known = true;
  if (argc > 1 && std::strncmp(argv[1], "--layout=", 9) == 0) {
    std::string layout = argv[1] + 9;
    known = layout == "ulong" || layout == "size_t";
    fakeInterpreter().layout = layout == "ulong" ? HostLayout::Ulong : HostLayout::SizeT;
    first = 2;
  }
  if (!known || argc - first != 2) {
    std::cerr << "usage: wendrik_host [--layout=ulong|size_t] LIBRARY SCRIPT" << std::endl;
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

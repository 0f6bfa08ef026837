// A stand-in for the REXX interpreter's side of the SAA interface: it records
// every registration, deregistration and variable assignment the package asks
// for, and keeps a variable pool with REXX's symbol rules.
#ifndef WENDRIK_TESTS_FAKE_INTERPRETER_H
#define WENDRIK_TESTS_FAKE_INTERPRETER_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "interpreter_types.h"

struct FakeInterpreter {
  HostLayout layout = HostLayout::SizeT;             // of the pool's blocks and of calls
  std::map<std::string, std::string> functions;      // registered name -> entry
  std::map<std::string, unsigned long> registerFailures;  // name -> code to answer
  std::vector<std::string> registered;               // every registration asked for
  std::vector<std::string> deregistered;
  std::vector<std::pair<std::string, std::string>> assignments;  // names as received
  std::map<std::string, std::string> variables;      // names after symbol resolution

  void reset();
  // The variable name REXX makes of a symbol: upper case, and each tail part of
  // a compound name replaced by the value of the variable of that name, if set.
  std::string resolve(const std::string &symbol) const;
  bool isSet(const std::string &name) const;
  std::string value(const std::string &name) const;
};

FakeInterpreter &fakeInterpreter();

// One call of an external function as the interpreter of fakeInterpreter()'s
// layout makes it: a writable name buffer, a zero-terminated buffer per
// argument (an omitted one is a null string), a result buffer of 256 bytes.
// In the unsigned-long layout on x64 Windows every string's padding and the
// upper half of the count hold HOST_GARBAGE.
struct HostCall {
  std::string name;                  // upper-cased by the package
  std::vector<std::string> values;
  std::vector<bool> present;
  unsigned long long rc = 0;         // read as the layout's family reads it
  std::string result;
  // What the package did to the strings that it must not: a changed argument
  // string, a result length past its buffer, the result's padding written.
  std::vector<std::string> faults;
};
void hostCallFunction(void *entry, HostCall &call);

#endif

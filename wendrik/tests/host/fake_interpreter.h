// A stand-in for the REXX interpreter's side of the SAA interface: it records
// every registration, deregistration and variable assignment the package asks
// for, and keeps a variable pool with REXX's symbol rules.
#ifndef WENDRIK_TESTS_FAKE_INTERPRETER_H
#define WENDRIK_TESTS_FAKE_INTERPRETER_H

#include <map>
#include <string>
#include <utility>
#include <vector>

struct FakeInterpreter {
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

#endif

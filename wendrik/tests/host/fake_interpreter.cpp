// The recording SAA services of the test host; exported from the test program
// so that the package finds them as it finds the interpreter's.
#include "fake_interpreter.h"

#include <cctype>

#include "frame/saa/saa.h"

#ifdef _WIN32
#define HOST_EXPORT extern "C" __declspec(dllexport)
#else
#define HOST_EXPORT extern "C" __attribute__((visibility("default")))
#endif

FakeInterpreter &fakeInterpreter()
{
  static FakeInterpreter instance;
  return instance;
}

void FakeInterpreter::reset()
{
  *this = FakeInterpreter();
}

static std::string upper(std::string text)
{
  for (char &c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

std::string FakeInterpreter::resolve(const std::string &symbol) const
{
  std::string name = upper(symbol);
  size_t dot = name.find('.');
  if (dot == std::string::npos)
    return name;
  std::string resolved = name.substr(0, dot + 1);
  size_t start = dot + 1;
  while (start <= name.size()) {
    size_t end = name.find('.', start);
    std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    bool symbolic = !part.empty() && !std::isdigit(static_cast<unsigned char>(part[0]));
    auto found = variables.find(part);
    resolved += (symbolic && found != variables.end()) ? found->second : part;
    if (end == std::string::npos)
      break;
    resolved += '.';
    start = end + 1;
  }
  return resolved;
}

bool FakeInterpreter::isSet(const std::string &name) const
{
  return variables.count(upper(name)) != 0;
}

std::string FakeInterpreter::value(const std::string &name) const
{
  auto found = variables.find(upper(name));
  return found == variables.end() ? upper(name) : found->second;
}

// Result codes of the SAA function registration.
static const ULONG REGISTERED = 0, ALREADY_REGISTERED = 10, NOT_REGISTERED = 30;
// Variable pool return flags: a new variable, a name that is not a symbol.
static const unsigned char NEW_VARIABLE = 0x01, BAD_NAME = 0x08;

HOST_EXPORT ULONG SAA_ENTRY RexxRegisterFunctionDll(const char *name, const char *, const char *entry)
{
  FakeInterpreter &rexx = fakeInterpreter();
  std::string key = upper(name);
  rexx.registered.push_back(name);
  auto failure = rexx.registerFailures.find(key);
  if (failure != rexx.registerFailures.end())
    return failure->second;
  if (rexx.functions.count(key))
    return ALREADY_REGISTERED;
  rexx.functions[key] = entry;
  return REGISTERED;
}

HOST_EXPORT ULONG SAA_ENTRY RexxDeregisterFunction(const char *name)
{
  FakeInterpreter &rexx = fakeInterpreter();
  rexx.deregistered.push_back(name);
  return rexx.functions.erase(upper(name)) ? REGISTERED : NOT_REGISTERED;
}

HOST_EXPORT ULONG SAA_ENTRY RexxVariablePool(SHVBLOCK *block)
{
  FakeInterpreter &rexx = fakeInterpreter();
  std::string name(block->shvname.strptr ? block->shvname.strptr : "", block->shvname.strlength);
  std::string value(block->shvvalue.strptr ? block->shvvalue.strptr : "", block->shvvalue.strlength);
  rexx.assignments.emplace_back(name, value);
  if (block->shvcode != RXSHV_SYSET || name.empty()) {
    block->shvret = BAD_NAME;
    return block->shvret;
  }
  std::string resolved = rexx.resolve(name);
  block->shvret = rexx.variables.count(resolved) ? 0 : NEW_VARIABLE;
  rexx.variables[resolved] = value;
  return block->shvret;
}

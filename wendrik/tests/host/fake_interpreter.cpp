// The recording SAA services of the test host; exported from the test program
// so that the package finds them as it finds the interpreter's.
#include "fake_interpreter.h"

#include <cctype>
#include <cstring>

#include "frame/saa/saa_export.h"

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
static const unsigned long REGISTERED = 0, ALREADY_REGISTERED = 10, NOT_REGISTERED = 30;
// The variable pool's request code of a set by symbol, and its return flags:
// a new variable, a name that is not a symbol.
static const unsigned char SET_SYMBOL = 0x03;
static const unsigned char NEW_VARIABLE = 0x01, BAD_NAME = 0x08;

SAA_EXPORT unsigned long HOST_ENTRY RexxRegisterFunctionDll(const char *name, const char *, const char *entry)
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

SAA_EXPORT unsigned long HOST_ENTRY RexxDeregisterFunction(const char *name)
{
  FakeInterpreter &rexx = fakeInterpreter();
  rexx.deregistered.push_back(name);
  return rexx.functions.erase(upper(name)) ? REGISTERED : NOT_REGISTERED;
}

// A set request in the layout's block: the code and the return flag at the
// layout's offsets; any other code answers a bad request and sets nothing.
template <typename Length>
static unsigned long setVariable(HostShvBlockAs<Length> *block)
{
  FakeInterpreter &rexx = fakeInterpreter();
  std::string name(block->shvname.strptr ? block->shvname.strptr : "", block->shvname.strlength);
  std::string value(block->shvvalue.strptr ? block->shvvalue.strptr : "", block->shvvalue.strlength);
  rexx.assignments.emplace_back(name, value);
  if (block->shvcode != SET_SYMBOL || name.empty()) {
    block->shvret = BAD_NAME;
    return block->shvret;
  }
  std::string resolved = rexx.resolve(name);
  block->shvret = rexx.variables.count(resolved) ? 0 : NEW_VARIABLE;
  rexx.variables[resolved] = value;
  return block->shvret;
}

SAA_EXPORT unsigned long HOST_ENTRY RexxVariablePool(void *block)
{
  if (fakeInterpreter().layout == HostLayout::Ulong)
    return setVariable(static_cast<HostUlongBlock *>(block));
  return setVariable(static_cast<HostSizeBlock *>(block));
}

template <typename Length>
static HostStringAs<Length> hostString(char *text, size_t length)
{
  HostStringAs<Length> string;
  std::memset(&string, 0xA5, sizeof string);   // HOST_GARBAGE in any padding
  string.strlength = static_cast<Length>(length);
  string.strptr = text;
  return string;
}

template <typename Length, typename Function, typename Count>
static void callAs(void *entry, Count count, HostCall &call)
{
  typedef HostStringAs<Length> String;
  std::vector<std::vector<char>> buffers(call.values.size());
  std::vector<String> argv;
  for (size_t i = 0; i < call.values.size(); i++) {
    buffers[i].assign(call.values[i].begin(), call.values[i].end());
    buffers[i].push_back('\0');
    argv.push_back(call.present[i] ? hostString<Length>(buffers[i].data(), call.values[i].size())
                                   : hostString<Length>(nullptr, 0));
  }
  const std::vector<String> argvBefore = argv;
  std::vector<char> name(call.name.begin(), call.name.end());
  name.push_back('\0');
  char buffer[256];
  String result = hostString<Length>(buffer, sizeof buffer);
  const String resultBefore = result;

  call.rc = reinterpret_cast<Function *>(entry)(name.data(), count, argv.empty() ? nullptr : argv.data(),
                                                "SESSION", &result);

  call.name = name.data();
  call.faults.clear();
  for (size_t i = 0; i < argv.size(); i++)
    if (std::memcmp(&argv[i], &argvBefore[i], sizeof(String)) != 0)
      call.faults.push_back("the package changed the string of argument " + std::to_string(i + 1));
  const unsigned char *now = reinterpret_cast<const unsigned char *>(&result);
  const unsigned char *was = reinterpret_cast<const unsigned char *>(&resultBefore);
  if (std::memcmp(now + sizeof(Length), was + sizeof(Length), offsetof(String, strptr) - sizeof(Length)) != 0)
    call.faults.push_back("the package wrote into the padding after the result string's 32-bit length");
  size_t length = result.strptr ? static_cast<size_t>(result.strlength) : 0;
  if (result.strptr == buffer && length > sizeof buffer) {
    call.faults.push_back("result length " + std::to_string(length) + " exceeds its buffer of " +
                          std::to_string(sizeof buffer));
    length = sizeof buffer;
  }
  call.result.assign(result.strptr ? result.strptr : "", length);
}

void hostCallFunction(void *entry, HostCall &call)
{
  if (fakeInterpreter().layout == HostLayout::Ulong) {
    HostUlongCount count = static_cast<HostUlongCount>(call.values.size());
#if defined(_WIN64)
    count |= static_cast<uint64_t>(HOST_GARBAGE) << 32;
#endif
    callAs<unsigned long, HostUlongFunction>(entry, count, call);
  } else {
    callAs<size_t, HostSizeFunction>(entry, call.values.size(), call);
  }
}

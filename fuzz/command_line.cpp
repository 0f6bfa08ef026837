// Fuzz target: splitting the program's command line into arguments. Every
// argument is made of the line's own characters (quotes and backslashes
// excepted), and there are never more arguments than the line has characters.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string line(reinterpret_cast<const char*>(data), size);
  line = line.substr(0, line.find('\0'));
  std::vector<CString> arguments = splitCommandLine(line.c_str());
  if (arguments.size() > line.size() + 1)
    std::abort();
  for (const CString& argument : arguments)
    for (int i = 0; i < argument.GetLength(); i++) {
      char c = argument[i];
      if (c != '"' && c != '\\' && line.find(c) == std::string::npos)
        std::abort();
    }
  return 0;
}

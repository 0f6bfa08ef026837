// Command-line splitting by the C runtime's rules, and the argument pass.
#include "framework/command_line.h"

namespace {

bool isSeparator(char c)
{
  return c == ' ' || c == '\t';
}

// The program name: up to the next blank outside quotes; quotes only group.
const char* programName(const char* p, CString& name)
{
  bool quoted = false;
  for (; *p && (quoted || !isSeparator(*p)); ++p) {
    if (*p == '"')
      quoted = !quoted;
    else
      name += *p;
  }
  return p;
}

}  // namespace

std::vector<CString> splitCommandLine(const char* commandLine)
{
  std::vector<CString> arguments;
  if (!commandLine)
    return arguments;
  const char* p = commandLine;
  CString name;
  p = programName(p, name);
  arguments.push_back(name);

  for (;;) {
    while (isSeparator(*p))
      ++p;
    if (!*p)
      break;
    CString argument;
    bool quoted = false;
    while (*p && (quoted || !isSeparator(*p))) {
      int backslashes = 0;
      while (*p == '\\') {
        ++backslashes;
        ++p;
      }
      if (*p == '"') {
        argument += CString('\\', backslashes / 2);
        if (backslashes % 2 == 1) {
          argument += '"';
          ++p;
        } else if (quoted && p[1] == '"') {
          argument += '"';
          p += 2;
        } else {
          quoted = !quoted;
          ++p;
        }
      } else {
        if (backslashes)
          argument += CString('\\', backslashes);
        if (*p && (quoted || !isSeparator(*p)))
          argument += *p++;
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

void CCommandLineInfo::ParseParam(const char* param, BOOL flag, BOOL)
{
  if (!flag && m_strFileName.IsEmpty())
    m_strFileName = param;
}

void parseCommandLine(const char* commandLine, CCommandLineInfo& info)
{
  std::vector<CString> arguments = splitCommandLine(commandLine);
  for (size_t i = 1; i < arguments.size(); ++i) {
    const char* param = arguments[i];
    BOOL flag = FALSE;
    if (param[0] == '-' || param[0] == '/') {
      flag = TRUE;
      ++param;
    }
    info.ParseParam(param, flag, i + 1 == arguments.size());
  }
}

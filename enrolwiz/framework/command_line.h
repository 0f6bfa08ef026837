// The command line in the framework's manner: splitting into arguments by the
// Windows C runtime's rules, and CCommandLineInfo, which receives one
// ParseParam call per argument after the program name.
#ifndef ENROLWIZ_FRAMEWORK_COMMAND_LINE_H
#define ENROLWIZ_FRAMEWORK_COMMAND_LINE_H

#include <vector>

#include "cstring.h"

// The arguments of a whole command line, the program name first, as the C
// runtime builds argv:
// - blanks and tabs separate arguments outside double quotes;
// - the program name ends at the first blank outside quotes; its quotes only
//   group, and its backslashes are plain characters;
// - in the other arguments 2n backslashes before a quote give n backslashes
//   and the quote opens or closes a quoted part; 2n+1 give n backslashes and a
//   literal quote; backslashes before any other character stay as they are;
// - inside a quoted part, two quotes give one literal quote and the part goes on.
std::vector<CString> splitCommandLine(const char* commandLine);

// Receives the arguments of the command line (MFC's class, reduced to what the
// program uses). The base class keeps the first plain argument as file name.
class CCommandLineInfo {
public:
  virtual ~CCommandLineInfo() = default;

  // param: the argument, without its leading "/" or "-" when flag is TRUE (a
  // switch); last: TRUE for the final argument.
  virtual void ParseParam(const char* param, BOOL flag, BOOL last);

  CString m_strFileName;
};

// Splits the command line and calls info.ParseParam once for each argument
// after the program name; an argument beginning with "/" or "-" is a switch.
// A command line with the program name alone calls nothing.
void parseCommandLine(const char* commandLine, CCommandLineInfo& info);

#endif

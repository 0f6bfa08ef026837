// UI test driver: runs a scenario against a Windows program of the project.
// It starts the program, waits for its dialogs, reads what they show, types,
// selects, clicks and presses keys as a person would, answers message boxes,
// and saves a screenshot of the display whenever a dialog appears. Run it
// inside a Wine virtual desktop (focus and keyboard need one):
//
//   driver.exe SCENARIO OUTPUT_DIRECTORY PROGRAM_DIRECTORY [NAMES]
//
// NAMES is a file of "NAME NUMBER" lines (the runner writes it from the
// program's resource.h, its string table and the system's ids): each name
// stands for its number wherever it appears in a line of the scenario.
// OUTPUT_DIRECTORY receives report.txt (one line per step, then PASS or
// FAIL), the standard output of each program started (programN.out) and the
// screenshots (NN-what.bmp). The scenario language is described in tests/ui/README.md.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char templateProperty[] = "EnrolwizDialogTemplate";
const int messageTextId = 0xFFFF;
const int printerListId = 0x473;   // the system print dialog's list of printers (cmb4)
const DWORD sendTimeout = 2000;

struct Failure : std::runtime_error {
  explicit Failure(const std::string& what) : std::runtime_error(what) {}
};

std::string format(const char* pattern, ...)
{
  char buffer[2048];
  va_list arguments;
  va_start(arguments, pattern);
  vsnprintf(buffer, sizeof buffer, pattern, arguments);
  va_end(arguments);
  return buffer;
}

// --- texts across the process boundary (wide messages, ANSI code page) -----

std::string narrow(const std::wstring& text)
{
  if (text.empty())
    return std::string();
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size, nullptr, nullptr);
  return out;
}

std::wstring wide(const std::string& text)
{
  if (text.empty())
    return std::wstring();
  int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
  return out;
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, sendTimeout, &result))
    throw Failure(format("message 0x%X to window %p was not answered in time", message, (void*)window));
  return static_cast<LRESULT>(result);
}

std::string windowText(HWND window)
{
  LRESULT length = sendMessage(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  LRESULT got = sendMessage(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
  buffer.resize(static_cast<size_t>(got));
  return narrow(buffer);
}

std::string className(HWND window)
{
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool isComboBox(HWND window)
{
  return lstrcmpiA(className(window).c_str(), "ComboBox") == 0;
}

std::vector<std::string> listEntries(HWND control)
{
  bool combo = isComboBox(control);
  UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
  UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::string> entries;
  LRESULT count = sendMessage(control, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = sendMessage(control, lengthMessage, static_cast<WPARAM>(i), 0);
    std::wstring buffer(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    LRESULT got = sendMessage(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&buffer[0]));
    buffer.resize(got < 0 ? 0 : static_cast<size_t>(got));
    entries.push_back(narrow(buffer));
  }
  return entries;
}

// --- scenario lines ----------------------------------------------------------

// Words separated by blanks; "..." is one word, in which \" stands for a
// quote and \\ for a backslash (other backslashes are plain).
std::vector<std::string> words(const std::string& line)
{
  std::vector<std::string> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    if (i >= line.size() || line[i] == '#')
      break;
    std::string word;
    if (line[i] == '"') {
      for (++i; i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\'))
          ++i;
        word += line[i];
      }
      if (i >= line.size())
        throw Failure("unterminated quoted text");
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t')
        word += line[i++];
    }
    out.push_back(word);
  }
  return out;
}

int number(const std::string& word)
{
  char* end = nullptr;
  long value = strtol(word.c_str(), &end, 0);
  if (word.empty() || *end)
    throw Failure("not a number: " + word);
  return static_cast<int>(value);
}

// The lines of a text file without their line ends.
std::vector<std::string> fileLines(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The names of a NAMES file ("NAME NUMBER" lines).
std::map<std::string, int> readNames(const std::string& path)
{
  std::map<std::string, int> names;
  for (const std::string& line : fileLines(path)) {
    std::istringstream in(line);
    std::string name, value;
    if (in >> name >> value)
      names[name] = number(value);
  }
  return names;
}

bool isNameCharacter(char c)
{
  return isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// A word that has the form of an id's name: IDD_, IDC_, IDS_ ... or MSGBOX_.
bool looksLikeName(const std::string& word)
{
  size_t underscore = word.find('_');
  if (underscore == std::string::npos || underscore + 1 >= word.size())
    return false;
  std::string head = word.substr(0, underscore);
  if (head == "MSGBOX")
    return true;
  return head.size() >= 2 && head.compare(0, 2, "ID") == 0 &&
         std::all_of(head.begin(), head.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

// The word with every known name in it replaced by its number; a name that
// is not known fails the step.
std::string withNumbers(const std::string& word, const std::map<std::string, int>& names)
{
  std::string out;
  size_t i = 0;
  while (i < word.size()) {
    if (!isNameCharacter(word[i])) {
      out += word[i++];
      continue;
    }
    size_t end = i;
    while (end < word.size() && isNameCharacter(word[end]))
      ++end;
    std::string token = word.substr(i, end - i);
    auto found = names.find(token);
    if (found != names.end())
      out += std::to_string(found->second);
    else if (looksLikeName(token))
      throw Failure("unknown name " + token);
    else
      out += token;
    i = end;
  }
  return out;
}

// An argument as a command line carries it (quotes when it has blanks).
std::string quoted(const std::string& argument)
{
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
    return argument;
  std::string out = "\"";
  for (char c : argument) {
    if (c == '"')
      out += '\\';
    out += c;
  }
  return out + "\"";
}

// --- the driver --------------------------------------------------------------

class Driver {
public:
  Driver(const std::string& output, const std::string& programs, const std::map<std::string, int>& names)
      : output_(output), programs_(programs), names_(names)
  {
    report_.open(output_ + "\\report.txt");
  }

  ~Driver()
  {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 99);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }

  bool run(const std::string& scenario)
  {
    if (GetFileAttributesA(scenario.c_str()) == INVALID_FILE_ATTRIBUTES) {
      say("FAIL cannot read the scenario " + scenario);
      return false;
    }
    int lineNumber = 0;
    try {
      for (const std::string& line : fileLines(scenario)) {
        ++lineNumber;
        std::vector<std::string> w = words(line);
        if (w.empty())
          continue;
        ++step_;
        say(format("%02d  %s", step_, line.c_str()));
        for (std::string& word : w)
          word = withNumbers(word, names_);
        perform(w);
      }
      if (process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        throw Failure("the program is still running at the end of the scenario");
    } catch (const Failure& failure) {
      screenshot("failure");
      say(format("FAIL line %d: %s", lineNumber, failure.what()));
      return false;
    }
    say("PASS");
    return true;
  }

private:
  void say(const std::string& text)
  {
    report_ << text << "\n";
    report_.flush();
    printf("%s\n", text.c_str());
    fflush(stdout);
  }

  using Words = std::vector<std::string>;

  // One step of the scenario language: its verb, its arguments as
  // tests/ui/README.md writes them (a word in brackets may be left out, a word
  // ending in "..." stands for any number of such words), and what it does.
  struct Step {
    const char* verb;
    const char* arguments;
    void (Driver::*perform)(const Words& w);
  };

  static const Step steps[];
  // The step of a verb; null when there is none.
  static const Step* findStep(const std::string& verb);

  // The fewest and the most words that a step's arguments may be (most -1:
  // no limit), counted from its description.
  static void argumentCounts(const char* arguments, int& fewest, int& most)
  {
    fewest = most = 0;
    int depth = 0;
    std::istringstream in(arguments);
    std::string word;
    while (in >> word) {
      bool optional = depth > 0 || word[0] == '[';
      depth += static_cast<int>(std::count(word.begin(), word.end(), '['));
      depth -= static_cast<int>(std::count(word.begin(), word.end(), ']'));
      if (word.find("...") != std::string::npos)
        most = -1;
      else if (most >= 0)
        ++most;
      if (!optional && word.find("...") == std::string::npos)
        ++fewest;
    }
  }

  void perform(const Words& w)
  {
    const Step* step = findStep(w[0]);
    if (!step)
      throw Failure("unknown step " + w[0]);
    int fewest, most;
    argumentCounts(step->arguments, fewest, most);
    int given = static_cast<int>(w.size()) - 1;
    if (given < fewest || (most >= 0 && given > most))
      throw Failure(format("%s takes %s", step->verb, *step->arguments ? step->arguments : "no arguments"));
    (this->*step->perform)(w);
  }

  int seconds(const Words& w, size_t at, int otherwise) { return w.size() > at ? number(w[at]) : otherwise; }

  void stepStart(const Words& w) { start(w); }

  void stepWait(const Words& w)
  {
    current_ = waitFor(w[1], seconds(w, 2, 10));
    settle();
    screenshot(w[1] == "message" || w[1] == "print" ? w[1] : "dialog-" + w[1]);
  }

  void stepAbsent(const Words& w) { absent(w[1], number(w[2])); }
  void stepGone(const Words& w) { gone(seconds(w, 1, 10)); }
  void stepCaption(const Words& w) { expectSoon("caption", [&] { return windowText(window()); }, w[1]); }

  void stepText(const Words& w)
  {
    expectSoon(format("text of %s", w[1].c_str()), [&] { return windowText(control(w[1])); }, w[2]);
  }

  void stepTextStarts(const Words& w)
  {
    std::string text = windowText(control(w[1]));
    if (text.compare(0, w[2].size(), w[2]) != 0)
      throw Failure(format("text of %s is \"%s\", which does not begin with \"%s\"", w[1].c_str(), text.c_str(),
                           w[2].c_str()));
    say("    \"" + text + "\"");
  }

  // The current dialog is a message box that shows text MESSAGE of the
  // program's string table, as the program's own file holds it.
  void stepBox(const Words& w)
  {
    HWND text = GetDlgItem(window(), messageTextId);
    if (!text)
      throw Failure("the current dialog is no message box");
    std::string wanted = programText(number(w[1]));
    say("    \"" + wanted + "\"");
    expectSoon(format("text of the message box (not text %s)", w[1].c_str()), [&] { return windowText(text); },
               wanted);
  }

  void stepExists(const Words& w)
  {
    expectEqual(format("presence of control %s", w[1].c_str()), GetDlgItem(window(), number(w[1])) ? "1" : "0",
                w[2]);
  }

  void stepIcon(const Words& w) { expectIcon(control(w[1]), w[2]); }
  void stepControls(const Words&) { listControls(); }

  void stepFits(const Words& w)
  {
    std::vector<int> bold;
    for (size_t i = 1; i < w.size(); ++i)
      bold.push_back(number(w[i]));
    expectFits(bold);
  }

  void stepBold(const Words& w) { expectBold(control(w[1]), w[2]); }
  void stepPainted(const Words& w) { expectPainted(number(w[1]), number(w[2]), number(w[3]), number(w[4])); }

  void stepChecked(const Words& w)
  {
    expectSoon(format("check state of %s", w[1].c_str()),
               [&] { return std::to_string(sendMessage(control(w[1]), BM_GETCHECK, 0, 0)); }, w[2]);
  }

  void stepVisible(const Words& w)
  {
    expectSoon(format("visibility of %s", w[1].c_str()),
               [&] { return std::string(IsWindowVisible(control(w[1])) ? "1" : "0"); }, w[2]);
  }

  void stepEnabled(const Words& w)
  {
    expectSoon(format("enabled state of %s", w[1].c_str()),
               [&] { return std::string(IsWindowEnabled(control(w[1])) ? "1" : "0"); }, w[2]);
  }

  void stepWindowEnabled(const Words& w)
  {
    expectSoon("enabled state of the window", [&] { return std::string(IsWindowEnabled(window()) ? "1" : "0"); },
               w[1]);
  }

  void stepFocus(const Words& w)
  {
    expectSoon("focused control", [&] { return std::to_string(focusedControl()); }, w[1]);
  }

  void stepList(const Words& w)
  {
    std::vector<std::string> entries = listEntries(control(w[1]));
    std::vector<std::string> wanted(w.begin() + 2, w.end());
    std::string seen;
    for (const std::string& e : entries)
      seen += " \"" + e + "\"";
    if (entries != wanted)
      throw Failure(format("entries of %s are%s", w[1].c_str(), seen.c_str()));
  }

  void stepType(const Words& w) { type(control(w[1]), w[2]); }

  void stepSetText(const Words& w)
  {
    std::wstring text = wide(w[2]);
    sendMessage(control(w[1]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  void stepSelect(const Words& w) { select(w[1], w[2]); }
  void stepClick(const Words& w) { PostMessageW(control(w[1]), BM_CLICK, 0, 0); }

  // Presses a button that closes the window, and waits until it has gone.
  void stepAnswer(const Words& w)
  {
    PostMessageW(control(w[1]), BM_CLICK, 0, 0);
    gone(10);
  }

  void stepCommand(const Words& w)
  {
    int id = number(w[1]);
    PostMessageW(window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window(), id)));
  }

  void stepClose(const Words&) { PostMessageW(window(), WM_CLOSE, 0, 0); }

  void stepSyscommand(const Words& w)
  {
    PostMessageW(window(), WM_SYSCOMMAND, static_cast<WPARAM>(number(w[1])), 0);
  }

  void stepKey(const Words& w) { key(w[1]); }
  void stepMouse(const Words& w) { mouse(w.size() > 1 ? w[1] : "left", w.size() > 2 ? control(w[2]) : nullptr); }
  void stepKeys(const Words& w) { keys(w[1]); }

  void stepForeground(const Words&)
  {
    expectSoon("foreground window", [&] {
      return std::string(GetForegroundWindow() == window() ? "the current dialog" : "another window");
    }, "the current dialog");
  }

  void stepOutput(const Words& w) { output(w[1], true); }
  void stepOutputAbsent(const Words& w) { output(w[1], false); }
  void stepExit(const Words& w) { exitCode(number(w[1]), seconds(w, 2, 10)); }

  void stepRegistry(const Words& w)
  {
    std::string value;
    if (!readRegistry(w[1], w[2], value))
      throw Failure("registry value " + w[1] + "\\" + w[2] + " is missing");
    expectEqual("registry value " + w[2], value, w[3]);
  }

  void stepRegistryAbsent(const Words& w)
  {
    std::string value;
    if (readRegistry(w[1], w[2], value))
      throw Failure("registry value " + w[2] + " exists: \"" + value + "\"");
  }

  // For the runner's checks after the scenario (the runner reads the line).
  void stepRemember(const Words& w)
  {
    std::string value;
    if (!readRegistry(w[2], w[3], value))
      throw Failure("registry value " + w[2] + "\\" + w[3] + " is missing");
    say("    remember " + w[1] + "=" + value);
  }

  void stepRegistrySet(const Words& w) { writeRegistry(w[1], w[2], w[3]); }
  void stepRegistryDelete(const Words& w) { deleteRegistryKey(HKEY_CURRENT_USER, w[1]); }

  void stepScreenshot(const Words& w)
  {
    settle();
    screenshot(w[1]);
  }

  void stepSleep(const Words& w) { Sleep(static_cast<DWORD>(number(w[1]))); }

  // The program handles posted clicks and keys in its own time: a state is
  // read again until it is the one wanted, for up to three seconds.
  template <class Read>
  void expectSoon(const std::string& what, Read read, const std::string& wanted)
  {
    DWORD until = GetTickCount() + 3000;
    std::string seen = read();
    while (seen != wanted && static_cast<LONG>(GetTickCount() - until) < 0) {
      Sleep(50);
      seen = read();
    }
    expectEqual(what, seen, wanted);
  }

  void expectEqual(const std::string& what, const std::string& seen, const std::string& wanted)
  {
    if (seen != wanted)
      throw Failure(format("%s is \"%s\", not \"%s\"", what.c_str(), seen.c_str(), wanted.c_str()));
  }

  // start PROGRAM ARGUMENTS...: the program from the program folder, its
  // standard output and error into program.out.
  void start(const std::vector<std::string>& w)
  {
    if (process_.hProcess) {
      if (!programEnded())
        throw Failure("the program started before is still running");
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
      process_ = PROCESS_INFORMATION();
      current_ = nullptr;
    }
    std::string program = programs_ + "\\" + w[1];
    program_ = program;
    std::string commandLine = "\"" + program + "\"";
    for (size_t i = 2; i < w.size(); ++i)
      commandLine += " " + quoted(w[i]);
    outputPath_ = output_ + format("\\program%d.out", ++programs_started_);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(outputPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE in = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                            nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = out;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL started = CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  programs_.c_str(), &startup, &process_);
    CloseHandle(out);
    CloseHandle(in);
    if (!started)
      throw Failure(format("cannot start %s (error %lu)", program.c_str(), GetLastError()));
    WaitForInputIdle(process_.hProcess, 5000);
  }

  struct Search {
    DWORD process;
    std::vector<HWND> windows;
  };

  static BOOL CALLBACK collect(HWND window, LPARAM context)
  {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window) && className(window) == "#32770")
      search->windows.push_back(window);
    return TRUE;
  }

  // A visible dialog of the program: a template id, "message" for a message
  // box (a dialog without a template whose text is static 65535), or "print"
  // for the system's print dialog (one without a template with cmb4).
  HWND findDialog(const std::string& which)
  {
    if (!process_.hProcess)
      throw Failure("no program is started");
    Search search{process_.dwProcessId, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.windows) {
      UINT_PTR id = reinterpret_cast<UINT_PTR>(GetPropA(window, templateProperty));
      if (which == "message") {
        if (id == 0 && GetDlgItem(window, messageTextId))
          return window;
      } else if (which == "print") {
        if (id == 0 && GetDlgItem(window, printerListId))
          return window;
      } else if (id != 0 && static_cast<int>(id) == number(which)) {
        return window;
      }
    }
    return nullptr;
  }

  bool programEnded()
  {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
  }

  HWND waitFor(const std::string& which, int seconds)
  {
    DWORD until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    for (;;) {
      if (HWND window = findDialog(which))
        return window;
      if (programEnded())
        throw Failure("the program ended while waiting for " + which);
      if (static_cast<LONG>(GetTickCount() - until) >= 0)
        throw Failure(format("%s did not show within %d s%s", which.c_str(), seconds, shownDialogs().c_str()));
      Sleep(50);
    }
  }

  std::string shownDialogs()
  {
    Search search{process_.dwProcessId, {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
    std::string list;
    for (HWND window : search.windows)
      list += format(" %u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(GetPropA(window, templateProperty))));
    return list.empty() ? " (no dialog is showing)" : " (showing:" + list + ")";
  }

  void absent(const std::string& which, int seconds)
  {
    DWORD until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (static_cast<LONG>(GetTickCount() - until) < 0) {
      if (findDialog(which))
        throw Failure(which + " showed");
      Sleep(50);
    }
  }

  void gone(int seconds)
  {
    DWORD until = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
    while (IsWindow(current_) && IsWindowVisible(current_)) {
      if (static_cast<LONG>(GetTickCount() - until) >= 0)
        throw Failure(format("the window is still showing after %d s", seconds));
      Sleep(50);
    }
    current_ = nullptr;
  }

  HWND window()
  {
    if (!current_ || !IsWindow(current_))
      throw Failure("no current dialog (wait for one first)");
    return current_;
  }

  HWND control(const std::string& id)
  {
    HWND found = GetDlgItem(window(), number(id));
    if (!found)
      throw Failure("the dialog has no control " + id);
    return found;
  }

  // The system icon that an icon control shows, found by comparing what is on
  // the screen with the icon drawn on the dialog's face colour.
  void expectIcon(HWND control, const std::string& kind)
  {
    static const struct {
      const char* name;
      LPCSTR icon;
    } kinds[] = {{"warning", IDI_WARNING}, {"error", IDI_ERROR}, {"information", IDI_INFORMATION},
                 {"question", IDI_QUESTION}};
    settle();
    RECT rect;
    GetWindowRect(control, &rect);
    const int size = GetSystemMetrics(SM_CXICON);
    std::vector<COLORREF> shown = screenPixels(rect.left, rect.top, size);
    std::string seen = "none of them";
    for (const auto& k : kinds) {
      HICON icon = LoadIconA(nullptr, k.icon);
      if (drawnIcon(icon, size) == shown)
        seen = k.name;
    }
    expectEqual("icon", seen, kind);
  }

  // width x height pixels of what draw puts into a bitmap like the screen's.
  template <class Draw>
  static std::vector<COLORREF> pixelsDrawn(int width, int height, Draw draw)
  {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    draw(memory, screen);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
  }

  static std::vector<COLORREF> screenPixels(int left, int top, int size)
  {
    return pixelsDrawn(size, size, [&](HDC memory, HDC screen) {
      BitBlt(memory, 0, 0, size, size, screen, left, top, SRCCOPY);
    });
  }

  static std::vector<COLORREF> drawnIcon(HICON icon, int size)
  {
    return pixelsDrawn(size, size, [&](HDC memory, HDC) {
      RECT all = {0, 0, size, size};
      FillRect(memory, &all, GetSysColorBrush(COLOR_3DFACE));
      DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    });
  }

  // --- the dialog at the display's scale ------------------------------------

  // The font the current dialog is laid out in, at the display's scale: the
  // font of its template in the program (a message box: the system's message
  // font), in the given weight.
  LOGFONTA dialogFont(LONG weight)
  {
    LOGFONTA font = {};
    UINT_PTR id = reinterpret_cast<UINT_PTR>(GetPropA(window(), templateProperty));
    if (id == 0) {
      NONCLIENTMETRICSA metrics = {};
      metrics.cbSize = sizeof metrics;
      SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
      font = metrics.lfMessageFont;
    } else {
      font = templateFont(static_cast<WORD>(id));
    }
    font.lfWeight = weight;
    return font;
  }

  LOGFONTA templateFont(WORD id)
  {
    HMODULE module = LoadLibraryExA(program_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
      throw Failure("cannot read the resources of " + program_);
    LOGFONTA font = {};
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    const WORD* at = found ? static_cast<const WORD*>(LockResource(LoadResource(module, found))) : nullptr;
    if (!at) {
      FreeLibrary(module);
      throw Failure(format("the program has no dialog template %u", id));
    }
    // DLGTEMPLATEEX (dlgVer 1, signature 0xFFFF) or DLGTEMPLATE; then menu,
    // class and title, then the font when the style says so.
    bool extended = at[0] == 1 && at[1] == 0xFFFF;
    DWORD style = extended ? *reinterpret_cast<const DWORD*>(at + 6) : *reinterpret_cast<const DWORD*>(at);
    at += extended ? 13 : 9;
    for (int field = 0; field < 2; ++field)
      at += *at == 0 ? 1 : *at == 0xFFFF ? 2 : static_cast<int>(wcslen(reinterpret_cast<const wchar_t*>(at))) + 1;
    at += wcslen(reinterpret_cast<const wchar_t*>(at)) + 1;
    if (!(style & DS_SETFONT)) {
      FreeLibrary(module);
      throw Failure(format("dialog template %u names no font", id));
    }
    int points = *at++;
    if (extended)
      at += 2;   // weight, italic and character set: the dialog manager uses the face's regular
    std::string face = narrow(reinterpret_cast<const wchar_t*>(at));
    FreeLibrary(module);
    // With DS_SHELLFONT the system's shell face stands for "MS Shell Dlg".
    if ((style & DS_SHELLFONT) == DS_SHELLFONT && face == "MS Shell Dlg")
      face = "MS Shell Dlg 2";
    font.lfHeight = -MulDiv(points, displayDpi(), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return font;
  }

  // Text id of the string table in the file of the program started last.
  std::string programText(int id)
  {
    HMODULE module = LoadLibraryExA(program_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
      throw Failure("cannot read the resources of " + program_);
    std::vector<wchar_t> buffer(8192);
    int length = LoadStringW(module, static_cast<UINT>(id), buffer.data(), static_cast<int>(buffer.size()));
    FreeLibrary(module);
    return narrow(std::wstring(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0));
  }

  static int displayDpi()
  {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
  }

  // How DrawText lays out a text control's text: word-wrapped or one line,
  // with or without "&" prefixes; 0 for a control that shows no text.
  static UINT textFormat(HWND control)
  {
    LONG style = GetWindowLongA(control, GWL_STYLE);
    std::string kind = className(control);
    if (lstrcmpiA(kind.c_str(), "Static") == 0) {
      LONG type = style & SS_TYPEMASK;
      UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
      if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT)
        return DT_WORDBREAK | DT_EXPANDTABS | prefix;
      if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE)
        return DT_SINGLELINE | DT_EXPANDTABS | prefix;
      return 0;
    }
    if (lstrcmpiA(kind.c_str(), "Button") == 0) {
      LONG type = style & BS_TYPEMASK;
      if (type == BS_GROUPBOX || type == BS_OWNERDRAW || type > BS_AUTORADIOBUTTON)
        return 0;
      return (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    }
    return 0;
  }

  // The room a text control gives its text: the client area less a button's
  // edges or a check box's or radio button's box and the gap after it.
  static RECT textRoom(HWND control, int dpi)
  {
    RECT room;
    GetClientRect(control, &room);
    if (lstrcmpiA(className(control).c_str(), "Button") != 0)
      return room;
    LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
      InflateRect(&room, -2 * GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
    else
      room.left += MulDiv(13 + 4, dpi, 96);
    return room;
  }

  // fits [BOLD-ID...]: the dialog lies on the screen, every visible control
  // inside the dialog's client area, and every visible text control holds its
  // whole text in the dialog's font at the display's scale (the controls
  // named, in its bold version).
  void expectFits(const std::vector<int>& bold)
  {
    settle();
    std::vector<std::string> faults;
    RECT frame;
    GetWindowRect(window(), &frame);
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (frame.left < 0 || frame.top < 0 || frame.right > screenWidth || frame.bottom > screenHeight)
      faults.push_back(format("the dialog (%ld,%ld)-(%ld,%ld) reaches beyond the screen of %d x %d", frame.left,
                              frame.top, frame.right, frame.bottom, screenWidth, screenHeight));
    RECT client;
    GetClientRect(window(), &client);
    MapWindowPoints(window(), nullptr, reinterpret_cast<POINT*>(&client), 2);

    int dpi = displayDpi();
    LOGFONTA regular = dialogFont(FW_NORMAL);
    LOGFONTA heavy = dialogFont(FW_BOLD);
    HFONT fonts[2] = {CreateFontIndirectA(&regular), CreateFontIndirectA(&heavy)};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, fonts[0]);
    int texts = 0;
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!IsWindowVisible(child))
        continue;
      int id = GetDlgCtrlID(child);
      RECT place;
      GetWindowRect(child, &place);
      if (place.left < client.left || place.top < client.top || place.right > client.right ||
          place.bottom > client.bottom)
        faults.push_back(format("control %d reaches outside the dialog's client area", id));
      UINT layout = textFormat(child);
      std::string text = windowText(child);
      if (!layout || text.empty())
        continue;
      ++texts;
      bool isBold = std::find(bold.begin(), bold.end(), id) != bold.end();
      SelectObject(dc, fonts[isBold ? 1 : 0]);
      RECT room = textRoom(child, dpi);
      RECT needed = {0, 0, room.right - room.left, 0};
      DrawTextA(dc, text.c_str(), -1, &needed, layout | DT_CALCRECT);
      if (needed.right > room.right - room.left || needed.bottom > room.bottom - room.top)
        faults.push_back(format("control %d needs %ld x %ld pixels for \"%s\"%s, and has %ld x %ld", id,
                                needed.right, needed.bottom, text.c_str(), isBold ? " in bold" : "",
                                room.right - room.left, room.bottom - room.top));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(fonts[0]);
    DeleteObject(fonts[1]);
    say(format("    %d texts at %d dpi in %ld-pixel %s", texts, dpi, -regular.lfHeight, regular.lfFaceName));
    if (!faults.empty()) {
      for (size_t i = 1; i < faults.size(); ++i)
        say("    " + faults[i]);
      throw Failure(faults[0] + (faults.size() > 1 ? format(" (and %d more)", static_cast<int>(faults.size() - 1)) : ""));
    }
  }

  // The darkness of a text drawn on the face colour: how far each pixel is
  // below the face colour's brightness, summed.
  static long ink(const std::vector<COLORREF>& pixels, COLORREF face)
  {
    auto brightness = [](COLORREF c) { return GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11; };
    long sum = 0;
    for (COLORREF c : pixels)
      sum += std::max(0, brightness(face) - brightness(c)) / 100;
    return sum;
  }

  // bold ID 0|1: the control's text is drawn in a bold face (1) or not (0):
  // its ink on the screen is compared with the text drawn in the dialog's
  // font at the display's scale, regular and bold.
  void expectBold(HWND control, const std::string& wanted)
  {
    settle();
    RECT place;
    GetWindowRect(control, &place);
    int width = place.right - place.left;
    int height = place.bottom - place.top;
    COLORREF face = GetSysColor(COLOR_3DFACE);
    std::vector<COLORREF> shown = pixelsDrawn(width, height, [&](HDC memory, HDC screen) {
      BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
    });
    std::string text = windowText(control);
    UINT layout = textFormat(control);
    long drawn[2];
    for (int weight = 0; weight < 2; ++weight) {
      LOGFONTA description = dialogFont(weight ? FW_BOLD : FW_NORMAL);
      HFONT font = CreateFontIndirectA(&description);
      drawn[weight] = ink(pixelsDrawn(width, height, [&](HDC memory, HDC) {
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(face);
        FillRect(memory, &all, brush);
        DeleteObject(brush);
        HGDIOBJ old = SelectObject(memory, font);
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextA(memory, text.c_str(), -1, &all, layout ? layout : DT_SINGLELINE);
        SelectObject(memory, old);
      }), face);
      DeleteObject(font);
    }
    long seen = ink(shown, face);
    say(format("    ink %ld; the text drawn regular %ld, bold %ld", seen, drawn[0], drawn[1]));
    bool isBold = labs(seen - drawn[1]) < labs(seen - drawn[0]);
    expectEqual("boldness of the text", isBold ? "1" : "0", wanted);
  }

  // painted X1 Y1 X2 Y2: no pixel of the client area's rectangle from
  // (X1, Y1) to (X2, Y2), both included, shows the dialog's face colour. The
  // coordinates are pixels at 100 %, scaled with the display; a negative
  // one counts from the right or bottom edge (-1 the last pixel).
  void expectPainted(int x1, int y1, int x2, int y2)
  {
    settle();
    RECT client;
    GetClientRect(window(), &client);
    int dpi = displayDpi();
    auto at = [dpi](int v, LONG size) {
      if (v == -1)
        return static_cast<int>(size) - 1;
      int scaled = v * dpi / 96;
      return scaled < 0 ? static_cast<int>(size) + scaled : scaled;
    };
    POINT corners[2] = {{at(x1, client.right), at(y1, client.bottom)}, {at(x2, client.right), at(y2, client.bottom)}};
    if (corners[0].x < 0 || corners[0].y < 0 || corners[1].x >= client.right || corners[1].y >= client.bottom ||
        corners[0].x > corners[1].x || corners[0].y > corners[1].y)
      throw Failure(format("the rectangle lies outside the client area of %ld x %ld", client.right, client.bottom));
    MapWindowPoints(window(), nullptr, corners, 2);
    int width = corners[1].x - corners[0].x + 1;
    int height = corners[1].y - corners[0].y + 1;
    std::vector<COLORREF> shown = pixelsDrawn(width, height, [&](HDC memory, HDC screen) {
      BitBlt(memory, 0, 0, width, height, screen, corners[0].x, corners[0].y, SRCCOPY);
    });
    COLORREF face = GetSysColor(COLOR_3DFACE);
    int bare = 0;
    int firstX = -1;
    for (int i = 0; i < width * height; ++i)
      if (shown[static_cast<size_t>(i)] == face && bare++ == 0)
        firstX = i % width;
    say(format("    %d x %d pixels of the client area of %ld x %ld", width, height, client.right, client.bottom));
    if (bare)
      throw Failure(format("%d of them show the face colour, the first %d pixels from the left", bare, firstX));
  }

  // Every control of the current dialog: id, class, visibility and text.
  void listControls()
  {
    for (HWND child = GetWindow(window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      say(format("    %d %s%s \"%s\"", GetDlgCtrlID(child), className(child).c_str(),
                 IsWindowVisible(child) ? "" : " (hidden)", windowText(child).c_str()));
  }

  int focusedControl()
  {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window(), nullptr), &info) || !info.hwndFocus)
      return 0;
    HWND focus = info.hwndFocus;
    // The edit inside a drop-down combo box stands for the combo box.
    HWND parent = GetParent(focus);
    if (parent && parent != current_ && isComboBox(parent))
      focus = parent;
    return GetDlgCtrlID(focus);
  }

  // Characters as typed: the control gets the focus and one WM_CHAR each.
  void type(HWND target, const std::string& text)
  {
    SetForegroundWindow(window());
    DWORD thread = GetWindowThreadProcessId(target, nullptr);
    AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
    SetFocus(target);
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    for (wchar_t c : wide(text))
      PostMessageW(target, WM_CHAR, c, 1);
    settle();
  }

  void select(const std::string& id, const std::string& text)
  {
    HWND combo = control(id);
    std::wstring entry = wide(text);
    LRESULT index = sendMessage(combo, isComboBox(combo) ? CB_SELECTSTRING : LB_SELECTSTRING,
                                static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
    if (index < 0)
      throw Failure(format("%s has no entry \"%s\"", id.c_str(), text.c_str()));
    PostMessageW(window(), WM_COMMAND,
                 MAKEWPARAM(number(id), isComboBox(combo) ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  }

  // A real key press and release through the system's input, to the window
  // that has the focus.
  void key(const std::string& name)
  {
    static const struct {
      const char* name;
      WORD key;
    } keys[] = {{"escape", VK_ESCAPE}, {"return", VK_RETURN}, {"space", VK_SPACE}, {"tab", VK_TAB},
                {"f10", VK_F10},       {"shift", VK_SHIFT},   {"down", VK_DOWN},   {"up", VK_UP}};
    WORD code = 0;
    for (const auto& k : keys)
      if (name == k.name)
        code = k.key;
    if (!code && name.size() == 1)
      code = static_cast<WORD>(VkKeyScanA(name[0]) & 0xFF);
    if (!code)
      throw Failure("unknown key " + name);
    SetForegroundWindow(window());
    Sleep(100);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = code;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  }

  // Real characters through the system's input (as Unicode key events), to
  // whatever window has the keyboard focus: nothing is brought forward.
  void keys(const std::string& text)
  {
    for (wchar_t c : wide(text)) {
      INPUT input[2] = {};
      input[0].type = input[1].type = INPUT_KEYBOARD;
      input[0].ki.wScan = input[1].ki.wScan = c;
      input[0].ki.dwFlags = KEYEVENTF_UNICODE;
      input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
      SendInput(2, input, sizeof(INPUT));
      Sleep(30);
    }
    settle();
  }

  // A real click with the button: at the centre of the current dialog, which
  // is brought forward first; or, with a control, at the centre of that
  // control wherever it is, on whatever the screen shows there, as a person
  // clicks a window that lies behind another.
  void mouse(const std::string& button, HWND target)
  {
    DWORD down, up;
    if (button == "left") {
      down = MOUSEEVENTF_LEFTDOWN;
      up = MOUSEEVENTF_LEFTUP;
    } else if (button == "right") {
      down = MOUSEEVENTF_RIGHTDOWN;
      up = MOUSEEVENTF_RIGHTUP;
    } else if (button == "middle") {
      down = MOUSEEVENTF_MIDDLEDOWN;
      up = MOUSEEVENTF_MIDDLEUP;
    } else {
      throw Failure("unknown mouse button " + button);
    }
    RECT rect;
    GetWindowRect(target ? target : window(), &rect);
    if (!target)
      SetForegroundWindow(window());
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    Sleep(100);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = down;
    input[1].mi.dwFlags = up;
    SendInput(2, input, sizeof(INPUT));
  }

  std::vector<std::string> outputLines() { return fileLines(outputPath_); }

  // output LINE: the line appears within 5 s; output-absent LINE: it is not there now.
  void output(const std::string& wanted, bool present)
  {
    DWORD until = GetTickCount() + (present ? 5000 : 0);
    for (;;) {
      for (const std::string& line : outputLines())
        if (line == wanted) {
          if (!present)
            throw Failure("the output has the line \"" + wanted + "\"");
          return;
        }
      if (!present)
        return;
      if (static_cast<LONG>(GetTickCount() - until) >= 0) {
        std::string all;
        for (const std::string& line : outputLines())
          all += "\n      " + line;
        throw Failure("the output has no line \"" + wanted + "\"; it is:" + all);
      }
      Sleep(50);
    }
  }

  void exitCode(int wanted, int seconds)
  {
    if (!process_.hProcess)
      throw Failure("no program is started");
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(seconds) * 1000) != WAIT_OBJECT_0)
      throw Failure(format("the program did not end within %d s%s", seconds, shownDialogs().c_str()));
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    if (static_cast<int>(code) != wanted)
      throw Failure(format("the program ended with %lu, not %d", code, wanted));
  }

  // Keys are under HKEY_CURRENT_USER.
  bool readRegistry(const std::string& key, const std::string& name, std::string& value)
  {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
      return false;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS)
      return false;
    if (type != REG_SZ)
      throw Failure("registry value " + name + " is not text");
    value = buffer;
    return true;
  }

  void writeRegistry(const std::string& key, const std::string& name, const std::string& value)
  {
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
      throw Failure("cannot create registry key " + key);
    RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
  }

  void deleteRegistryKey(HKEY root, const std::string& key)
  {
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | KEY_WRITE, &handle) != ERROR_SUCCESS)
      return;
    char child[256];
    for (;;) {
      DWORD size = sizeof child;
      if (RegEnumKeyExA(handle, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      deleteRegistryKey(handle, child);
    }
    RegCloseKey(handle);
    RegDeleteKeyA(root, key.c_str());
  }

  // Lets the program paint what it has just shown.
  void settle()
  {
    if (process_.hProcess)
      WaitForInputIdle(process_.hProcess, 2000);
    Sleep(250);
  }

  // The whole display as a 24-bit BMP.
  void screenshot(const std::string& what)
  {
    HDC screen = GetDC(nullptr);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    std::string path = output_ + format("\\%02d-%s.bmp", step_, what.c_str());
    if (FILE* out = fopen(path.c_str(), "wb")) {
      fwrite(&file, sizeof file, 1, out);
      fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
      fwrite(bits, 1, size, out);
      fclose(out);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
  }

  std::string output_;
  std::string programs_;
  std::map<std::string, int> names_;
  std::string program_;
  std::string outputPath_;
  std::ofstream report_;
  PROCESS_INFORMATION process_ = {};
  HWND current_ = nullptr;
  int step_ = 0;
  int programs_started_ = 0;
};

// The scenario language; tests/ui/README.md describes every step with the
// same arguments (its test compares the two).
const Driver::Step Driver::steps[] = {
    {"start", "PROGRAM [ARG...]", &Driver::stepStart},
    {"wait", "DIALOG [S]", &Driver::stepWait},
    {"absent", "DIALOG S", &Driver::stepAbsent},
    {"gone", "[S]", &Driver::stepGone},
    {"caption", "\"T\"", &Driver::stepCaption},
    {"text", "ID \"T\"", &Driver::stepText},
    {"text-starts", "ID \"T\"", &Driver::stepTextStarts},
    {"box", "MESSAGE", &Driver::stepBox},
    {"checked", "ID 0|1|2", &Driver::stepChecked},
    {"visible", "ID 0|1", &Driver::stepVisible},
    {"enabled", "ID 0|1", &Driver::stepEnabled},
    {"exists", "ID 0|1", &Driver::stepExists},
    {"window-enabled", "0|1", &Driver::stepWindowEnabled},
    {"focus", "ID", &Driver::stepFocus},
    {"list", "ID [\"A\"...]", &Driver::stepList},
    {"icon", "ID warning|error|information|question", &Driver::stepIcon},
    {"type", "ID \"T\"", &Driver::stepType},
    {"set-text", "ID \"T\"", &Driver::stepSetText},
    {"select", "ID \"T\"", &Driver::stepSelect},
    {"click", "ID", &Driver::stepClick},
    {"answer", "ID", &Driver::stepAnswer},
    {"command", "ID", &Driver::stepCommand},
    {"close", "", &Driver::stepClose},
    {"syscommand", "COMMAND", &Driver::stepSyscommand},
    {"key", "NAME", &Driver::stepKey},
    {"mouse", "[left|right|middle [ID]]", &Driver::stepMouse},
    {"keys", "\"T\"", &Driver::stepKeys},
    {"foreground", "", &Driver::stepForeground},
    {"output", "\"LINE\"", &Driver::stepOutput},
    {"output-absent", "\"LINE\"", &Driver::stepOutputAbsent},
    {"exit", "CODE [S]", &Driver::stepExit},
    {"registry", "KEY NAME \"V\"", &Driver::stepRegistry},
    {"registry-absent", "KEY NAME", &Driver::stepRegistryAbsent},
    {"registry-set", "KEY NAME \"V\"", &Driver::stepRegistrySet},
    {"registry-delete", "KEY", &Driver::stepRegistryDelete},
    {"remember", "VAR KEY NAME", &Driver::stepRemember},
    {"controls", "", &Driver::stepControls},
    {"fits", "[ID...]", &Driver::stepFits},
    {"bold", "ID 0|1", &Driver::stepBold},
    {"painted", "X1 Y1 X2 Y2", &Driver::stepPainted},
    {"screenshot", "NAME", &Driver::stepScreenshot},
    {"sleep", "MS", &Driver::stepSleep},
};

const Driver::Step* Driver::findStep(const std::string& verb)
{
  for (const Step& step : steps)
    if (verb == step.verb)
      return &step;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 4 && argc != 5) {
    fprintf(stderr, "usage: driver SCENARIO OUTPUT_DIRECTORY PROGRAM_DIRECTORY [NAMES]\n");
    return 2;
  }
  // Coordinates and pictures of the display as they are, at any scale.
  using SetAware = BOOL(WINAPI*)();
  if (auto aware = reinterpret_cast<SetAware>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware"))))
    aware();
  CreateDirectoryA(argv[2], nullptr);
  std::map<std::string, int> names;
  if (argc == 5) {
    try {
      names = readNames(argv[4]);
    } catch (const Failure& failure) {
      fprintf(stderr, "%s: %s\n", argv[4], failure.what());
      return 2;
    }
  }
  Driver driver(argv[2], argv[3], names);
  return driver.run(argv[1]) ? 0 : 1;
}

// Win32 body of the test registries: Wine's registry, loaded by regedit, with
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT moved to
// HKEY_CURRENT_USER\Software\WzTests\PROGRAM-PID\{HKCU,HKLM,HKCR}.
#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "framework/tests/test_registry.h"

namespace {

const HKEY predefined[3] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT};
const char* const rootNames[3] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT"};
const char* const rootTags[3] = {"HKCU", "HKLM", "HKCR"};

struct Scratch {
  std::string base;     // below the real HKEY_CURRENT_USER
  HKEY roots[3] = {nullptr, nullptr, nullptr};
};

Scratch& scratch()
{
  static Scratch s;
  return s;
}

void deleteTree(HKEY parent, const std::string& name)
{
  HKEY key;
  if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return;
  char sub[1024];
  // Always index 0: each deletion moves the next subkey there.
  while (RegEnumKeyA(key, 0, sub, sizeof sub) == ERROR_SUCCESS)
    deleteTree(key, sub);
  RegCloseKey(key);
  RegDeleteKeyA(parent, name.c_str());
}

void restoreRoots()
{
  Scratch& s = scratch();
  for (int r = 0; r < 3; r++) {
    if (s.roots[r]) {
      RegOverridePredefKey(predefined[r], nullptr);
      RegCloseKey(s.roots[r]);
      s.roots[r] = nullptr;
    }
  }
}

void removeScratch()
{
  restoreRoots();
  deleteTree(HKEY_CURRENT_USER, scratch().base);
  // The shared parent goes only once no other test program uses it.
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\WzTests");
}

HKEY makeKey(HKEY parent, const std::string& path)
{
  HKEY key = nullptr;
  DWORD disposition;
  RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition);
  return key;
}

// The system's trusted roots live in the registry too, and crypt32 reads
// them when it first builds a chain and keeps them for the process: one
// chain built before the move lets the code under test verify a server's
// certificate against the real roots while the registry is a test's.
void readTrustedRootsFirst()
{
  HCERTSTORE roots = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
  PCCERT_CONTEXT any = roots ? CertEnumCertificatesInStore(roots, nullptr) : nullptr;
  CERT_CHAIN_PARA request;
  ZeroMemory(&request, sizeof request);
  request.cbSize = sizeof request;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  if (any && CertGetCertificateChain(nullptr, any, nullptr, nullptr, &request, 0, nullptr, &chain))
    CertFreeCertificateChain(chain);
  if (any)
    CertFreeCertificateContext(any);
  if (roots)
    CertCloseStore(roots, 0);
}

void moveRoots()
{
  Scratch& s = scratch();
  if (s.base.empty()) {
    readTrustedRootsFirst();
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string name = program;
    name = name.substr(name.find_last_of("\\/") + 1);
    // The tick count as well: Wine hands a process id to the next process at once.
    s.base = "Software\\WzTests\\" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(GetTickCount());
    std::atexit(removeScratch);
  }
  // All three are made below the real HKEY_CURRENT_USER before it is moved.
  for (int r = 0; r < 3; r++)
    s.roots[r] = makeKey(HKEY_CURRENT_USER, s.base + "\\" + rootTags[r]);
  for (int r = 0; r < 3; r++)
    RegOverridePredefKey(predefined[r], s.roots[r]);
}

// The fixture with its root names moved to the scratch keys, for regedit.
std::string relocated(const std::string& text)
{
  std::istringstream in(text);
  std::string out, line;
  while (std::getline(in, line)) {
    size_t at = line.find_first_not_of(" \t");
    if (at != std::string::npos && line[at] == '[') {
      size_t name = at + 1 + (line.compare(at + 1, 1, "-") == 0 ? 1 : 0);
      for (int r = 0; r < 3; r++) {
        std::string root = rootNames[r];
        if (line.compare(name, root.size(), root) == 0)
          line.replace(name, root.size(), "HKEY_CURRENT_USER\\" + scratch().base + "\\" + rootTags[r]);
      }
    }
    out += line + "\n";
  }
  return out;
}

std::string runRegedit(const std::string& file)
{
  std::string command = "regedit.exe /s \"" + file + "\"";
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return "regedit could not be started";
  DWORD waited = WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (waited != WAIT_OBJECT_0)
    return "regedit did not end";
  return code == 0 ? std::string() : "regedit failed with " + std::to_string(code);
}

// The first value of the fixture (as seen through the moved roots) that the
// registry does not hold, or empty when every key and value is there.
std::string missingFixtureValue(const std::string& text)
{
  std::istringstream in(text);
  std::string line, keyName;
  HKEY key = nullptr;
  bool keyMissing = false;
  std::string missing;
  while (missing.empty() && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.compare(0, 1, "[") == 0 && line.compare(0, 2, "[-") != 0 && line.back() == ']') {
      if (key)
        RegCloseKey(key);
      key = nullptr;
      keyName = line.substr(1, line.size() - 2);
      keyMissing = true;
      for (int r = 0; r < 3; r++) {
        std::string root = rootNames[r];
        if (keyName.compare(0, root.size() + 1, root + "\\") == 0 || keyName == root)
          keyMissing = RegOpenKeyExA(predefined[r], keyName.substr(std::min(keyName.size(), root.size() + 1)).c_str(),
                                     0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS;
      }
      if (keyMissing)
        missing = keyName;
    } else if (key && (line.compare(0, 1, "\"") == 0 || line.compare(0, 2, "@=") == 0)) {
      std::string name;
      if (line[0] == '"') {
        size_t end = line.find("\"=");
        if (end == std::string::npos || line.compare(end + 2, 1, "-") == 0)
          continue;   // a deleted value, or a name with escapes: not checked
        name = line.substr(1, end - 1);
        if (name.find('\\') != std::string::npos)
          continue;
      }
      if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        missing = keyName + "\\" + (name.empty() ? "@" : name);
    }
  }
  if (key)
    RegCloseKey(key);
  return missing;
}

std::vector<std::string>& madeDirectories()
{
  static std::vector<std::string> dirs;
  return dirs;
}

void removeFiles(const std::string& path)
{
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..")
        continue;
      std::string full = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removeFiles(full);
      else
        DeleteFileA(full.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

void removeMadeDirectories()
{
  for (const std::string& dir : madeDirectories())
    removeFiles(dir);
}

}  // namespace

void resetTestRegistry()
{
  restoreRoots();
  if (!scratch().base.empty())
    deleteTree(HKEY_CURRENT_USER, scratch().base);
  moveRoots();
  RegCloseKey(makeKey(scratch().roots[0], "Software"));
  RegCloseKey(makeKey(scratch().roots[1], "SOFTWARE"));
}

std::string importRegistryFixture(const std::string& path)
{
  if (scratch().base.empty())
    resetTestRegistry();
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return "cannot read " + path;
  std::stringstream text;
  text << file.rdbuf();
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string moved = std::string(temp) + "enrolwiz-fixture-" + std::to_string(GetCurrentProcessId()) + ".reg";
  {
    std::ofstream out(moved, std::ios::binary);
    out << relocated(text.str());
  }
  std::string error = runRegedit(moved);
  // Under a loaded Wine an import has been seen to leave a value out; a second
  // import settles it, and a value still missing is a failure of its own.
  if (error.empty() && !missingFixtureValue(text.str()).empty()) {
    std::printf("registry fixture %s: %s missing after regedit, imported again\n", path.c_str(),
                missingFixtureValue(text.str()).c_str());
    std::fflush(stdout);
    error = runRegedit(moved);
    std::string missing = missingFixtureValue(text.str());
    if (error.empty() && !missing.empty())
      error = missing + " missing after regedit";
  }
  DeleteFileA(moved.c_str());
  return error.empty() ? error : path + ": " + error;
}

std::string testDataFile(const char* dir, const char* name)
{
  // Wine shows the Unix file system as drive Z:.
  std::string path = std::string("Z:") + dir + "/" + name;
  for (char& c : path)
    if (c == '/')
      c = '\\';
  return path;
}

std::string makeTestDirectory()
{
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  static int made = 0;
  std::string dir = std::string(temp) + "enrolwiz-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++made);
  removeFiles(dir);
  if (!CreateDirectoryA(dir.c_str(), nullptr))
    return std::string();
  if (madeDirectories().empty())
    std::atexit(removeMadeDirectories);
  madeDirectories().push_back(dir);
  return dir;
}

std::string testPath(const std::string& dir, const char* windowsPath)
{
  return dir + "\\" + windowsPath;
}

void writeTestFile(const std::string& path, const std::string& content)
{
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  std::ofstream file(path, std::ios::binary);
  file << content;
}

void setTestValue(RegistryRoot root, const char* path, const char* name, unsigned type,
                  const std::string& bytes)
{
  HKEY key = makeKey(predefined[root], path);
  // The system adds the zero a text seems to have forgotten when the byte
  // after it is one; a byte that is not keeps the value as given.
  std::string buffer = bytes + "*";
  RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(buffer.data()), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

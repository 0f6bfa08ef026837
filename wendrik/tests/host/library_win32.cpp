// Win32 body of the test host's platform services: LoadLibraryA, GetProcAddress, file attributes, the temporary path.
#include "library.h"

#include <windows.h>

#include <cstdio>

static HMODULE library;

static LONG WINAPI reportCrash(EXCEPTION_POINTERS *info)
{
  std::printf("crashed: exception 0x%08lx at %p\n", static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
              info->ExceptionRecord->ExceptionAddress);
  std::fflush(stdout);
  ExitProcess(3);
  return EXCEPTION_EXECUTE_HANDLER;
}

void hostReportCrashes()
{
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(reportCrash);
}

bool hostOpenLibrary(const std::string &path, std::string &error)
{
  library = LoadLibraryA(path.c_str());
  if (!library)
    error = "LoadLibrary failed with error " + std::to_string(GetLastError());
  return library != nullptr;
}

void *hostFindEntry(const std::string &entry)
{
  return library ? reinterpret_cast<void *>(GetProcAddress(library, entry.c_str())) : nullptr;
}

bool hostMakeReadOnly(const std::string &path)
{
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
}

int hostCountTempFiles(const std::string &prefix)
{
  char directory[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof directory, directory);
  if (length == 0 || length >= sizeof directory)
    return -1;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(directory) + prefix + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return 0;
  int count = 0;
  do
    count++;
  while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

bool hostMakeDirectory(const std::string &path)
{
  return CreateDirectoryA(path.c_str(), NULL) != 0;
}

int hostCountEntries(const std::string &path)
{
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return -1;
  int count = 0;
  do {
    std::string name = found.cFileName;
    if (name != "." && name != "..")
      count++;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

long hostPeakMemoryKiB()
{
  return -1;   // a Wine process's figures say little about the package
}

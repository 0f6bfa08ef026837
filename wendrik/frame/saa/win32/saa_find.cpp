/* Win32 body of saaFindService: the first module of the process that exports
 * the service provides it (the interpreter's library, or a test program that
 * stands in for the interpreter). */
#include "../saa.h"

#include <windows.h>
#include <tlhelp32.h>

void *saaFindService(const char *symbol)
{
  FARPROC found = GetProcAddress(GetModuleHandleA(NULL), symbol);
  if (found)
    return reinterpret_cast<void *>(found);
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
  if (snapshot == INVALID_HANDLE_VALUE)
    return NULL;
  MODULEENTRY32 module;
  module.dwSize = sizeof module;
  for (BOOL more = Module32First(snapshot, &module); more && !found;
       more = Module32Next(snapshot, &module))
    found = GetProcAddress(module.hModule, symbol);
  CloseHandle(snapshot);
  return reinterpret_cast<void *>(found);
}

// Win32 body of the operating-system version port: GetVersionExA.
#include <windows.h>

#include "framework/os_version.h"

OsVersion currentOsVersion()
{
  OsVersion version;
  OSVERSIONINFOA info;
  ZeroMemory(&info, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info))
    return version;
  version.known = true;
  version.platformId = info.dwPlatformId;
  version.majorVersion = info.dwMajorVersion;
  version.minorVersion = info.dwMinorVersion;
  version.buildNumber = info.dwBuildNumber;
  return version;
}

// The operating-system texts of the request and the diagnostic lines, from the
// version the port reports.
#include "framework/os_version.h"

CString operatingSystemName(const OsVersion& version)
{
  if (!version.known)
    return CString();
  switch (version.platformId) {
  case platformWin32s:
    return "Win32s";
  case platformWin32Windows:
    if (version.majorVersion > 4 || (version.majorVersion == 4 && version.minorVersion != 0))
      return "Windows 98";
    return "Windows 95";
  case platformWin32NT:
    return "Windows NT";
  default:
    return CString();
  }
}

CString operatingSystemVersion(const OsVersion& version)
{
  if (!version.known)
    return CString();
  CString text;
  text.Format("V%d.%d (Build %d)", static_cast<int>(version.majorVersion), static_cast<int>(version.minorVersion),
              static_cast<int>(version.buildNumber & 0xFFFF));
  return text;
}

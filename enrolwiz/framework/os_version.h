// Operating-system version port: what GetVersionExA reports on Windows; on
// other platforms nothing is known (the texts are then empty, as for a
// platform the program does not know).
#ifndef ENROLWIZ_FRAMEWORK_OS_VERSION_H
#define ENROLWIZ_FRAMEWORK_OS_VERSION_H

#include "framework/cstring.h"

// The platform ids of OSVERSIONINFOA.
enum OsPlatform : unsigned long { platformWin32s = 0, platformWin32Windows = 1, platformWin32NT = 2 };

struct OsVersion {
  bool known = false;             // false when the version could not be read
  unsigned long platformId = 0;
  unsigned long majorVersion = 0;
  unsigned long minorVersion = 0;
  unsigned long buildNumber = 0;
};

OsVersion currentOsVersion();

// "Win32s", "Windows 95", "Windows 98", "Windows NT" or empty.
CString operatingSystemName(const OsVersion& version);
// "V4.0 (Build 1381)": major, minor and the low 16 bits of the build; empty
// when the version is not known.
CString operatingSystemVersion(const OsVersion& version);

#endif

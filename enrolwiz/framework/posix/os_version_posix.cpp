// POSIX body of the operating-system version port: no Windows version to report.
#include "framework/os_version.h"

OsVersion currentOsVersion()
{
  return OsVersion();
}

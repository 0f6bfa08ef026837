// POSIX body of the test host's platform services: dlopen, dlsym, chmod, the temporary directory.
#include "library.h"

#include <dirent.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

static void *library;

bool hostOpenLibrary(const std::string &path, std::string &error)
{
  library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library)
    error = dlerror();
  return library != nullptr;
}

void *hostFindEntry(const std::string &entry)
{
  return library ? dlsym(library, entry.c_str()) : nullptr;
}

void hostReportCrashes()
{
}

bool hostMakeReadOnly(const std::string &path)
{
  return chmod(path.c_str(), 0444) == 0;
}

int hostCountTempFiles(const std::string &prefix)
{
  const char *directory = getenv("TMPDIR");
  if (directory == nullptr || *directory == '\0')
    directory = P_tmpdir;
  DIR *dir = opendir(directory);
  if (!dir)
    return -1;
  int count = 0;
  while (struct dirent *entry = readdir(dir))
    if (std::string(entry->d_name).compare(0, prefix.size(), prefix) == 0)
      count++;
  closedir(dir);
  return count;
}

bool hostMakeDirectory(const std::string &path)
{
  return mkdir(path.c_str(), 0755) == 0;
}

int hostCountEntries(const std::string &path)
{
  DIR *dir = opendir(path.c_str());
  if (!dir)
    return -1;
  int count = 0;
  while (struct dirent *entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..")
      count++;
  }
  closedir(dir);
  return count;
}

long hostPeakMemoryKiB()
{
  FILE *status = fopen("/proc/self/status", "r");
  if (!status)
    return -1;
  char line[256];
  long peak = -1;
  while (fgets(line, sizeof line, status))
    if (sscanf(line, "VmHWM: %ld kB", &peak) == 1)
      break;
  fclose(status);
  return peak;
}

// POSIX body of the test registries: the in-memory hive, files under /tmp.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "framework/posix/memory_registry.h"
#include "framework/tests/test_registry.h"

namespace {

std::vector<std::string>& madeDirectories()
{
  static std::vector<std::string> dirs;
  return dirs;
}

void removeTree(const std::string& path)
{
  if (DIR* dir = opendir(path.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name != "." && name != "..")
        removeTree(path + "/" + name);
    }
    closedir(dir);
    rmdir(path.c_str());
  } else {
    unlink(path.c_str());
  }
}

void removeMadeDirectories()
{
  for (const std::string& dir : madeDirectories())
    removeTree(dir);
}

}  // namespace

void resetTestRegistry()
{
  memoryRegistry().reset();
}

std::string importRegistryFixture(const std::string& path)
{
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return "cannot read " + path;
  std::stringstream text;
  text << file.rdbuf();
  std::string error;
  if (!memoryRegistry().importText(text.str(), error))
    return path + ": " + error;
  return std::string();
}

std::string testDataFile(const char* dir, const char* name)
{
  return std::string(dir) + "/" + name;
}

std::string makeTestDirectory()
{
  char pattern[] = "/tmp/enrolwiz-test-XXXXXX";
  if (!mkdtemp(pattern))
    return std::string();
  if (madeDirectories().empty())
    std::atexit(removeMadeDirectories);
  madeDirectories().push_back(pattern);
  return pattern;
}

std::string testPath(const std::string& dir, const char* windowsPath)
{
  // The "\" separators stay: this platform's file names may hold them.
  return dir + "/" + windowsPath;
}

void writeTestFile(const std::string& path, const std::string& content)
{
  std::ofstream file(path, std::ios::binary);
  file << content;
}

void setTestValue(RegistryRoot root, const char* path, const char* name, unsigned type,
                  const std::string& bytes)
{
  std::vector<std::string> components;
  splitRegistryPath(path, components);
  RegistryHive& hive = memoryRegistry();
  RegistryHive::setValue(RegistryHive::make(hive.root(root), components, ""), name, type, bytes);
}

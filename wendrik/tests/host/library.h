// Platform services of the test host: loading the package library, file attributes (one body per platform).
#ifndef WENDRIK_TESTS_LIBRARY_H
#define WENDRIK_TESTS_LIBRARY_H

#include <string>

// Opens the library; false with a reason when it cannot be loaded.
bool hostOpenLibrary(const std::string &path, std::string &error);
// An exported entry of the opened library, or null (an external function,
// called through hostCallFunction).
void *hostFindEntry(const std::string &entry);

// A crash of the host or the package ends the host at once with a line on
// standard output and exit status 3, not in a debugger (Windows); elsewhere
// the signal ends it as it is.
void hostReportCrashes();

// Takes the write permission of a file away (a read-only file on Windows).
bool hostMakeReadOnly(const std::string &path);

// Files whose names start with prefix in the temporary directory that the
// package uses (TMPDIR, or the system's temporary path on Windows).
int hostCountTempFiles(const std::string &prefix);

// Creates a folder; the entries of one (its own "." and ".." not counted, -1
// when it cannot be read).
bool hostMakeDirectory(const std::string &path);
int hostCountEntries(const std::string &path);

// The process's peak resident memory in KiB so far; -1 where not known.
long hostPeakMemoryKiB();

#endif

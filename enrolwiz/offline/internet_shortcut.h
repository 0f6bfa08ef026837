// Internet shortcut port: a ".url" file written by the system's Internet
// shortcut object. The Win32 body uses the shell's object; elsewhere there is
// no such object and nothing is written.
#ifndef ENROLWIZ_OFFLINE_INTERNET_SHORTCUT_H
#define ENROLWIZ_OFFLINE_INTERNET_SHORTCUT_H

#include "framework/cstring.h"

// Saves a shortcut to address at path (an ANSI path of at most 260
// characters); true when the file was saved.
bool saveInternetShortcut(const CString& path, const CString& address);

#endif

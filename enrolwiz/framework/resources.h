// The module whose resources (string table, and on Windows the dialogs) the
// program uses (a port): the program's own, or a resource library loaded by
// file name. On Windows a module handle and LoadLibraryA; elsewhere a shared
// object that exports the lookup enrolwizResourceText (see string_table.h).
#ifndef ENROLWIZ_FRAMEWORK_RESOURCES_H
#define ENROLWIZ_FRAMEWORK_RESOURCES_H

#include "cstring.h"

typedef void* ResourceModule;

ResourceModule programModule();
ResourceModule resourceModule();             // the program's module until set
void setResourceModule(ResourceModule module);

// Loads a resource library the way LoadLibraryA finds it (the program's own
// folder first); null when it cannot be loaded.
ResourceModule loadResourceLibrary(const char* fileName);

// The string-table text of id in a module; empty when the module has none.
CString loadModuleText(ResourceModule module, UINT id);

#endif

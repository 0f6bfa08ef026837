// The program's own string table as compiled into every build (generated from
// enrolwiz/res/strings.txt). On Windows the same texts are the STRINGTABLE
// resource; natively this table is the program's resource module.
#ifndef ENROLWIZ_FRAMEWORK_STRING_TABLE_H
#define ENROLWIZ_FRAMEWORK_STRING_TABLE_H

#include "types.h"

struct StringTableEntry {
  UINT id;
  const char* text;   // Windows-1252 bytes
};

// Entries in ascending order of id.
extern const StringTableEntry builtInStrings[];
extern const int builtInStringCount;

// The text of id, or null when the table has none.
const char* builtInStringText(UINT id);

// What a resource library exports outside Windows: the text of id or null.
extern "C" typedef const char* ResourceTextLookup(unsigned id);
#define ENROLWIZ_RESOURCE_TEXT_SYMBOL "enrolwizResourceText"

#endif

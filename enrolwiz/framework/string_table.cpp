// Lookup in the built-in string table.
#include "framework/string_table.h"

#include <algorithm>

const char* builtInStringText(UINT id)
{
  const StringTableEntry* end = builtInStrings + builtInStringCount;
  const StringTableEntry* at = std::lower_bound(builtInStrings, end, id,
      [](const StringTableEntry& e, UINT wanted) { return e.id < wanted; });
  return (at != end && at->id == id) ? at->text : nullptr;
}

// The test resource library outside Windows: its string table's lookup.
#include "framework/string_table.h"

extern "C" __attribute__((visibility("default"))) const char* enrolwizResourceText(unsigned id)
{
  return builtInStringText(id);
}

// String-table lookups: CString::LoadString and loadText, from the resource module.
#include "framework/cstring.h"
#include "framework/resources.h"

BOOL CString::LoadString(UINT id)
{
  *this = loadModuleText(resourceModule(), id);
  return IsEmpty() ? FALSE : TRUE;
}

CString loadText(UINT id)
{
  return loadModuleText(resourceModule(), id);
}

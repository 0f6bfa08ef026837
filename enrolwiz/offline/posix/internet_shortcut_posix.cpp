// Without the Windows shell there is no Internet shortcut object.
#include "offline/internet_shortcut.h"

bool saveInternetShortcut(const CString&, const CString&)
{
  return false;
}

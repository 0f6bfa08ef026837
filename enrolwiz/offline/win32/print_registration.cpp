// Printing of the registration form is not built yet: no printer device
// context is ever obtained, so every call reports -1 and the caller takes its
// "printing failed" path.
#include "offline/print_registration.h"

int printRegistration(CWnd*)
{
  return -1;
}

/* POSIX body of saaFindService: the interpreter (or a test host) exports its
 * services, so they are found in the global symbol scope of the process. */
#include "../saa.h"

#include <dlfcn.h>

void *saaFindService(const char *symbol)
{
  return dlsym(RTLD_DEFAULT, symbol);
}

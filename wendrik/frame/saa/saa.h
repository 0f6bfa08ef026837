/* The REXX SAA interface as the package uses it: types of the external-function
 * call and the three interpreter services (register, deregister, variable pool).
 *
 * The services are found at run time in the hosting process (the interpreter, or
 * a test host standing in for it), so the package links against no interpreter.
 * A service that cannot be found answers SAA_SERVICE_MISSING.
 */
#ifndef WENDRIK_FRAME_SAA_H
#define WENDRIK_FRAME_SAA_H

#ifdef _WIN32
/* The SAA ABI on Win32: 32-bit counts, __stdcall entry points. */
#define SAA_ENTRY __stdcall
typedef unsigned long ULONG;
typedef ULONG APIRET;
typedef struct RXSTRING_type {
  ULONG strlength;
  char *strptr;
} RXSTRING, *PRXSTRING;
typedef struct shvnode {
  struct shvnode *shvnext;
  RXSTRING shvname;
  RXSTRING shvvalue;
  ULONG shvnamelen;
  ULONG shvvaluelen;
  unsigned char shvcode;
  unsigned char shvret;
} SHVBLOCK, *PSHVBLOCK;
#define RXSHV_SYSET 0x03
#else
/* Elsewhere the interpreter's own header fixes the layout of the types. */
#define INCL_RXSHV
#define INCL_RXFUNC
#include <rexxsaa.h>
#define SAA_ENTRY APIENTRY
#endif

#define SAA_SERVICE_MISSING 0xFFFFFFFFUL

/* Signature of an external function as the interpreter calls it. */
typedef ULONG SAA_ENTRY SaaExternalFunction(const char *name, ULONG argc, RXSTRING *argv,
                                            const char *queue, RXSTRING *result);

/* Address of an exported interpreter service, or null (one body per platform). */
void *saaFindService(const char *symbol);

/* The interpreter's services, looked up once on first use. */
ULONG saaRegisterFunctionDll(const char *name, const char *library, const char *entry);
ULONG saaDeregisterFunction(const char *name);
ULONG saaVariablePool(SHVBLOCK *block);

#endif

/* The REXX SAA interface as the package uses it: types of the external-function
 * call and the three interpreter services (register, deregister, variable pool).
 *
 * The services are found at run time in the hosting process (the interpreter, or
 * a test host standing in for it), so the package links against no interpreter.
 * A service that cannot be found answers SAA_SERVICE_MISSING.
 */
#ifndef WENDRIK_FRAME_SAA_H
#define WENDRIK_FRAME_SAA_H

#include <stdint.h>

#include "saa_export.h"

#ifdef _WIN32
/* The SAA ABI on Windows: __stdcall entry points (x86), 32-bit answers of
 * the services. The interpreter's string is left incomplete: on x64 the
 * width of its length differs between interpreters, so frame/variables.cpp
 * alone reads and writes it, through its own layout types. */
#define SAA_ENTRY __stdcall
typedef unsigned long ULONG;
typedef struct RXSTRING_type RXSTRING;
#define RXSHV_SYSET 0x03
#else
/* Elsewhere the interpreter's own header fixes the layout of the types. */
#define INCL_RXSHV
#define INCL_RXFUNC
#include <rexxsaa.h>
#define SAA_ENTRY APIENTRY
#endif

#define SAA_SERVICE_MISSING 0xFFFFFFFFUL

/* The argument count and the return value of an external function. On x64
 * Windows the count is taken as 32 bits (interpreters whose SAA lengths are
 * unsigned long leave the upper half of its register undefined), and the
 * return value is pointer-sized: interpreters whose SAA lengths are
 * unsigned long read its low 32 bits, those whose lengths are size_t read
 * all 64, and a small number reads the same both ways. */
#ifdef _WIN64
typedef unsigned long SaaCount;
typedef uintptr_t SaaReturn;
#else
typedef ULONG SaaCount;
typedef ULONG SaaReturn;
#endif

/* Address of an exported interpreter service, or null (one body per platform). */
void *saaFindService(const char *symbol);

/* The interpreter's services, looked up once on first use. A variable-pool
 * block is in the interpreter's layout, built by frame/variables.cpp. */
ULONG saaRegisterFunctionDll(const char *name, const char *library, const char *entry);
ULONG saaDeregisterFunction(const char *name);
ULONG saaVariablePool(void *block);

#endif

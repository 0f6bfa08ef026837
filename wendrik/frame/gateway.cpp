/* The package's two exports: the loader that registers the REXX names and the
 * gateway that every registered name enters; the function table behind both,
 * one row per name. */
#include "handlers.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define FTP_GATEWAY_ENTRY "FtpFunctionGateWay"

/* No trace line. */
#define FTP_NO_TRACE {NULL, NULL}

const FtpFunction FtpFunctions[] = {
  {"FTPDROPFUNCS", FtpDropFuncsHandler, 0, FTP_ANY_ARGS, FTP_NO_TRACE},
  /* The setting functions answer "0" to a call without arguments. */
  {"FTPSETUSER", FtpSetUserHandler, 0, 4, FTP_NO_TRACE},
  {"FTPSETACTIVEMODE", FtpSetActiveModeHandler, 0, FTP_ANY_ARGS, {"ftpsetactivemode", "%d"}},
  {"FTPSETBINARY", FtpSetBinaryHandler, 0, FTP_ANY_ARGS, FTP_NO_TRACE},
  {"FTPAPPEND", FtpAppendHandler, 2, 3, {"ftpappend", "%s,%s,%d"}},
  {"FTPDELETE", FtpDeleteHandler, 1, 1, {"ftpdelete", "%s"}},
  {"FTPGET", FtpGetHandler, 2, 3, {"ftpget", "%s,%s,'w',%d"}},
  {"FTPPUT", FtpPutHandler, 2, 3, {"ftpput", "%s,%s,%d"}},
  {"FTPPUTUNIQUE", FtpPutUniqueHandler, 2, 3, {"ftpputunique", "%s,%s,%d"}},
  {"FTPRENAME", FtpRenameHandler, 2, 2, {"ftprename", "%s,%s"}},
  {"FTPLS", FtpLsHandler, 2, 2, {"ftpls", "%s,%s"}},
  {"FTPDIR", FtpDirHandler, 2, 2, {"ftpdir", "%s,%s"}},
  {"FTPPWD", FtpPwdHandler, 0, FTP_ANY_ARGS, {"ftppwd", "%s"}},
  {"FTPCHDIR", FtpChDirHandler, 1, 1, {"ftpchdir", "%s"}},
  {"FTPMKDIR", FtpMkDirHandler, 1, 1, {"ftpmkdir", "%s"}},
  {"FTPRMDIR", FtpRmDirHandler, 1, 1, {"ftprmdir", "%s"}},
  {"FTPLOGOFF", FtpLogoffHandler, 0, FTP_ANY_ARGS, FTP_NO_TRACE},
  /* With a reply variable FtpQuote writes the line of "ftpquotereply". */
  {"FTPQUOTE", FtpQuoteHandler, 1, 2, {"ftpquote", "%s"}},
  {"FTPSITE", FtpSiteHandler, 1, 1, {"ftpsite", "%s"}},
  {"FTPSYS", FtpSysHandler, 1, 1, {"ftpsys", "%s"}},
  {"FTPPROXY", FtpProxyHandler, 10, 11, FTP_NO_TRACE},
  {"FTPVERSION", FtpVersionHandler, 0, FTP_ANY_ARGS, FTP_NO_TRACE},
  {"FTPTRACE", FtpTraceHandler, 0, FTP_ANY_ARGS, FTP_NO_TRACE},
  {"FTPPING", FtpPingHandler, 2, 2, FTP_NO_TRACE},
  /* Beyond the original set: TLS (explicit FTPS). */
  {"FTPSETSECURE", FtpSetSecureHandler, 1, 2, {"ftpsetsecure", "%d,%s"}},
};
const int FtpFunctionCount = sizeof FtpFunctions / sizeof FtpFunctions[0];

/* Registration answers that leave a name usable. */
#define RXFUNC_REGISTERED 0
#define RXFUNC_DEFINED    10

static void FtpWriteBanner(void)
{
  printf("%s %s - %s\n", WENDRIK_NAME, WENDRIK_VERSION, "REXX function package for tcp/ip ftp");
  printf("%s\n", "FTP client functions and ICMP ping for REXX programs.");
  printf("%s\n", "This package comes without warranty of any kind.");
  printf("\n");
  fflush(stdout);
}

SAA_EXPORT SaaReturn SAA_ENTRY FTPLOADFUNCS(const char *name, SaaCount argc, RXSTRING *argv,
                                            const char *queue, RXSTRING *result)
{
  (void)name;
  (void)argv;
  (void)queue;
  FtpBeginResult(result);
  /* The loader is not entered through the gateway; it starts its own status
   * afresh so that an earlier call's failure does not show through. */
  FtpErrnoCode = FTPERR_NONE;
  if (argc == 0)
    FtpWriteBanner();
  for (int i = 0; i < FtpFunctionCount; i++) {
    ULONG rc = saaRegisterFunctionDll(FtpFunctions[i].name, WENDRIK_NAME, FTP_GATEWAY_ENTRY);
    if (rc != RXFUNC_REGISTERED && rc != RXFUNC_DEFINED) {
      FtpErrnoCode = FTPERR_COMMAND;
      FtpSetErrno();
      FtpSetResult(result, FTP_RESULT_FAILED);
      return FTP_CALL_VALID;
    }
  }
  FtpSetErrno();
  FtpSetResult(result, FTP_RESULT_OK);
  return FTP_CALL_VALID;
}

/* Upper-cases the interpreter's name buffer in place. Bytes that are already
 * upper case are not written, so a read-only name of upper-case letters is safe. */
static void FtpUpperName(char *name)
{
  for (; *name; name++) {
    char upper = static_cast<char>(toupper(static_cast<unsigned char>(*name)));
    if (upper != *name)
      *name = upper;
  }
}

/* Arguments of up to this many strings are copied on the stack. */
#define FTP_ARGS_ON_STACK 16

SAA_EXPORT SaaReturn SAA_ENTRY FTPFUNCTIONGATEWAY(const char *name, SaaCount argc, RXSTRING *argv,
                                                  const char *queue, RXSTRING *result)
{
  (void)queue;
  FtpBeginResult(result);
  FtpErrnoCode = FTPERR_NONE;
  FtpSetVariable("FTPERRNO", NULL, "0");
  if (name == NULL)
    return FTP_CALL_INVALID;
  FtpUpperName(const_cast<char *>(name));
  const FtpFunction *function = NULL;
  for (int i = 0; i < FtpFunctionCount && function == NULL; i++)
    if (strcmp(FtpFunctions[i].name, name) == 0)
      function = &FtpFunctions[i];
  if (function == NULL)
    return FTP_CALL_INVALID;

  /* Every argument is copied, whether the handler looks at them or not. */
  FtpArg onStack[FTP_ARGS_ON_STACK];
  FtpArg *args = onStack;
  if (argc > FTP_ARGS_ON_STACK) {
    args = static_cast<FtpArg *>(calloc(argc, sizeof *args));
    if (args == NULL)
      return FtpInvalidCall(result);
  }
  FtpReadArgs(argc, argv, args);
  ULONG rc = argc < function->minArgs || argc > function->maxArgs ? FtpInvalidCall(result)
                                                                   : function->handler(function, argc, args, result);
  if (args != onStack)
    free(args);
  return rc;
}

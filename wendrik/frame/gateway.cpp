/* The package's two exports: the loader that registers the REXX names and the
 * gateway that every registered name enters. */
#include "handlers.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#define FTP_EXPORT extern "C"
#else
#define FTP_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#define FTP_GATEWAY_ENTRY "FtpFunctionGateWay"

/* Several names share a handler, which tells them apart by name. */
const FtpFunction FtpFunctions[] = {
  {"FTPDROPFUNCS", FtpDropFuncsHandler},
  {"FTPSETUSER", FtpSettingsHandler},
  {"FTPSETACTIVEMODE", FtpSettingsHandler},
  {"FTPSETBINARY", FtpSettingsHandler},
  {"FTPAPPEND", FtpFileHandler},
  {"FTPDELETE", FtpFileHandler},
  {"FTPGET", FtpFileHandler},
  {"FTPPUT", FtpFileHandler},
  {"FTPPUTUNIQUE", FtpFileHandler},
  {"FTPRENAME", FtpFileHandler},
  {"FTPLS", FtpListHandler},
  {"FTPDIR", FtpListHandler},
  {"FTPPWD", FtpPwdHandler},
  {"FTPCHDIR", FtpDirectoryHandler},
  {"FTPMKDIR", FtpDirectoryHandler},
  {"FTPRMDIR", FtpDirectoryHandler},
  {"FTPLOGOFF", FtpLogoffHandler},
  {"FTPQUOTE", FtpRawHandler},
  {"FTPSITE", FtpRawHandler},
  {"FTPSYS", FtpRawHandler},
  {"FTPPROXY", FtpProxyHandler},
  {"FTPVERSION", FtpVersionHandler},
  {"FTPTRACE", FtpTraceHandler},
  {"FTPPING", FtpPingHandler},
  /* Beyond the original set: TLS (explicit FTPS). */
  {"FTPSETSECURE", FtpSettingsHandler},
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

FTP_EXPORT SaaReturn SAA_ENTRY FTPLOADFUNCS(const char *name, SaaCount argc, RXSTRING *argv,
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

FTP_EXPORT SaaReturn SAA_ENTRY FTPFUNCTIONGATEWAY(const char *name, SaaCount argc, RXSTRING *argv,
                                                  const char *queue, RXSTRING *result)
{
  (void)queue;
  FtpBeginResult(result);
  FtpErrnoCode = FTPERR_NONE;
  FtpSetVariable("FTPERRNO", NULL, "0");
  if (name == NULL)
    return FTP_CALL_INVALID;
  FtpUpperName(const_cast<char *>(name));
  FtpHandler *handler = NULL;
  for (int i = 0; i < FtpFunctionCount && handler == NULL; i++)
    if (strcmp(FtpFunctions[i].name, name) == 0)
      handler = FtpFunctions[i].handler;
  if (handler == NULL)
    return FTP_CALL_INVALID;

  /* Every argument is copied, whether the handler looks at argc or not. */
  FtpArg onStack[FTP_ARGS_ON_STACK];
  FtpArg *args = onStack;
  if (argc > FTP_ARGS_ON_STACK) {
    args = static_cast<FtpArg *>(calloc(argc, sizeof *args));
    if (args == NULL)
      return FtpInvalidCall(result);
  }
  FtpReadArgs(argc, argv, args);
  ULONG rc = handler(name, argc, args, result);
  if (args != onStack)
    free(args);
  return rc;
}

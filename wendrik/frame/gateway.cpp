/* The package's two exports: the loader that registers the REXX names and the
 * gateway that every registered name enters. */
#include "handlers.h"

#include <ctype.h>
#include <stdio.h>
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

FTP_EXPORT ULONG SAA_ENTRY FTPLOADFUNCS(const char *name, ULONG argc, RXSTRING *argv,
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

FTP_EXPORT ULONG SAA_ENTRY FTPFUNCTIONGATEWAY(const char *name, ULONG argc, RXSTRING *argv,
                                              const char *queue, RXSTRING *result)
{
  (void)queue;
  FtpBeginResult(result);
  FtpErrnoCode = FTPERR_NONE;
  FtpSetVariable("FTPERRNO", NULL, "0");
  if (name == NULL)
    return FTP_CALL_INVALID;
  FtpUpperName(const_cast<char *>(name));
  for (int i = 0; i < FtpFunctionCount; i++)
    if (strcmp(FtpFunctions[i].name, name) == 0)
      return FtpFunctions[i].handler(name, argc, argv, result);
  return FTP_CALL_INVALID;
}

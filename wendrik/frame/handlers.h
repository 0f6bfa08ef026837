/* The function table and its handlers: one row per REXX name, with the
 * handler, the argument counts it takes and the format of its trace line
 * (the table is in gateway.cpp). */
#ifndef WENDRIK_FRAME_HANDLERS_H
#define WENDRIK_FRAME_HANDLERS_H

#include "frame.h"
#include "ftp/engine.h"

/* A trace line: "RC = NAME(HOST,USER,PASSWORD,ACCOUNT,ARGUMENTS); FTPERRNO = CODE". */
struct FtpTraceFormat {
  const char *name;        /* "ftpget"; null: the function writes none */
  const char *arguments;   /* printf format of the call's own arguments */
};

struct FtpFunction;
/* A handler gets its row, the arguments (their count within the row's
 * limits) and the result to write. */
typedef ULONG FtpHandler(const FtpFunction *function, ULONG argc, FtpArg *argv, RXSTRING *result);

#define FTP_ANY_ARGS (~0UL)

struct FtpFunction {
  const char *name;        /* upper case, as registered */
  FtpHandler *handler;
  ULONG minArgs;           /* any other count is the incorrect call */
  ULONG maxArgs;           /* FTP_ANY_ARGS: no limit */
  FtpTraceFormat trace;
};

/* The registered names in table order; FtpFunctionCount of them. */
extern const FtpFunction FtpFunctions[];
extern const int FtpFunctionCount;

/* After the engine call, when the trace switch is on: the trace line to
 * standard error, its prefix with rc and the current login (no account:
 * "(null)"), the call's own arguments by the format's arguments, and
 * FtpErrnoCode. */
void FtpTraceCall(const FtpTraceFormat *trace, int rc, ...);

/* The current login (FtpSetUser) as the engine takes it. */
FtpLoginTexts FtpCurrentLoginTexts(void);

FtpHandler FtpDropFuncsHandler;
FtpHandler FtpSetUserHandler;
FtpHandler FtpSetActiveModeHandler;
FtpHandler FtpSetBinaryHandler;
FtpHandler FtpSetSecureHandler;
FtpHandler FtpAppendHandler;
FtpHandler FtpDeleteHandler;
FtpHandler FtpGetHandler;
FtpHandler FtpPutHandler;
FtpHandler FtpPutUniqueHandler;
FtpHandler FtpRenameHandler;
FtpHandler FtpLsHandler;
FtpHandler FtpDirHandler;
FtpHandler FtpPwdHandler;
FtpHandler FtpChDirHandler;
FtpHandler FtpMkDirHandler;
FtpHandler FtpRmDirHandler;
FtpHandler FtpLogoffHandler;
FtpHandler FtpQuoteHandler;
FtpHandler FtpSiteHandler;
FtpHandler FtpSysHandler;
FtpHandler FtpProxyHandler;
FtpHandler FtpVersionHandler;
FtpHandler FtpTraceHandler;
FtpHandler FtpPingHandler;

#endif

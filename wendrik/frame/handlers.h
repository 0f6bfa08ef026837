/* The function handlers, one per group of REXX names (see the table in gateway.cpp). */
#ifndef WENDRIK_FRAME_HANDLERS_H
#define WENDRIK_FRAME_HANDLERS_H

#include "frame.h"
#include "ftp/engine.h"

FtpHandler FtpDropFuncsHandler;
FtpHandler FtpSettingsHandler;
FtpHandler FtpFileHandler;
FtpHandler FtpListHandler;
FtpHandler FtpPwdHandler;
FtpHandler FtpDirectoryHandler;
FtpHandler FtpLogoffHandler;
FtpHandler FtpRawHandler;
FtpHandler FtpProxyHandler;
FtpHandler FtpVersionHandler;
FtpHandler FtpTraceHandler;
FtpHandler FtpPingHandler;

/* The current login (FtpSetUser) as the engine takes it. */
FtpLoginTexts FtpCurrentLoginTexts(void);

/* The registered names in table order; FtpFunctionCount of them. */
struct FtpFunction {
  const char *name;
  FtpHandler *handler;
};
extern const FtpFunction FtpFunctions[];
extern const int FtpFunctionCount;

#endif

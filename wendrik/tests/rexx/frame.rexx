/* The package frame under Regina: loading, banner, the gateway, FTPERRNO,
   FtpVersion, FtpTrace and FtpDropFuncs. */
/* stdout: Wendrik 2.1 - REXX function package for tcp/ip ftp */
/* stdout-count 2: Wendrik 2.1 - REXX function package for tcp/ip ftp */
fails = 0

call check RxFuncAdd('FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'), 0, 'RxFuncAdd'
call FtpLoadFuncs
call check result, '0', 'first load'
call check FTPERRNO, '0', 'FTPERRNO after load'
call FtpLoadFuncs 'quiet'
call check result, '0', 'second load, no banner'
call FtpLoadFuncs
call check result, '0', 'third load, banner again'
call check RxFuncQuery('FtpPing'), 0, 'FtpPing registered'

/* Any case reaches the function; FTPERRNO is "0" after every call. */
FTPERRNO = 'FTPLOCALFILE'
call check ftpversion('ver'), '', 'lower-case FtpVersion result'
call check ver, '2.1', 'version variable'
call check FTPERRNO, '0', 'FTPERRNO reset by the gateway'
call check FTPVERSION('  spaced  '), '', 'FtpVersion with blanks'
call check spaced, '2.1', 'blanks trimmed off the variable name'
drop nothing
call check FtpVersion(), '', 'FtpVersion without a name'
call check symbol('NOTHING'), 'LIT', 'nothing set by FtpVersion()'

/* FtpTrace flips the switch and returns the empty string. */
call check FtpTrace(), '', 'trace on'
call check FtpTrace('ignored'), '', 'trace off'

/* A name the gateway does not know: the incorrect-call condition. */
call check RxFuncAdd('FtpNoSuchFunction', 'Wendrik', 'FtpFunctionGateWay'), 0, 'RxFuncAdd of an unknown name'
call check trap('x = FtpNoSuchFunction("*", "stem.")'), 40, 'a name the gateway does not know'
call RxFuncDrop 'FtpNoSuchFunction'
/* ... while FtpLs with the same arguments is a valid call that reaches the
   engine (no server on port 1: FTPCONNECT). */
call FtpSetUser '127.0.0.1 1', 'u', 'p'
call check trap('x = FtpLs("*", "stem.")'), 0, 'FtpLs is there'
call check FTPERRNO, 'FTPCONNECT', 'FtpLs without a server'

/* Dropping removes every name; loading again brings them back. */
call check FtpDropFuncs(), '', 'drop'
call check RxFuncQuery('FtpVersion'), 1, 'FtpVersion gone'
call check RxFuncQuery('FtpLoadFuncs'), 1, 'FtpLoadFuncs gone'
call check RxFuncAdd('FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'), 0, 'RxFuncAdd again'
call FtpLoadFuncs 'again'
call check result, '0', 'load after drop'
call check FtpVersion('again'), '', 'FtpVersion after reload'
call check again, '2.1', 'version after reload'

if fails > 0 then exit 1
say 'PASS'
exit 0

/* Runs a statement; returns the condition number it raised, or 0. */
trap:
  signal on syntax name trap.caught
  interpret arg(1)
  return 0
trap.caught:
  return rc

check: procedure expose fails sigl
  parse arg actual, expected, what
  if actual == expected then return
  say 'FAIL line' sigl':' what': got "'actual'", expected "'expected'"'
  fails = fails + 1
  return

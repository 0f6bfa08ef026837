/* Every one of the 24 functions under Regina against the scripted FTP server,
   for what a real server will not do on demand: refused PWD and SYST, 4xx
   and 5xx quoted replies, listings with long lines and no last line end,
   the refusals of a server-to-server transfer; valid and invalid calls. */
/* peer: scripted */
/* environment: WENDRIK_TEST_LONG_WAIT_MS 1000 */
/* stdout: Wendrik 2.1 - REXX function package for tcp/ip ftp */
/* stderr: -1 = ftppwd(${WZ_SCRIPTED_REFUSING},ray,pw,(null),); FTPERRNO = 9 */
/* stderr: -1 = ftpsys(${WZ_SCRIPTED_REFUSING},ray,pw,(null),); FTPERRNO = 9 */
/* stderr: -1 = ftpmkdir(${WZ_SCRIPTED_REFUSING},ray,pw,(null),d); FTPERRNO = 9 */
/* stderr: -1 = ftpsite(${WZ_SCRIPTED_REFUSING},ray,pw,(null),WHAT); FTPERRNO = 9 */
/* stderr: 0 = ftpsetactivemode(${WZ_SCRIPTED_LISTING},ray,pw,acct,1); FTPERRNO = 0 */
/* stderr: 0 = ftpls(${WZ_SCRIPTED_LISTING},ray,pw,acct,${WZ_WORK}/tmp/ftp{any},long); FTPERRNO = 0 */
/* stderr: -1 = ftpdir(${WZ_SCRIPTED_LISTING},ray,pw,acct,${WZ_WORK}/tmp/ftp{any},missing); FTPERRNO = 9 */
/* stderr: 0 = ftpget(${WZ_SCRIPTED_LISTING},ray,pw,acct,${WZ_WORK}/a.txt,a.txt,'w',3); FTPERRNO = 0 */
/* stdout: local disk full. aborted */
/* stderr: -1 = ftpget(${WZ_SCRIPTED_LISTING},ray,pw,acct,/dev/full,a.txt,'w',3); FTPERRNO = 6 */
/* stderr: 0 = ftpput(${WZ_SCRIPTED_LISTING},ray,pw,acct,${WZ_WORK}/a.txt,c.txt,3); FTPERRNO = 0 */
/* stderr: 0 = ftpappend(${WZ_SCRIPTED_LISTING},ray,pw,acct,${WZ_WORK}/a.txt,c.txt,3); FTPERRNO = 0 */
/* stderr: 0 = ftpputunique(${WZ_SCRIPTED_LISTING},ray,pw,acct,${WZ_WORK}/a.txt,c.txt,3); FTPERRNO = 0 */
/* stderr: 0 = ftprename(${WZ_SCRIPTED_LISTING},ray,pw,acct,c.txt,d.txt); FTPERRNO = 0 */
/* stderr: 0 = ftpdelete(${WZ_SCRIPTED_LISTING},ray,pw,acct,d.txt); FTPERRNO = 0 */
/* stderr: 0 = ftprmdir(${WZ_SCRIPTED_LISTING},ray,pw,acct,sub); FTPERRNO = 0 */
/* stderr: 0 = ftpchdir(${WZ_SCRIPTED_COMMANDS},ray,pw,(null),sub); FTPERRNO = 0 */
/* stderr: -1 = ftpquote(${WZ_SCRIPTED_COMMANDS},ray,pw,(null),BUSY); FTPERRNO = 9 */
/* stderr: -1 = ftpquotereply(${WZ_SCRIPTED_COMMANDS},ray,pw,(null),BUSY,Try again later.); FTPERRNO = 9 */
fails = 0
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs
call check result, '0', 'FtpLoadFuncs with its banner'
call FtpVersion 'v'
call check v, '2.1', 'FtpVersion'
work = value('WZ_WORK',, 'ENVIRONMENT')
refusing = value('WZ_SCRIPTED_REFUSING',, 'ENVIRONMENT')
listing = value('WZ_SCRIPTED_LISTING',, 'ENVIRONMENT')
commands = value('WZ_SCRIPTED_COMMANDS',, 'ENVIRONMENT')
primary = value('WZ_SCRIPTED_PROXY_PRIMARY',, 'ENVIRONMENT')
second = value('WZ_SCRIPTED_PROXY_SECOND',, 'ENVIRONMENT')
nopasv = value('WZ_SCRIPTED_PROXY_NOPASV',, 'ENVIRONMENT')
noport = value('WZ_SCRIPTED_PROXY_NOPORT',, 'ENVIRONMENT')
reset = value('WZ_SCRIPTED_DATA_RESET_226',, 'ENVIRONMENT')
call FtpTrace

/* Refused PWD, SYST, MKD, SITE: "-1", FTPCOMMAND, the variables empty. */
call check FtpSetUser(refusing, 'ray', 'pw'), '1', 'FtpSetUser'
dir = 'old'
call check FtpPwd('dir'), '-1', 'FtpPwd refused'
call check dir, '', 'no directory'
call check FTPERRNO, 'FTPCOMMAND', 'FTPERRNO of a refused PWD'
sys = 'old'
call check FtpSys('sys'), '-1', 'FtpSys refused'
call check sys, '', 'no system'
call check FtpMkDir('d'), '-1', 'FtpMkDir refused'
call check FtpSite('WHAT'), '-1', 'FtpSite refused'
call check FtpSetBinary('text'), '0', 'FtpSetBinary of neither type'

/* Listings: long lines, no last line end; in active mode, with an account. */
call check FtpSetUser(listing, 'ray', 'pw', 'acct'), '1', 'FtpSetUser with an account'
call check FtpSetActiveMode(1), '1', 'active mode'
call check FtpLs('long', 'long.'), '0', 'FtpLs of long lines'
call check long.0, 8, 'eight elements'
call check length(long.1) length(long.2) length(long.3) length(long.6), '198 198 1 4', 'pieces of 198'
call check long.8, 'a' || '0d'x || 'b', 'a carriage return inside a line'
call check FtpLs('noend', 'noend.'), '0', 'FtpLs without a last line end'
call check noend.0 noend.1 noend.2, '2 one two', 'the last line dropped'
call check FtpDir('missing', 'gone.'), '-1', 'FtpDir refused'
call check gone.0, '0', 'stem.0 of a refused listing'
call check symbol('gone.1'), 'LIT', 'no element of a refused listing'
call check trap('x = FtpDir("a", "b.", "c")'), 40, 'FtpDir with three arguments'
call check FtpGet(work'/a.txt', 'a.txt'), '0', 'FtpGet'
/* A device that takes nothing: the download is aborted. */
call check FtpGet('/dev/full', 'a.txt'), '-1', 'FtpGet into a full device'
call check FTPERRNO, 'FTPABORT', 'FTPERRNO of a download the local file did not take'
call check FtpPut(work'/a.txt', 'c.txt'), '0', 'FtpPut'
call check FtpAppend(work'/a.txt', 'c.txt'), '0', 'FtpAppend'
call check FtpPutUnique(work'/a.txt', 'c.txt'), '0', 'FtpPutUnique'
call check FtpRename('c.txt', 'd.txt'), '0', 'FtpRename'
call check FtpDelete('d.txt'), '0', 'FtpDelete'
call check FtpRmDir('sub'), '0', 'FtpRmDir'
call check trap('x = FtpDelete()'), 40, 'FtpDelete without a name'

/* A data connection reset half-way, 226 all the same: what came is not the
   whole. The download keeps the old file, the listing sets no element. */
call check FtpSetUser(reset, 'ray', 'pw'), '1', 'FtpSetUser'
call lineout work'/kept.txt', 'the old copy'
call lineout work'/kept.txt'
call check FtpGet(work'/kept.txt', 'hello.txt'), '-1', 'FtpGet cut off'
call check FTPERRNO, 'FTPABORT', 'FTPERRNO of a download cut off'
call check linein(work'/kept.txt'), 'the old copy', 'the old file kept'
cut.1 = 'before'
call check FtpLs('', 'cut.'), '-1', 'FtpLs cut off'
call check cut.0 cut.1 symbol('cut.2'), '0 before LIT', 'no element of a listing cut off'

/* Directories and quoted commands. */
call check FtpSetUser(commands, 'ray', 'pw'), '1', 'FtpSetUser'
call check FtpChDir('sub'), '0', 'FtpChDir'
call check FtpQuote('BUSY'), '-1', 'FtpQuote of a 4xx'
call check FTPERRNO, 'FTPCOMMAND', 'FTPERRNO of a 4xx'
call check FtpQuote('BUSY', 'r'), '-1', 'FtpQuote of a 4xx, captured'
call check FTPERRNO r, 'FTPCOMMAND Try again later.', 'FTPERRNO and text of a captured 4xx'
call check FtpQuote('STAT', 'r'), '0', 'FtpQuote of a multi-line reply'
call check r, 'Status of the scripted server: Connected to 127.0.0.1End of status', 'all lines'

/* FtpProxy refusals. */
call check FtpProxy(primary, 'p', 'pw', , nopasv, 's', 'pw', , 't', 's'), '-1', 'second refuses PASV'
call check FTPERRNO, 'FTPPROXYTHIRD', 'FTPERRNO when PASV is refused'
call check FtpProxy(noport, 'p', 'pw', , second, 's', 'pw', , 't', 'source.bin'), '-1', 'primary refuses PORT'
call check FTPERRNO, 'FTPCOMMAND', 'FTPERRNO when PORT is refused'
call check FtpProxy(primary, 'p', 'pw', , second, 's', 'pw', , 't', 'missing.bin'), '-1', 'RETR refused'
call check FTPERRNO, 'FTPABORT', 'FTPERRNO when RETR is refused'
call check FtpProxy(primary, 'p', 'pw', , second, 's', 'pw', , 'copy.bin', 'small.txt', 'A'), '0', 'FtpProxy'
call check trap('x = FtpProxy(primary, "p", "pw", , second, "s", "pw", , "t", "s", "text")'), 40, 'FtpProxy with an invalid type'

/* FtpPing where nothing is sent; argument rules. */
call check FtpPing('no-such-host-with-a-label-longer-than-sixty-three-characters-xxxxx.invalid', ''), 'PINGHOST', 'FtpPing of a name that does not resolve'
call check trap('x = FtpPing("127.0.0.1", "x")'), 40, 'FtpPing with a length that is no number'

call check FtpLogoff(), '0', 'FtpLogoff'
call check FtpDropFuncs(), '', 'FtpDropFuncs'
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

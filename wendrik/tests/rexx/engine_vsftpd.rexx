/* The file functions under Regina against a real vsftpd: round trips in both
   modes and both types, append, put unique, delete, rename, type switching,
   session reuse counted on the server's side, a second session, log off. */
/* peer: vsftpd */
fails = 0
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'

host = value('WZ_VSFTPD_HOST',, 'ENVIRONMENT')
user = value('WZ_VSFTPD_USER',, 'ENVIRONMENT')
password = value('WZ_VSFTPD_PASSWORD',, 'ENVIRONMENT')
root = value('WZ_VSFTPD_ROOT',, 'ENVIRONMENT')
log = value('WZ_VSFTPD_LOG',, 'ENVIRONMENT')
work = value('WZ_WORK',, 'ENVIRONMENT')

/* Test files: every byte value, CR LF and Ctrl-Z inside; lines of text. */
binary = testfiles('every byte', 300)
text = testfiles('text lines')
call testfiles 'write', work'/data.bin', binary
call testfiles 'write', work'/text.txt', text

call check FtpSetUser(host, user, password), '1', 'FtpSetUser'
call check connections(), 0, 'no connection before the first engine call'

/* Passive, then active; BINARY, then ASCII; every file byte-identical. */
do mode = 0 to 1
  call check FtpSetActiveMode(mode), '1', 'FtpSetActiveMode' mode
  call check FtpPut(work'/data.bin', 'data'mode'.bin', 'binary'), '0', 'put binary, mode' mode
  call check testfiles('read', root'/data'mode'.bin') == binary, 1, 'stored binary, mode' mode
  call check FtpGet(work'/back'mode'.bin', 'data'mode'.bin'), '0', 'get binary, mode' mode
  call check testfiles('read', work'/back'mode'.bin') == binary, 1, 'fetched binary, mode' mode
  call check FtpPut(work'/text.txt', 'text'mode'.txt', 'ascii'), '0', 'put ascii, mode' mode
  call check testfiles('read', root'/text'mode'.txt') == text, 1, 'stored text, mode' mode
  call check FtpGet(work'/back'mode'.txt', 'text'mode'.txt'), '0', 'get ascii, mode' mode
  call check testfiles('read', work'/back'mode'.txt') == text, 1, 'fetched text, mode' mode
  call check FTPERRNO, '0', 'FTPERRNO after the transfers, mode' mode
end
call check testfiles('count', log, '"PORT 127,0,0,1,'), 4, 'PORT for each active transfer'
call check testfiles('count', log, '"PASV"'), 4, 'PASV for each passive transfer'
/* TYPE only where the type changes: I, A, I, A. */
call check testfiles('count', log, '"TYPE I"'), 2, 'TYPE I sent twice'
call check testfiles('count', log, '"TYPE A"'), 2, 'TYPE A sent twice'

/* Append, put unique, delete, rename. */
call check FtpSetActiveMode(0), '1', 'back to passive'
call check FtpAppend(work'/text.txt', 'text0.txt'), '0', 'append'
call check testfiles('read', root'/text0.txt') == text || text, 1, 'appended text'
call check FtpPutUnique(work'/data.bin', 'data0.bin', 'b'), '0', 'put unique'
call check testfiles('read', root'/data0.bin.1') == binary, 1, 'stored under a new name'
call check testfiles('read', root'/data0.bin') == binary, 1, 'the old file stays'
call check FtpDelete('data0.bin.1'), '0', 'delete'
call check stream(root'/data0.bin.1', 'c', 'query exists'), '', 'deleted'
call check FtpDelete('data0.bin.1'), '-1', 'delete a missing file'
call check FTPERRNO, 'FTPCOMMAND', 'FTPERRNO of a refused DELE'
call check FtpRename('text1.txt', 'renamed.txt'), '0', 'rename'
call check testfiles('read', root'/renamed.txt') == text, 1, 'renamed file'
call check FtpRename('text1.txt', 'again.txt'), '-1', 'rename a missing file'
call check FTPERRNO, 'FTPCOMMAND', 'FTPERRNO of a refused RNFR'
call check testfiles('count', log, '"RNTO again.txt"'), 0, 'no RNTO after a refused RNFR'
call check FtpGet(work'/nothing', 'no-such-file'), '-1', 'get a missing file'
call check FTPERRNO, 'FTPCOMMAND', 'FTPERRNO of a refused RETR'

/* All of it on one control connection. */
call check connections(), 1, 'one connection for every call so far'

/* An account makes another session (vsftpd answers ACCT with 502, accepted);
   a wrong password another login that fails; the first session stays. */
call check FtpSetUser(host, user, password, 'dept'), '1', 'FtpSetUser with an account'
call check FtpDelete('renamed.txt'), '0', 'delete in the second session'
call check connections(), 2, 'a second connection for the account'
call check testfiles('count', log, '"ACCT dept"'), 1, 'ACCT sent after the login'
call check FtpSetUser(host, user, 'wrong'), '1', 'FtpSetUser with a wrong password'
call check FtpDelete('x'), '-1', 'delete with a wrong password'
call check FTPERRNO, 'FTPLOGIN', 'FTPERRNO of a failed login'
call check FtpSetUser(host, user, password), '1', 'the first login again'
call check FtpDelete('text0.txt'), '0', 'delete in the first session'
call check connections(), 3, 'the first session was still open'

call check FtpLogoff(), '0', 'log off'
call check testfiles('count', log, '"QUIT"'), 2, 'QUIT on both open sessions'
call check FtpDelete('data0.bin'), '-1', 'no host after log off'
call check FTPERRNO, 'FTPCOMMAND', 'FTPERRNO after log off'

if fails > 0 then exit 1
say 'PASS'
exit 0

/* Control connections the server accepted from us (its log, less the
   probe of the test runner). */
connections: procedure expose log
  return testfiles('count', log, 'CONNECT: Client') - 1

check: procedure expose fails sigl
  parse arg actual, expected, what
  if actual == expected then return
  say 'FAIL line' sigl':' what': got "'actual'", expected "'expected'"'
  fails = fails + 1
  return

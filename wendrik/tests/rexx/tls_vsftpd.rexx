/* Explicit TLS under Regina against a vsftpd that refuses plain logins and
   plain data connections and requires every data connection to resume the
   control connection's TLS session (its default): the login, files both
   ways byte for byte in both types and both modes, listings into stems, an
   aborted download; the server's log shows what went over TLS and that
   every data connection was resumed. */
/* peer: vsftpd-tls */
fails = 0
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'

host = value('WZ_VSFTPD_HOST',, 'ENVIRONMENT')
user = value('WZ_VSFTPD_USER',, 'ENVIRONMENT')
password = value('WZ_VSFTPD_PASSWORD',, 'ENVIRONMENT')
root = value('WZ_VSFTPD_ROOT',, 'ENVIRONMENT')
log = value('WZ_VSFTPD_LOG',, 'ENVIRONMENT')
authority = value('WZ_VSFTPD_CA',, 'ENVIRONMENT')
work = value('WZ_WORK',, 'ENVIRONMENT')

binary = testfiles('every byte', 300)
text = testfiles('text lines')
call testfiles 'write', work'/data.bin', binary
call testfiles 'write', work'/text.txt', text

call check FtpSetUser(host, user, password), '1', 'FtpSetUser'
call check FtpPwd('directory'), '-1', 'a plain login'
call check FTPERRNO, 'FTPLOGIN', 'the server refuses a plain login'
call check FtpSetSecure(1, authority), '1', 'FtpSetSecure'

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
end
call check FtpLs('*.bin', 'names.'), '0', 'FtpLs'
call check names.0 names.1 names.2, '2 data0.bin data1.bin', 'the names listed'
call check FtpDir('text*', 'lines.'), '0', 'FtpDir'
call check lines.0 word(lines.1, 9) word(lines.2, 9), '2 text0.txt text1.txt', 'the long listing'

/* A download that fails once the data comes (no folder for the file): ABOR
   over the protected control connection, and the session goes on. */
call testfiles 'write', root'/big.bin', copies(binary, 40)
call check FtpGet(work'/no-such-folder/big.bin', 'big.bin', 'binary'), '-1', 'an aborted download'
call check FTPERRNO, 'FTPLOCALFILE', 'FTPERRNO of the aborted download'
call check testfiles('count', log, '"ABOR"'), 1, 'ABOR received by the server'
call check FtpGet(work'/big.bin', 'big.bin'), '0', 'the download after the abort'
call check testfiles('read', work'/big.bin') == copies(binary, 40), 1, 'fetched after the abort'

/* One protected control connection for all of it, and every data connection
   resumed its session: the server would have refused any other. */
call check testfiles('count', log, '"AUTH TLS"') testfiles('count', log, '"PBSZ 0"') testfiles('count', log, '"PROT P"'), '1 1 1', 'AUTH TLS, PBSZ, PROT once'
call check testfiles('count', log, 'SSL version:') - testfiles('count', log, ', reused,'), 1, 'one new TLS session, the control connection'
call check testfiles('count', log, ', reused,'), 12, 'each data connection resumed it'
call check FtpLogoff(), '0', 'log off'
call check testfiles('count', log, '"QUIT"'), 1, 'QUIT over TLS'

if fails > 0 then exit 1
say 'PASS'
exit 0

check: procedure expose fails sigl
  parse arg actual, expected, what
  if actual == expected then return
  say 'FAIL line' sigl':' what': got "'actual'", expected "'expected'"'
  fails = fails + 1
  return

/* Over IPv6 under Regina: a vsftpd on ::1, the login, files both ways byte
   for byte in both data modes (EPSV, then EPRT) and both types, a
   directory listed into stems, the host in brackets, and FtpPing of ::1
   over ICMPv6. */
/* peer: vsftpd address=::1 */
/* peer: icmp6 */
fails = 0
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'

host = value('WZ_VSFTPD_HOST',, 'ENVIRONMENT')
port = value('WZ_VSFTPD_PORT',, 'ENVIRONMENT')
user = value('WZ_VSFTPD_USER',, 'ENVIRONMENT')
password = value('WZ_VSFTPD_PASSWORD',, 'ENVIRONMENT')
root = value('WZ_VSFTPD_ROOT',, 'ENVIRONMENT')
log = value('WZ_VSFTPD_LOG',, 'ENVIRONMENT')
work = value('WZ_WORK',, 'ENVIRONMENT')

call check word(host, 1), '::1', 'the server is on IPv6''s loopback'
binary = testfiles('every byte', 300)
text = testfiles('text lines')
call testfiles 'write', work'/data.bin', binary
call testfiles 'write', work'/text.txt', text

call check FtpSetUser(host, user, password), '1', 'FtpSetUser'
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
call check testfiles('count', log, '"EPSV"'), 4, 'EPSV for each passive transfer'
call check testfiles('count', log, '"EPRT |2|::1|'), 4, 'EPRT for each active transfer'
call check testfiles('count', log, '"PASV"') testfiles('count', log, '"PORT'), '0 0', 'neither PASV nor PORT'

/* The directory into stems, names and the long format. */
call check FtpLs('*.bin', 'names.'), '0', 'FtpLs'
call check names.0 names.1 names.2, '2 data0.bin data1.bin', 'the names listed'
call check FtpDir('text*', 'lines.'), '0', 'FtpDir'
call check lines.0 word(lines.1, 9) word(lines.2, 9), '2 text0.txt text1.txt', 'the long listing'

/* The host in brackets with its port after a colon: a session of its own. */
call check FtpSetUser('['word(host, 1)']:'port, user, password), '1', 'FtpSetUser in brackets'
call check FtpGet(work'/bracket.bin', 'data1.bin'), '0', 'get through the bracketed host'
call check testfiles('read', work'/bracket.bin') == binary, 1, 'fetched through the bracketed host'
call check FtpLogoff(), '0', 'log off'
call check testfiles('count', log, '"QUIT"'), 2, 'QUIT on both sessions'

/* FtpPing over ICMPv6: a round-trip time in milliseconds. */
call check datatype(FtpPing('::1', ''), 'W'), 1, 'FtpPing of ::1'
call check datatype(FtpPing('[::1]', '5000'), 'W'), 1, 'FtpPing of [::1], the largest request'
call check FtpPing('[::1', ''), 'PINGHOST', 'FtpPing of an unclosed bracket'

if fails > 0 then exit 1
say 'PASS'
exit 0

check: procedure expose fails sigl
  parse arg actual, expected, what
  if actual == expected then return
  say 'FAIL line' sigl':' what': got "'actual'", expected "'expected'"'
  fails = fails + 1
  return

/* A whole FTP session: log in, list, put a file, get it back, compare the
   two, ping, log off. The demonstration (make demo) runs it against a local
   vsftpd.

     regina session.rexx HOST[:PORT] USER PASSWORD LOCAL-DIRECTORY */
parse arg host user password work
if work = '' then do
  say 'usage: regina session.rexx HOST[:PORT] USER PASSWORD LOCAL-DIRECTORY'
  exit 2
end
host = translate(host, ' ', ':')
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call step FtpSetUser(host, user, password), '1', 'login' user 'at' host '(the first call connects)'
call step FtpSys('system'), system, 'the server runs' system
call step FtpPwd('where'), '0', 'working directory' where

/* A file with every byte value, so that the comparison means something. */
sent = ''
do i = 1 to 64
  sent = sent || xrange('00'x, 'ff'x)
end
call charout work'/sent.bin', sent
call stream work'/sent.bin', 'c', 'close'
call step FtpPut(work'/sent.bin', 'demo.bin', 'binary'), '0', 'put' length(sent) 'bytes as demo.bin'
call step FtpLs('*', 'names.'), '0', 'list:' names.0 'name(s)'
do i = 1 to names.0
  say '       ' names.i
end
call step FtpDir('demo.bin', 'long.'), '0', 'long format:' long.1
call step FtpGet(work'/back.bin', 'demo.bin'), '0', 'get demo.bin back'
back = charin(work'/back.bin', 1, chars(work'/back.bin'))
call stream work'/back.bin', 'c', 'close'
if back == sent then say 'ok      the file came back byte for byte'
else do
  say 'FAILED  the file came back different'
  exit 1
end
call step FtpDelete('demo.bin'), '0', 'delete demo.bin'
answer = FtpPing('127.0.0.1', '')
if datatype(answer, 'W') then say 'ok      ping 127.0.0.1:' answer 'ms'
else say 'note    ping 127.0.0.1:' answer '(a raw ICMP socket needs root)'
call step FtpLogoff(), '0', 'log off'
exit 0

step: procedure expose FTPERRNO
  parse arg got, wanted, what
  if got == wanted then do
    say 'ok      'what
    return
  end
  say 'FAILED  'what': got "'got'", FTPERRNO' FTPERRNO
  call FtpLogoff
  exit 1

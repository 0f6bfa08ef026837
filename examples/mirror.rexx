/* Mirrors a directory of an FTP server into a local directory: every name
   FtpLs gives is fetched with FtpGet (names that are directories fail and are
   reported).

     regina mirror.rexx HOST USER PASSWORD REMOTE-DIRECTORY LOCAL-DIRECTORY */
parse arg host user password remote local
if local = '' then do
  say 'usage: regina mirror.rexx HOST[:PORT] USER PASSWORD REMOTE-DIRECTORY LOCAL-DIRECTORY'
  exit 2
end
host = translate(host, ' ', ':')
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
call FtpSetBinary 'binary'            /* files as they are, byte for byte */
if FtpChDir(remote) \= 0 then do
  say 'cannot change to' remote': FTPERRNO =' FTPERRNO
  exit 1
end
if FtpLs('', 'names.') \= 0 then do
  say 'cannot list' remote': FTPERRNO =' FTPERRNO
  exit 1
end
fetched = 0
failed = 0
do i = 1 to names.0
  name = names.i
  if FtpGet(local'/'name, name) = 0 then fetched = fetched + 1
  else do
    say '  not fetched:' name '(FTPERRNO' FTPERRNO')'
    failed = failed + 1
  end
end
say 'mirrored' fetched 'of' names.0 'names from' remote 'into' local
call FtpLogoff
exit failed > 0

/* Uploads a file under a name the server chooses (STOU), so nothing there is
   overwritten, and shows the directory afterwards.

     regina upload_unique.rexx HOST USER PASSWORD LOCAL-FILE [REMOTE-NAME] */
parse arg host user password file name
if file = '' then do
  say 'usage: regina upload_unique.rexx HOST[:PORT] USER PASSWORD LOCAL-FILE [REMOTE-NAME]'
  exit 2
end
if name = '' then name = filespec('name', file)
host = translate(host, ' ', ':')
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
if FtpPutUnique(file, name, 'binary') \= 0 then do
  say 'upload failed: FTPERRNO =' FTPERRNO
  exit 1
end
say 'uploaded' file 'under a unique name based on' name
if FtpLs(name'*', 'names.') = 0 then do i = 1 to names.0
  say '  ' names.i
end
call FtpLogoff
exit 0

/* Lists a directory of an FTP server into stems: the names (FtpLs) and the
   server's long format (FtpDir).

     regina list.rexx HOST USER PASSWORD [DIRECTORY [PATTERN]]

   HOST may carry a port after a blank: "ftp.example.org 2121". */
parse arg host user password directory pattern
if password = '' then do
  say 'usage: regina list.rexx HOST[:PORT] USER PASSWORD [DIRECTORY [PATTERN]]'
  exit 2
end
host = translate(host, ' ', ':')        /* host:port on the command line */
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
call FtpSetUser host, user, password
if directory \= '' then
  if FtpChDir(directory) \= 0 then call fail 'FtpChDir' directory
if FtpPwd('where') \= 0 then call fail 'FtpPwd'
say 'Directory:' where

if FtpLs(pattern, 'names.') \= 0 then call fail 'FtpLs'
say names.0 'names:'
do i = 1 to names.0
  say '  ' names.i
end
if FtpDir(pattern, 'lines.') \= 0 then call fail 'FtpDir'
say 'Long format:'
do i = 1 to lines.0
  say '  ' lines.i
end
call FtpLogoff
exit 0

fail:
  say arg(1) 'failed: FTPERRNO =' FTPERRNO
  call FtpLogoff
  exit 1

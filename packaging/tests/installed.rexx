/* The installed package as a Regina user loads it: by the name Wendrik,
   with the banner off; its version, one function of each group, and TLS. */
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
if result \= '0' then do
  say 'FtpLoadFuncs failed:' result
  exit 1
end
call FtpVersion 'version'
say 'version' version
failed = 0
do i = 1 to words('FTPSETUSER FTPGET FTPLS FTPPROXY FTPPING FTPDROPFUNCS FTPSETSECURE')
  name = word('FTPSETUSER FTPGET FTPLS FTPPROXY FTPPING FTPDROPFUNCS FTPSETSECURE', i)
  if RxFuncQuery(name) \= 0 then do
    say 'not registered:' name
    failed = 1
  end
end
/* TLS, set up with the system's roots alone: the TLS library is there. */
if FtpSetSecure(1) \= '1' then do
  say 'FtpSetSecure failed:' FTPERRNO
  failed = 1
end
/* A call that needs no server: a wrong argument count is an incorrect call,
   caught here as a syntax condition. */
signal on syntax name bad_call
call FtpSetUser 'host only'
say 'FtpSetUser with one argument did not fail'
exit 1
bad_call:
call FtpDropFuncs
if version \= '2.1' | failed then exit 1
say 'installed package works'
exit 0

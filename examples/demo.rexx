/* Loads the Wendrik package, prints its version and the functions it
   registered. */
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs
if result \= '0' then do
  say 'FtpLoadFuncs failed, FTPERRNO =' FTPERRNO
  exit 1
end
call FtpVersion 'version'
say 'Wendrik version' version
names = 'FtpDropFuncs FtpSetUser FtpSetActiveMode FtpSetBinary FtpAppend FtpDelete',
        'FtpGet FtpPut FtpPutUnique FtpRename FtpLs FtpDir FtpPwd FtpChDir FtpMkDir',
        'FtpRmDir FtpLogoff FtpQuote FtpSite FtpSys FtpProxy FtpVersion FtpTrace FtpPing',
        'FtpSetSecure'
registered = 0
do i = 1 to words(names)
  name = word(names, i)
  if RxFuncQuery(name) = 0 then do
    registered = registered + 1
    say right(registered, 3) name
  end
  else say '  - ' name '(not registered)'
end
say registered 'functions registered'
exit 0

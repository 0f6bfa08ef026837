/* Pings a host: the round-trip time in milliseconds, or why there is none.

     regina ping.rexx HOST [LENGTH]

   A raw ICMP socket needs root on Linux (or a group that
   net.ipv4.ping_group_range admits), administrator rights on Windows (or
   ICMP.DLL, which the package uses then). */
parse arg host length
if host = '' then do
  say 'usage: regina ping.rexx HOST [LENGTH]'
  exit 2
end
call RxFuncAdd 'FtpLoadFuncs', 'Wendrik', 'FtpLoadFuncs'
call FtpLoadFuncs 'quiet'
answer = FtpPing(host, length)
select
  when datatype(answer, 'W') & answer >= 0 then say host 'answered in' answer 'ms'
  when answer = 'PINGHOST' then say host 'does not resolve'
  when answer = 'PINGREPLY' then say host 'did not answer within 3 seconds'
  when answer = 'PINGSOCKET' then say 'no ICMP socket: not allowed for this user'
  when answer = 'PINGPROTO' then say 'no ICMP protocol entry (or ICMP.DLL unusable)'
  when answer = 'PINGSEND' then say 'the echo request could not be sent'
  when answer = 'PINGRECV' then say 'waiting for the reply failed'
  otherwise say 'ping failed:' answer
end
exit \datatype(answer, 'W')

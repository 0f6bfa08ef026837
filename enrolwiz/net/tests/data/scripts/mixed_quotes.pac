function FindProxyForURL(url, host)
{
  if (dnsDomainIs(host, ".example.com"))
    return 'SOCKS socks.example.com';
  if (host == "direct.example.org")
    return "DIRECT";
  return "PROXY http://proxy.example.com:3128";
}

function FindProxyForURL(url, host)
{
  return "SOCKS 127.0.0.1:${socks.port}";
}

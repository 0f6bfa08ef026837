function FindProxyForURL(url, host)
{
  if (isInNet(host, '10.0.0.0', '255.0.0.0'))
    return 'SOCKS socks.example.com';
  return 'PROXY proxy.example.com:3128';
}

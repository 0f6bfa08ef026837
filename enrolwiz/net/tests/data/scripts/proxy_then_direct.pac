function FindProxyForURL(url, host)
{
  return "PROXY p:8080; DIRECT";
}

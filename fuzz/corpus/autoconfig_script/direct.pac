function FindProxyForURL(url, host)
{
  if (isPlainHostName(host))
    return "DIRECT";
  return "DIRECT";
}

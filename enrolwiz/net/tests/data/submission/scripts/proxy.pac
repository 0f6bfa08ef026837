// The registration goes through the proxy px; DIRECT as the fall-back loses.
function FindProxyForURL(url, host)
{
  if (isPlainHostName(host))
    return "DIRECT";
  return "PROXY 127.0.0.1:${px.port}; DIRECT";
}

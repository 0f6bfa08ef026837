function FindProxyForURL(url, host)
{
  Return "PROXY p:8080";
}

function FindProxyForURL(url, host)
{
  var proxy = "PROXY p:8080";
}

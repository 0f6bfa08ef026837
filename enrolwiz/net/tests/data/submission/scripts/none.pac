// A script without any return text.
function FindProxyForURL(url, host)
{
}

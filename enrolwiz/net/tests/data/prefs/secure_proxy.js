// Manual proxies: one for http and one for secure connections (SSL), the
// port of the secure one before its host.
user_pref("network.proxy.http", "proxy.example.com");
user_pref("network.proxy.http_port", 3128);
user_pref("network.proxy.ssl_port", 8443);
user_pref("network.proxy.ssl", "secure.example.com");
user_pref("network.proxy.type", 1);

// network.proxy.http is set below, twice
user_pref("network.proxy.http", "first.example.com");
user_pref("network.proxy.http", "second.example.com");
/* network.proxy.type, see the manual */
user_pref("network.proxy.http_port");

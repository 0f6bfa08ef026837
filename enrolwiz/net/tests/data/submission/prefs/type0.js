// Proxy type 0 (direct) is not one that the connection choice knows.
user_pref("network.proxy.type", 0);
user_pref("network.proxy.http", "127.0.0.1");

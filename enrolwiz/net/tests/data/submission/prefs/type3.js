// Proxy type 3 is not one that the connection choice knows.
user_pref("network.proxy.type", 3);

// Manual proxy configuration naming the proxy host without its port.
user_pref("network.proxy.type", 1);
user_pref("network.proxy.http", "proxy.test");

// Manual proxy configuration, the port before the host.
user_pref("network.proxy.http_port", ${px.port});
user_pref("network.proxy.http", "127.0.0.1");
user_pref("network.proxy.type", 1);

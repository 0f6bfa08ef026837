// A proxy host without a proxy type line: the proxy is used.
user_pref("network.proxy.http", "127.0.0.1");
user_pref("network.proxy.http_port", ${px.port});

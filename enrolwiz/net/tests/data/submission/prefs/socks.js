// Manual configuration with a SOCKS server only.
user_pref("network.proxy.type", 1);
user_pref("network.hosts.socks_server", "127.0.0.1");
user_pref("network.hosts.socks_serverport", ${socks.port});

// Mozilla User Preferences
user_pref("browser.startup.homepage", "http://www.example.com/");
user_pref("network.proxy.http", "http://proxy.example.com");
user_pref("network.proxy.http_port", 3128);
user_pref("network.hosts.socks_server", "socks.example.com");
user_pref("network.hosts.socks_serverport", 1081);
user_pref("network.proxy.autoconfig_url", "http://config.example.com/proxy.pac");
user_pref("network.proxy.type", 2);

// Mozilla User Preferences

user_pref("network.proxy.http_port", 8080);
user_pref("network.proxy.http", "proxy.example.com");
user_pref("network.proxy.type", 1);

// Automatic proxy configuration; the URL is read without its scheme.
user_pref("network.proxy.type", 2);
user_pref("network.proxy.autoconfig_url", "http://127.0.0.1:${pac.port}/netscape.pac");

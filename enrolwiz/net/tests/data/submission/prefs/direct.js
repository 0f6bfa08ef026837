// Netscape preferences without any proxy setting: a direct connection.
user_pref("browser.startup.homepage", "http://www.example.com/");
user_pref("network.cookie.cookieBehavior", 0);

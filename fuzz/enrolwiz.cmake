# Fuzz targets of enrolwiz: wz_fuzz_target(NAME SOURCES ... LIBS ...).
# The browser-settings readers and the registry export text (outside input).
wz_fuzz_target(proxy_server_split SOURCES proxy_server_split.cpp LIBS enrolwiz_settings)
wz_fuzz_target(prefs_lines SOURCES prefs_lines.cpp LIBS enrolwiz_settings)
wz_fuzz_target(autoconfig_script SOURCES autoconfig_script.cpp LIBS enrolwiz_settings)
wz_fuzz_target(registry_export SOURCES registry_export.cpp LIBS enrolwiz_settings)

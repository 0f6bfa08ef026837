# Fuzz targets of enrolwiz: wz_fuzz_target(NAME SOURCES ... LIBS ... [SEEDS ...]).
# The browser-settings readers, the registry export text and the gateway's
# responses (outside input). Seeds that are test data come from the tests'
# folders.
wz_fuzz_target(proxy_server_split SOURCES proxy_server_split.cpp LIBS enrolwiz_settings)
wz_fuzz_target(prefs_lines SOURCES prefs_lines.cpp LIBS enrolwiz_settings
  SEEDS ${WZ_ROOT}/enrolwiz/net/tests/data/prefs)
wz_fuzz_target(autoconfig_script SOURCES autoconfig_script.cpp LIBS enrolwiz_settings
  SEEDS ${WZ_ROOT}/enrolwiz/net/tests/data/scripts)
wz_fuzz_target(registry_export SOURCES registry_export.cpp LIBS enrolwiz_settings
  SEEDS ${WZ_ROOT}/enrolwiz/data/tests/data ${WZ_ROOT}/enrolwiz/framework/tests/data)
# The gateway's responses: their classification and both redirection rules.
wz_fuzz_target(gateway_classification SOURCES gateway_classification.cpp LIBS enrolwiz_submission)
wz_fuzz_target(location_redirection SOURCES location_redirection.cpp LIBS enrolwiz_submission)
wz_fuzz_target(link_redirection SOURCES link_redirection.cpp LIBS enrolwiz_submission)
wz_fuzz_target(socks_reply SOURCES socks_reply.cpp LIBS enrolwiz_submission)
# A proxy's answer to the tunnel of an https exchange.
wz_fuzz_target(tunnel_answer SOURCES tunnel_answer.cpp LIBS enrolwiz_submission)
# A request value as the customer typed it.
wz_fuzz_target(url_encode SOURCES url_encode.cpp LIBS enrolwiz_data)
# The program's command line.
wz_fuzz_target(command_line SOURCES command_line.cpp LIBS enrolwiz_framework)

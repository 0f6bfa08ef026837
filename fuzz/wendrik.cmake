# Fuzz targets of wendrik: wz_fuzz_target(NAME SOURCES ... LIBS ... SEEDS ...).

# The scripted FTP server's replies and listings of the tests
# (wendrik/tests/**/NAME.scenarios.json) seed the reply and listing targets,
# in the build tree's seeds/ftp_reply and seeds/ftp_listing.
set(wendrik_seeds ${CMAKE_BINARY_DIR}/seeds)
if(NOT WIN32)
  file(GLOB_RECURSE wendrik_scenarios CONFIGURE_DEPENDS ${WZ_ROOT}/wendrik/tests/*.scenarios.json)
  add_custom_command(OUTPUT ${wendrik_seeds}/scenarios.stamp
    COMMAND ${WZ_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/scenario_seeds.py ${wendrik_seeds} ${wendrik_scenarios}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/scenario_seeds.py ${wendrik_scenarios}
    COMMENT "Fuzz seeds from the scripted server's scenarios")
  add_custom_target(wendrik_fuzz_seeds ALL DEPENDS ${wendrik_seeds}/scenarios.stamp)
endif()

wz_fuzz_target(ftp_reply SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ftp_reply.cpp ${WZ_ROOT}/wendrik/ftp/parse.cpp
  SEEDS ${wendrik_seeds}/ftp_reply)
if(TARGET fuzz_ftp_reply)
  target_include_directories(fuzz_ftp_reply PRIVATE ${WZ_ROOT}/wendrik)
endif()
wz_fuzz_target(ping_reply SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ping_reply.cpp ${WZ_ROOT}/wendrik/ping/packet.cpp)
if(TARGET fuzz_ping_reply)
  target_include_directories(fuzz_ping_reply PRIVATE ${WZ_ROOT}/wendrik)
endif()
# The listing splitter against a model of its rules; the short texts (PASV,
# host text, quoted directory) for what each promises.
wz_fuzz_target(ftp_listing SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ftp_listing.cpp ${WZ_ROOT}/wendrik/ftp/parse.cpp
  SEEDS ${wendrik_seeds}/ftp_listing)
wz_fuzz_target(ftp_texts SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ftp_texts.cpp ${WZ_ROOT}/wendrik/ftp/parse.cpp)
foreach(target fuzz_ftp_listing fuzz_ftp_texts)
  if(TARGET ${target})
    target_include_directories(${target} PRIVATE ${WZ_ROOT}/wendrik)
  endif()
endforeach()
# The REXX argument readers (integers, types, trimming) against a model.
wz_fuzz_target(rexx_arguments SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/rexx_arguments.cpp LIBS wendrik_core)

# Fuzz targets of wendrik: wz_fuzz_target(NAME SOURCES ... LIBS ...).
wz_fuzz_target(ftp_reply SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ftp_reply.cpp ${WZ_ROOT}/wendrik/ftp/parse.cpp)
if(TARGET fuzz_ftp_reply)
  target_include_directories(fuzz_ftp_reply PRIVATE ${WZ_ROOT}/wendrik)
endif()
wz_fuzz_target(ping_reply SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ping_reply.cpp ${WZ_ROOT}/wendrik/ping/packet.cpp)
if(TARGET fuzz_ping_reply)
  target_include_directories(fuzz_ping_reply PRIVATE ${WZ_ROOT}/wendrik)
endif()

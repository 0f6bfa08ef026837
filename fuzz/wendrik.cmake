# Fuzz targets of wendrik: wz_fuzz_target(NAME SOURCES ... LIBS ...).
wz_fuzz_target(ftp_reply SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ftp_reply.cpp ${WZ_ROOT}/wendrik/ftp/parse.cpp)
if(TARGET fuzz_ftp_reply)
  target_include_directories(fuzz_ftp_reply PRIVATE ${WZ_ROOT}/wendrik)
endif()
wz_fuzz_target(ping_reply SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ping_reply.cpp ${WZ_ROOT}/wendrik/ping/packet.cpp)
if(TARGET fuzz_ping_reply)
  target_include_directories(fuzz_ping_reply PRIVATE ${WZ_ROOT}/wendrik)
endif()
# The listing splitter against a model of its rules; the short texts (PASV,
# host text, quoted directory) for what each promises.
wz_fuzz_target(ftp_listing SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ftp_listing.cpp ${WZ_ROOT}/wendrik/ftp/parse.cpp)
wz_fuzz_target(ftp_texts SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ftp_texts.cpp ${WZ_ROOT}/wendrik/ftp/parse.cpp)
foreach(target fuzz_ftp_listing fuzz_ftp_texts)
  if(TARGET ${target})
    target_include_directories(${target} PRIVATE ${WZ_ROOT}/wendrik)
  endif()
endforeach()
# The REXX argument readers (integers, types, trimming) against a model.
wz_fuzz_target(rexx_arguments SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/rexx_arguments.cpp LIBS wendrik_core)

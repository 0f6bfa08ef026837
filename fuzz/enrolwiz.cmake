# Fuzz targets of enrolwiz: wz_fuzz_target(NAME SOURCES ... LIBS ...).

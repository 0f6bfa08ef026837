# Fuzz targets of wendrik: wz_fuzz_target(NAME SOURCES ... LIBS ...).

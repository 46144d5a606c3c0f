# Checks the Chiron placement table against the Swiss Ephemeris (Debian: libswe-dev for the
# library, swe-basic-data for the ephemeris files, which must include seas_18.se1 for Chiron).
# Included from tests/CMakeLists.txt after cmake/WoundwellTest.cmake.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SWE REQUIRED IMPORTED_TARGET swe)

# The directory holding the ephemeris files; defaults to where the swe package says they are.
pkg_get_variable(_woundwell_swe_ephedir swe ephedir)
if(NOT _woundwell_swe_ephedir)
    set(_woundwell_swe_ephedir /usr/share/libswe/ephe)
endif()
set(WOUNDWELL_SWE_EPHE_PATH "${_woundwell_swe_ephedir}" CACHE PATH
    "Directory with the Swiss Ephemeris files the ephemeris test reads")

# The library is linked through pkg-config, which also brings in libm and libdl.
woundwell_add_test(tst_ephemeris LIBRARIES woundwell_core PkgConfig::SWE LABELS ephemeris)
target_compile_definitions(tst_ephemeris PRIVATE
    WOUNDWELL_SWE_EPHE_PATH="${WOUNDWELL_SWE_EPHE_PATH}")

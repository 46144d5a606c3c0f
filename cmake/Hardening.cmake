# The hardening Debian gives its own packages (dpkg-buildflags with hardening=+all on Debian 12),
# plus the stack-clash and control-flow protection that later releases add, for every target of
# the build. hardening-check, run by the packaging tests, holds the shipped binary to it.
option(WOUNDWELL_HARDENING "Build with Debian's hardening flags" ON)
if(NOT WOUNDWELL_HARDENING)
    return()
endif()

include(CheckCXXCompilerFlag)
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Both exist only on some architectures (control-flow protection on x86); elsewhere the build
# goes without them rather than fail.
foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "have${flag}" have_flag)
    check_cxx_compiler_flag(${flag} ${have_flag})
    if(${have_flag})
        add_compile_options(${flag})
    endif()
endforeach()
add_link_options(LINKER:-z,relro LINKER:-z,now)

# Fortification at level 3 rather than Debian 12's 2 (GCC 12 and glibc 2.34 have it): at level 2
# not one copy in this program has a size the compiler knows, so nothing would be checked, while
# level 3 also checks sizes known only at run time. The checks work only with optimisation
# (glibc warns otherwise, an error under CMAKE_COMPILE_WARNING_AS_ERROR). The sanitizer runtimes
# intercept few of the checked __*_chk functions, so under AddressSanitizer a fault through one
# would be missed or misreported: sanitizer builds (and the fuzz build, whose targets all run
# under ASan) go without. A level given in CMAKE_CXX_FLAGS (a distribution's own) is left alone.
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=" OR WOUNDWELL_BUILD_FUZZ)
    message(STATUS "Hardening without _FORTIFY_SOURCE: this build runs under sanitizers")
elseif(NOT CMAKE_CXX_FLAGS MATCHES "_FORTIFY_SOURCE")
    add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=3>)
endif()

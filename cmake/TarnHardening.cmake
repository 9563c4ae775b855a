# The hardening of Debian's packages (dpkg-buildflags with hardening=+all) in every build a
# user gets, a packager's plain Release build included: fortified C library calls, a stack
# protector, position-independent programs, and relocations made read-only at start-up.
# The sanitizer build goes without (AddressSanitizer brings its own checks and -O0 cannot
# fortify), and so does Windows, whose linker knows none of it.
option(TARN_HARDEN "Build with Debian's hardening flags" ON)
if(TARN_HARDEN AND NOT TARN_SANITIZE AND NOT WIN32)
    include(CheckPIESupported)
    check_pie_supported()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    add_compile_options(-fstack-protector-strong -fstack-clash-protection -Wformat
                        -Werror=format-security)
    # Fortification needs an optimised build; -U first so a compiler that sets a level of
    # its own does not warn of a redefinition.
    add_compile_options(
        "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
    add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()

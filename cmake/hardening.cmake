# Release builds, and so the Debian package, get Debian's hardening flags:
# fortified functions, the strong stack protector, format checks, full RELRO
# with BIND_NOW, and position-independent executables. Where dpkg-buildflags
# is installed the flags are its own with every hardening feature on, less
# what is not about hardening (debug info, -O2, path maps), so the build
# type keeps its optimisation; elsewhere the same list is written here.
# Sanitizer and fuzz builds keep their own instrumentation and are left out.
option(VESK_HARDEN "Build Release programs with Debian's hardening flags" ON)

set(hardened_types Release RelWithDebInfo MinSizeRel)
if(NOT VESK_HARDEN OR VESK_SANITIZE OR VESK_FUZZ OR NOT CMAKE_BUILD_TYPE IN_LIST hardened_types)
  return()
endif()

set(hardening_compile -D_FORTIFY_SOURCE=2 -fstack-protector-strong -Wformat
    -Werror=format-security)
set(hardening_link -Wl,-z,relro -Wl,-z,now)
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(DPKG_BUILDFLAGS)
  set(hardening_compile)
  set(hardening_link)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            "${DPKG_BUILDFLAGS}" --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    foreach(flag ${flags})
      if(flag MATCHES "^-(D_FORTIFY_SOURCE|fstack-protector|fstack-clash|fcf-protection|Wformat|Werror=format)")
        list(APPEND hardening_compile ${flag})
      elseif(flag MATCHES "^-Wl,-z,")
        list(APPEND hardening_link ${flag})
      endif()
    endforeach()
  endforeach()
endif()
add_compile_options(${hardening_compile})
add_link_options(${hardening_link})
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
list(JOIN hardening_compile " " shown_compile)
list(JOIN hardening_link " " shown_link)
message(STATUS "Hardening: ${shown_compile} ${shown_link}, PIE")

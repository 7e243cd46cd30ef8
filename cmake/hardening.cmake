# Debian's hardening, as dpkg-buildflags gives it with every feature on: stack
# protector, fortified C library calls, read-only relocations bound at start,
# and position-independent programs; with the stack clash and control-flow
# protections that later releases add and hardening-check looks for. Without
# dpkg-buildflags (another system) the same flags are given by hand. The sanitizers and the fuzzers bring their
# own instrumentation, so they build without.
option(ZORV_HARDEN "Build with the distribution's hardening flags" ON)
if(NOT ZORV_HARDEN OR ZORV_SANITIZE OR ZORV_WITH_FUZZ)
  return()
endif()

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

set(zorv_hardening_cppflags -D_FORTIFY_SOURCE=2)
set(zorv_hardening_cxxflags -fstack-protector-strong -Wformat -Werror=format-security)
set(zorv_hardening_ldflags -Wl,-z,relro -Wl,-z,now)
find_program(ZORV_DPKG_BUILDFLAGS dpkg-buildflags)
if(ZORV_DPKG_BUILDFLAGS)
  foreach(kind cppflags cxxflags ldflags)
    string(TOUPPER ${kind} name)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                            ${ZORV_DPKG_BUILDFLAGS} --get ${name}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # The build type keeps its own optimisation and debugging information, and
    # paths stay as they are; -Wdate-time is for reproducible package builds.
    list(FILTER flags EXCLUDE REGEX "^-(g|O.*|ffile-prefix-map=.*|fdebug-prefix-map=.*|Wdate-time)$")
    set(zorv_hardening_${kind} ${flags})
  endforeach()
endif()
include(CheckCXXCompilerFlag)
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "ZORV_HAS${flag}" known)
  check_cxx_compiler_flag(${flag} ${known})
  if(${known} AND NOT flag IN_LIST zorv_hardening_cxxflags)
    list(APPEND zorv_hardening_cxxflags ${flag})
  endif()
endforeach()
# Fortified calls need the optimiser: an unoptimised build would warn on every file.
list(TRANSFORM zorv_hardening_cppflags REPLACE "^-D_FORTIFY_SOURCE=(.*)$" "-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=\\1")
add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${zorv_hardening_cppflags}>" ${zorv_hardening_cxxflags})
add_link_options(${zorv_hardening_ldflags})

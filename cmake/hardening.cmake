# The hardening of every build: the programs, their tests and the packages
# are compiled and linked alike, so the tests run on what ships. Included by
# each project of ours (the main one, the fuzz targets, the test support
# that the Windows tests build natively) before it adds its targets.
#
# Linux: the flags of Debian's dpkg-buildflags with hardening=+all (stack
# protector, fortified libc calls, format checks, RELRO, immediate binding,
# PIE) and the two that its newer releases add (stack-clash and control-flow
# protection). scripts/test-packages.sh checks the packaged program with
# hardening-check and compares these flags with dpkg-buildflags.
#
# Windows (mingw-w64): the stack protector with its static SSP library, the
# fortified functions of mingw-w64's headers, and the PE header's ASLR
# (with high entropy) and NX flags. Windows probes every large stack frame
# itself (___chkstk_ms), so stack-clash protection has nothing to add;
# -fcf-protection's marks mean nothing to Windows, whose CET support is the
# PE header's CET-compatible flag, set when the linker knows --cetcompat.
#
# _FORTIFY_SOURCE needs the optimiser (glibc warns without it, and with
# PELLOX_WERROR that fails the build) and is left out where the sanitizers
# are on (PELLOX_SANITIZE), whose own checks cover the same calls and more.
include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckLinkerFlag)
include(CheckPIESupported)

set(optimised_configs $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
if(PELLOX_SANITIZE)
  set(fortify_configs 0)
else()
  set(fortify_configs ${optimised_configs})
endif()

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# The protector's failure handler is in libssp on Windows: the link needs it.
add_link_options(-fstack-protector-strong)

if(WIN32)
  # mingw-w64 knows levels 1 and 2.
  add_compile_options($<${fortify_configs}:-U_FORTIFY_SOURCE> $<${fortify_configs}:-D_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat)
  check_linker_flag(CXX -Wl,--cetcompat PELLOX_LINKER_HAS_CETCOMPAT)
  if(PELLOX_LINKER_HAS_CETCOMPAT)
    add_link_options(-Wl,--cetcompat)
  endif()
else()
  # Level 3 also checks the sizes known only at run time (GCC 12, glibc 2.34).
  check_cxx_source_compiles([=[
    #include <features.h>
    #if !__GLIBC_PREREQ(2, 34) || !__has_builtin(__builtin_dynamic_object_size)
    #error no _FORTIFY_SOURCE=3
    #endif
    int main() { return 0; }]=] PELLOX_HAS_FORTIFY_3)
  if(PELLOX_HAS_FORTIFY_3)
    set(fortify_level 3)
  else()
    set(fortify_level 2)
  endif()
  add_compile_options($<${fortify_configs}:-U_FORTIFY_SOURCE>
                      $<${fortify_configs}:-D_FORTIFY_SOURCE=${fortify_level}>)
  foreach(flag -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "PELLOX_HAS${flag}" supported)
    check_cxx_compiler_flag(${flag} ${supported})
    if(${supported})
      add_compile_options(${flag})
    endif()
  endforeach()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

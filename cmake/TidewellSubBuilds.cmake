# The Windows and sanitizer builds of the same tree, driven from the native
# build so that one `ctest` runs every test of every configuration:
#   win64  mingw-w64 x86_64; its tests run under Wine in a throwaway prefix
#   win32  mingw-w64 i686; compiled only (32-bit Wine cannot run here)
#   asan   native with AddressSanitizer and UndefinedBehaviorSanitizer
#   tsan   native with ThreadSanitizer, for the tests that use threads
include(ExternalProject)

set(_src ${PROJECT_SOURCE_DIR})
set(_common -DTIDEWELL_ALL_CONFIGS=OFF -DTIDEWELL_BENCHMARKS=OFF
            -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE} -G ${CMAKE_GENERATOR})

function(_tidewell_sub_build config)
  ExternalProject_Add(build-${config}
    SOURCE_DIR ${_src}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${config}
    CMAKE_ARGS ${_common} ${ARGN}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    USES_TERMINAL_BUILD ON)
endfunction()

_tidewell_sub_build(win64 -DCMAKE_TOOLCHAIN_FILE=${_src}/cmake/toolchain-mingw64.cmake)
_tidewell_sub_build(win32 -DCMAKE_TOOLCHAIN_FILE=${_src}/cmake/toolchain-mingw32.cmake)
_tidewell_sub_build(asan -DTIDEWELL_SANITIZE=address,undefined)
_tidewell_sub_build(tsan -DTIDEWELL_SANITIZE=thread)

# One Wine prefix template per test run; each Windows test copies it.
set(_wine_template ${CMAKE_BINARY_DIR}/wine-template)
add_test(NAME wine.prefix-template
         COMMAND ${_src}/scripts/wine-template.sh create ${_wine_template})
set_tests_properties(wine.prefix-template PROPERTIES FIXTURES_SETUP wine_template)
add_test(NAME wine.prefix-template-cleanup
         COMMAND ${_src}/scripts/wine-template.sh remove ${_wine_template})
set_tests_properties(wine.prefix-template-cleanup PROPERTIES FIXTURES_CLEANUP wine_template)

get_property(_tests GLOBAL PROPERTY TIDEWELL_TESTS)
foreach(name IN LISTS _tests)
  get_property(_windows_only GLOBAL PROPERTY TIDEWELL_TEST_${name}_WINDOWS_ONLY)
  get_property(_threads GLOBAL PROPERTY TIDEWELL_TEST_${name}_THREADS)
  get_property(_gui GLOBAL PROPERTY TIDEWELL_TEST_${name}_GUI)
  set(_runner ${_src}/scripts/wine-run.sh)
  if(_gui)
    list(APPEND _runner --gui)
  endif()
  add_test(NAME wine.${name}
           COMMAND ${_runner} ${_wine_template} ${CMAKE_BINARY_DIR}/win64/bin/${name}.exe)
  set_tests_properties(wine.${name} PROPERTIES FIXTURES_REQUIRED wine_template
                       TIMEOUT 900)
  if(NOT _windows_only)
    add_test(NAME asan.${name} COMMAND ${CMAKE_BINARY_DIR}/asan/bin/${name})
    set_tests_properties(asan.${name} PROPERTIES
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    if(_threads)
      add_test(NAME tsan.${name} COMMAND ${CMAKE_BINARY_DIR}/tsan/bin/${name})
      set_tests_properties(tsan.${name} PROPERTIES ENVIRONMENT "TSAN_OPTIONS=halt_on_error=1")
    endif()
  endif()
endforeach()

# The automatic run ends its prefix's session: a script of its own runs it
# and looks at the prefix from outside.
add_test(NAME wine.AutorunChainTest
         COMMAND ${_src}/tests/app/autorun-chain.sh ${_wine_template} ${CMAKE_BINARY_DIR}/win64/bin)
set_tests_properties(wine.AutorunChainTest PROPERTIES FIXTURES_REQUIRED wine_template TIMEOUT 900)


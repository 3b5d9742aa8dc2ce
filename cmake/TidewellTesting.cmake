# tidewell_add_test(NAME SOURCES ... LIBS ... [WINDOWS_ONLY] [THREADS] [GUI])
#
# Declares one GoogleTest executable. Every build records the declaration (so
# the native build can register the Windows runs of it), and builds it where it
# belongs: portable tests in every build, WINDOWS_ONLY ones only with mingw.
# THREADS tests are also run under ThreadSanitizer; GUI tests get a display.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

function(tidewell_add_test name)
  cmake_parse_arguments(T "WINDOWS_ONLY;THREADS;GUI" "" "SOURCES;LIBS" ${ARGN})
  set_property(GLOBAL APPEND PROPERTY TIDEWELL_TESTS ${name})
  set_property(GLOBAL PROPERTY TIDEWELL_TEST_${name}_WINDOWS_ONLY ${T_WINDOWS_ONLY})
  set_property(GLOBAL PROPERTY TIDEWELL_TEST_${name}_THREADS ${T_THREADS})
  set_property(GLOBAL PROPERTY TIDEWELL_TEST_${name}_GUI ${T_GUI})
  if(T_WINDOWS_ONLY AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(NOT WIN32)
    add_test(NAME native.${name} COMMAND ${name})
  endif()
endfunction()

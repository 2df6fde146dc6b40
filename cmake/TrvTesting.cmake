# trv_test(<name> SOURCES ... [LIBS ...] [THREADED] [WHOLE] [RESOURCE_LOCK ...] [TIMEOUT s])
#
# One GoogleTest executable. Each test case becomes its own ctest entry, unless
# WHOLE is given (for executables whose fixture starts costly services once).
# THREADED marks tests of threaded code: the ThreadSanitizer build runs those.
# Every test program has TRV_SOURCE_DIR and TRV_BINARY_DIR in its environment.
# RESOURCE_LOCK names shared resources (a port, an snmpd address) so ctest
# never runs two users of one resource at the same time.
find_package(GTest REQUIRED)
include(GoogleTest)

# Builds just the THREADED test programs (and what they need): the
# ThreadSanitizer run compiles nothing else.
add_custom_target(trv_threaded_tests)

function(trv_test name)
  cmake_parse_arguments(T "THREADED;WHOLE" "TIMEOUT" "SOURCES;LIBS;RESOURCE_LOCK" ${ARGN})
  # The time-out only ends a hung test. A whole program runs all its cases,
  # and a sanitizer build of it on two busy cores takes several times as long
  # as on an idle machine: its bound is wider.
  if(NOT T_TIMEOUT)
    if(T_WHOLE)
      set(T_TIMEOUT 1500)
    else()
      set(T_TIMEOUT 300)
    endif()
  endif()
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/trv_test_env.cpp)
  target_compile_definitions(${name} PRIVATE TRV_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             TRV_TEST_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${T_LIBS})
  set(labels unit)
  if(T_THREADED)
    set(labels threaded)
    add_dependencies(trv_threaded_tests ${name})
  endif()
  set(props LABELS "${labels}" TIMEOUT ${T_TIMEOUT})
  if(T_RESOURCE_LOCK)
    list(APPEND props RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
  if(T_WHOLE)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ${props})
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ${props})
  endif()
endfunction()

# trv_test(<name> SOURCES ... [LIBS ...] [THREADED] [WHOLE] [RESOURCE_LOCK ...] [TIMEOUT s])
#
# One GoogleTest executable. Each test case becomes its own ctest entry, unless
# WHOLE is given (for executables whose fixture starts costly services once).
# THREADED marks tests of threaded code: the ThreadSanitizer build runs those.
# RESOURCE_LOCK names shared resources (a port, an snmpd address) so ctest
# never runs two users of one resource at the same time.
find_package(GTest REQUIRED)
include(GoogleTest)

function(trv_test name)
  cmake_parse_arguments(T "THREADED;WHOLE" "TIMEOUT" "SOURCES;LIBS;RESOURCE_LOCK" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock GTest::gtest_main ${T_LIBS})
  set(labels unit)
  if(T_THREADED)
    set(labels threaded)
  endif()
  # The escaped ';' keeps both variables in the one ENVIRONMENT value.
  set(props LABELS "${labels}" TIMEOUT ${T_TIMEOUT}
            ENVIRONMENT "TRV_SOURCE_DIR=${PROJECT_SOURCE_DIR}\\;TRV_BINARY_DIR=${CMAKE_BINARY_DIR}")
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

# Tests of the Windows build. Each test is a Windows program using the small
# framework in GUI/testing (wtest.h) that ctest runs under Wine through
# scripts/wine-run.sh. The runner gives every run a prefix equal to its
# template (a slot reset to it); with DISPLAY it also starts Xvfb and a window
# manager for the run.
#
#   trv_win_test(name SOURCES a.cpp b.rc ... [LIBS lib ...] [DISPLAY]
#                [ARGS arg ...] [TIMEOUT seconds])
#
# DISPLAY: the test creates windows (a GUI-subsystem program run under Xvfb);
# without it the test is a console program run with no X display at all.
# Every test links the class layer (trvmfc) and the framework (trvwtest).

find_program(TRV_WINE wine PATHS /usr/bin NO_DEFAULT_PATH)
set(TRV_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
cmake_path(NORMAL_PATH TRV_WINE_RUN)

# Adds a ctest that runs TARGET's program under Wine. RUN_OPTIONS go to the
# runner (e.g. --display, --expect-exit N, --expect-line REGEX); unless they
# name a line, the program must print the framework's "N passed, 0 failed"
# with N > 0, so a program that ends early cannot pass.
function(trv_win_add_test NAME TARGET)
  cmake_parse_arguments(T "" "TIMEOUT" "RUN_OPTIONS;ARGS" ${ARGN})
  if(NOT "--expect-line" IN_LIST T_RUN_OPTIONS)
    list(APPEND T_RUN_OPTIONS --expect-line "^[1-9][0-9]* passed, 0 failed$")
  endif()
  if(NOT T_TIMEOUT)
    # The first run on a machine builds the template prefix.
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${NAME}
    COMMAND ${TRV_WINE_RUN} ${T_RUN_OPTIONS} -- $<TARGET_FILE:${TARGET}> ${T_ARGS})
  set_tests_properties(${NAME} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    LABELS wine
    ENVIRONMENT "TRV_SOURCE_DIR=${TRV_REPO_DIR};TRV_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

function(trv_win_test NAME)
  cmake_parse_arguments(T "DISPLAY" "TIMEOUT" "SOURCES;LIBS;ARGS" ${ARGN})
  if(T_DISPLAY)
    add_executable(${NAME} WIN32 ${T_SOURCES})
    set(run_opts --display)
  else()
    add_executable(${NAME} ${T_SOURCES})
    set(run_opts)
  endif()
  target_link_libraries(${NAME} PRIVATE trvwtest trvmfc ${T_LIBS})
  trv_win_add_test(${NAME} ${NAME} RUN_OPTIONS ${run_opts} ARGS ${T_ARGS} TIMEOUT ${T_TIMEOUT})
endfunction()

# SPDX-License-Identifier: GPL-3.0-or-later
# CTest fixture "quellar_x11": a private Xvfb server plus a tray host, started once before
# the tests that need it and stopped after them.
#
# quellar_add_x11_test(NAME <name> [COMMAND <cmd> [args...]] [SOURCES <files...>] [LIBS <targets...>]
#                      [LABELS <labels...>] [ENVIRONMENT <VAR=value...>])
# With SOURCES, builds a Qt Test executable named <name> and runs it (COMMAND may then be left out).
# The command runs with DISPLAY set to the fixture's server. Tests on the fixture share one
# display and inject input, so they hold a common resource lock and never overlap each other.

set(QUELLAR_X11_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}" CACHE INTERNAL "")
set(QUELLAR_X11_STATE "${CMAKE_BINARY_DIR}/tests/x11-fixture" CACHE INTERNAL "")
set(QUELLAR_X11_FIXTURE quellar_x11 CACHE INTERNAL "")

function(quellar_add_x11_fixture)
  add_test(NAME quellar_x11_start COMMAND "${QUELLAR_X11_SCRIPTS}/x11-start.sh" "${QUELLAR_X11_STATE}")
  set_tests_properties(quellar_x11_start PROPERTIES FIXTURES_SETUP ${QUELLAR_X11_FIXTURE} LABELS "x11" TIMEOUT 30)
  add_test(NAME quellar_x11_stop COMMAND "${QUELLAR_X11_SCRIPTS}/x11-stop.sh" "${QUELLAR_X11_STATE}")
  set_tests_properties(quellar_x11_stop PROPERTIES FIXTURES_CLEANUP ${QUELLAR_X11_FIXTURE} LABELS "x11" TIMEOUT 30)
endfunction()

function(quellar_add_x11_test)
  cmake_parse_arguments(T "" "NAME" "COMMAND;SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
  if(T_SOURCES)
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
    target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    if(NOT T_COMMAND)
      set(T_COMMAND $<TARGET_FILE:${T_NAME}>)
    endif()
  endif()
  if(NOT T_LABELS)
    set(T_LABELS x11)
  endif()
  # Later entries win, so a test may ask for another platform (QT_QPA_PLATFORM=xcb).
  set(env QT_QPA_PLATFORM=offscreen ${T_ENVIRONMENT})
  add_test(NAME ${T_NAME} COMMAND "${QUELLAR_X11_SCRIPTS}/with-x11.sh" "${QUELLAR_X11_STATE}" ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${T_LABELS}"
    FIXTURES_REQUIRED ${QUELLAR_X11_FIXTURE}
    RESOURCE_LOCK quellar_x11_display
    ENVIRONMENT "${env}")
endfunction()

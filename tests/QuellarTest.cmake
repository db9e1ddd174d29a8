# SPDX-License-Identifier: GPL-3.0-or-later
# glibc allocator settings for tests of teardown: freed memory is overwritten at once and
# never cached, so a use after free reads garbage and crashes instead of passing silently.
set(QUELLAR_MALLOC_CHECKS "GLIBC_TUNABLES=glibc.malloc.tcache_count=0;MALLOC_PERTURB_=165")

# Leak suppressions of the tests that build the window (see the file), applied only in the
# sanitizer build: elsewhere LeakSanitizer does not run.
set(QUELLAR_WINDOW_LSAN "")
if(QUELLAR_SANITIZE)
  set(QUELLAR_WINDOW_LSAN
      "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/sanitizer/lsan-window.supp:print_suppressions=0")
endif()

# quellar_add_test(NAME <name> SOURCES <files...> LIBS <targets...> LABELS <labels...>)
# Builds one Qt Test executable and registers it with CTest.
function(quellar_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}" ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

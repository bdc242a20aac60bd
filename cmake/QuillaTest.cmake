# quilla_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABELS l] [ENV K=V ...])
# One GoogleTest executable per unit; each runs in its own throwaway HOME and XDG folders
# (tests/support/TestMain.cpp), so nothing touches the developer's real settings.
function(quilla_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} quilla_testsupport GTest::gtest GTest::gmock)
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES
    LABELS "${T_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLA_SHOW_L10N_KEYS=1;QUILLA_SOURCE_DIR=${PROJECT_SOURCE_DIR};QUILLA_BINARY_DIR=${CMAKE_BINARY_DIR};ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1;${T_ENV}"
    TIMEOUT 600)
endfunction()

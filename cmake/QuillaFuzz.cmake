# quilla_fuzz_target(NAME <name> SOURCE <file.cpp> [DICT <file.dict>] LIBS <libraries…>)
# One fuzz target: a source defining LLVMFuzzerTestOneInput over code that reads untrusted bytes,
# its seed corpus in fuzz/corpus/<name>/ and an optional libFuzzer dictionary.
#  - fuzz build (QUILLA_FUZZ, clang): the libFuzzer executable fuzz/fuzz_<name>, listed in
#    fuzz/targets.txt, which scripts/run-fuzz.sh reads;
#  - test build: fuzz_replay_<name>, which runs every committed corpus file through the same entry
#    point once (no libFuzzer), registered with CTest as fuzz_corpus_<name>, so a crasher that was
#    fixed and added to the corpus stays fixed.
set(QUILLA_FUZZ_TARGET_LIST ${CMAKE_BINARY_DIR}/fuzz/targets.txt)
file(WRITE ${QUILLA_FUZZ_TARGET_LIST} "")

function(quilla_fuzz_target)
  cmake_parse_arguments(F "" "NAME;SOURCE;DICT" "LIBS" ${ARGN})
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${F_NAME})
  if(NOT IS_DIRECTORY ${corpus})
    message(FATAL_ERROR "fuzz target ${F_NAME} has no seed corpus in ${corpus}")
  endif()
  if(QUILLA_FUZZ)
    add_executable(fuzz_${F_NAME} ${F_SOURCE})
    target_link_libraries(fuzz_${F_NAME} PRIVATE quilla_fuzz_support ${F_LIBS})
    target_link_options(fuzz_${F_NAME} PRIVATE -fsanitize=fuzzer)
    set_target_properties(fuzz_${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    add_dependencies(quilla_fuzz_targets fuzz_${F_NAME})
    set(dict "")
    if(F_DICT)
      set(dict ${CMAKE_CURRENT_SOURCE_DIR}/${F_DICT})
    endif()
    file(APPEND ${QUILLA_FUZZ_TARGET_LIST} "${F_NAME} ${CMAKE_BINARY_DIR}/fuzz/fuzz_${F_NAME} ${corpus} ${dict}\n")
  elseif(QUILLA_BUILD_TESTS)
    add_executable(fuzz_replay_${F_NAME} ${F_SOURCE} ${PROJECT_SOURCE_DIR}/fuzz/FuzzReplayMain.cpp)
    target_link_libraries(fuzz_replay_${F_NAME} PRIVATE quilla_fuzz_support ${F_LIBS})
    set_target_properties(fuzz_replay_${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME fuzz_corpus_${F_NAME} COMMAND fuzz_replay_${F_NAME} ${corpus})
    set_tests_properties(fuzz_corpus_${F_NAME} PROPERTIES
      LABELS fuzz
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1"
      TIMEOUT 300)
  endif()
endfunction()

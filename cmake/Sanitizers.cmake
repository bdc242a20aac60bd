if(QUILLA_SANITIZE)
  set(_quilla_sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_compile_options(${_quilla_sanitizers})
  add_link_options(${_quilla_sanitizers})
endif()

# The fuzz build: every library gets libFuzzer's coverage hooks; only the fuzz executables link
# libFuzzer itself (cmake/QuillaFuzz.cmake), since it brings its own main().
if(QUILLA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "QUILLA_FUZZ needs clang (use the fuzz preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

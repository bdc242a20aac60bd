# Warnings for every target of the project; third-party headers come in as SYSTEM.
add_compile_options(-Wall -Wextra -Wpedantic -Wnon-virtual-dtor)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wshadow=local) # clang (the fuzz build) spells it differently
endif()
if(QUILLA_WERROR)
  add_compile_options(-Werror)
endif()

# Warnings for every target of the project; third-party headers come in as SYSTEM.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow=local -Wnon-virtual-dtor)
if(QUILLA_WERROR)
  add_compile_options(-Werror)
endif()

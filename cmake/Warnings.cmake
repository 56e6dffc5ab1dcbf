# The warning switches every Lumetra target is built with; -Werror when LUMETRA_WERROR is on (CI).
function(lumetra_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC 12 reports -Wrestrict inside std::string at -O2 for correct code (GCC bug 105329).
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(LUMETRA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

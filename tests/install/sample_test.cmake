# Installs the build tree into a fresh prefix, then configures, builds and runs the sample
# application against it the way a user of the installed Lumetra would.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... [-DTOOLCHAIN=... -DWINE_RUN=...] -P sample_test.cmake
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
set(sample ${WORK_DIR}/sample)
# What is installed must be up to date; nothing else of the tree is built.
run("Building the installed targets" ${CMAKE_COMMAND} --build ${BUILD_DIR} --target lumetra_vcl_shared VekD4 VekD3 Vekc3)
run("Installing into ${prefix}" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(file include/Vek.hpp include/vcl/Dialogs.hpp include/design/Packages.hpp lib/cmake/Lumetra/LumetraConfig.cmake
             share/lumetra/package_startup.cpp)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "The installed tree ${prefix} lacks ${file}")
  endif()
endforeach()
# The help verb opens the help document in the folder of the package that holds it.
file(GLOB_RECURSE packages ${prefix}/*VekD4.*)
list(FILTER packages EXCLUDE REGEX "\\.a$")
if(NOT packages)
  message(FATAL_ERROR "The installed tree ${prefix} lacks the package VekD4")
endif()
foreach(package ${packages})
  get_filename_component(dir ${package} DIRECTORY)
  if(NOT EXISTS ${dir}/Vek.html)
    message(FATAL_ERROR "The installed tree has no help document Vek.html beside ${package}, where the help verb opens it")
  endif()
endforeach()

set(configure ${CMAKE_COMMAND} -S ${SOURCE_DIR}/samples/translated-open -B ${sample} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_BUILD_TYPE=Release)
if(TOOLCHAIN)
  list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()
run("Configuring the sample against ${prefix}" ${configure})
run("Building the sample" ${CMAKE_COMMAND} --build ${sample})
if(WINE_RUN)
  # The build tree's own Wine prefix, made once, rather than a new one for the sample.
  set(ENV{LUMETRA_WINEPREFIX} ${BUILD_DIR}/wineprefix)
  run("Running the sample under Wine" ${WINE_RUN} ${sample}/translated-open.exe)
else()
  run("Running the sample" ${sample}/translated-open)
endif()
# The sample exits with 0 only when the title was the translated one (code page 1252 bytes).
message(STATUS "${output}")
if(NOT output MATCHES "open dialog title: .ppna fil")
  message(FATAL_ERROR "The sample did not report the open dialog's title: ${output}")
endif()

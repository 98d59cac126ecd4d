# Installs the library's component of the build into a scratch folder and
# moves that folder elsewhere, so nothing can lean on the path it was
# installed at; then builds and runs a consumer that knows nothing of this
# source tree twice from the moved install alone: once through the CMake
# package, once through the pkg-config file.
file(REMOVE_RECURSE ${WORK_DIR})
set(staged ${WORK_DIR}/staged)
set(prefix ${WORK_DIR}/moved)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${staged} --component tulimage
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
file(RENAME ${staged} ${prefix})

# No installed description names a folder of the install, the build or the
# source tree.
file(GLOB_RECURSE descriptions ${prefix}/*.cmake ${prefix}/*.pc)
foreach(file IN LISTS descriptions)
  file(READ ${file} text)
  foreach(path IN ITEMS ${WORK_DIR} ${BUILD_DIR} ${CONSUMER_SOURCE})
    string(FIND "${text}" "${path}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${file} names ${path}")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE pc_files ${prefix}/*/tulimage.pc)
list(LENGTH pc_files count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one installed tulimage.pc, found: ${pc_files}")
endif()
get_filename_component(pc_dir ${pc_files} DIRECTORY)

# consumer(<name> <configure arguments...>): configure, build and run.
function(consumer name)
  set(build ${WORK_DIR}/${name})
  execute_process(COMMAND ${ARGN} -S ${CONSUMER_SOURCE} -B ${build}
                          "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}"
                          "-DCMAKE_EXE_LINKER_FLAGS=${EXE_LINKER_FLAGS}"
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: consumer configure failed: ${rc}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: consumer build failed: ${rc}")
  endif()
  execute_process(COMMAND ${build}/consumer RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: consumer run failed: ${rc}")
  endif()
endfunction()

# The package, from the moved prefix and nowhere else.
consumer(find_package ${CMAKE_COMMAND} -DCMAKE_PREFIX_PATH=${prefix}
         -DCMAKE_FIND_USE_CMAKE_SYSTEM_PATH=OFF -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
file(STRINGS ${WORK_DIR}/find_package/CMakeCache.txt found REGEX "^TulImage_DIR:")
if(NOT found MATCHES "=${prefix}/")
  message(FATAL_ERROR "find_package took TulImage from elsewhere: ${found}")
endif()

# The pkg-config file, with the search limited to its own folder.
consumer(pkg-config ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} PKG_CONFIG_LIBDIR=${pc_dir}
         ${CMAKE_COMMAND} -DTUL_FIND_THROUGH=pkg-config)

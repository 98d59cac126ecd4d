# tul_pkgconfig_paths(<folder of the .pc file, as installed>)
#
# Sets TUL_PC_PREFIX, TUL_PC_LIBDIR and TUL_PC_INCLUDEDIR for
# tulimage.pc.in. The prefix is found from the .pc file's own folder
# (${pcfiledir} climbed back to the top of the install), and the library and
# header folders are the GNUInstallDirs ones below it, so the file stays
# right wherever the install is put or moved. A folder configured as an
# absolute path cannot move with the install and is written as given.
function(tul_pkgconfig_paths pcdir)
  if(IS_ABSOLUTE "${pcdir}")
    set(prefix "${CMAKE_INSTALL_PREFIX}")
  else()
    file(RELATIVE_PATH up "/${pcdir}" "/")
    string(REGEX REPLACE "/$" "" up "${up}")
    set(prefix "\${pcfiledir}/${up}")
  endif()
  foreach(kind LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
      set(TUL_PC_${kind} "${CMAKE_INSTALL_${kind}}" PARENT_SCOPE)
    else()
      set(TUL_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}" PARENT_SCOPE)
    endif()
  endforeach()
  set(TUL_PC_PREFIX "${prefix}" PARENT_SCOPE)
endfunction()

# Run by CPack between staging the install and packing it: gzips the man page
# and the changelog with no name or time stamp inside, as Debian packages
# carry them.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/man/man*/*")
file(GLOB_RECURSE changelogs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/share/doc/kordavan/changelog")
foreach(file ${pages} ${changelogs})
    if(NOT file MATCHES "\\.gz$")
        execute_process(COMMAND gzip -9n "${file}" COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
if(NOT pages OR NOT changelogs)
    message(FATAL_ERROR "no man page or changelog in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()

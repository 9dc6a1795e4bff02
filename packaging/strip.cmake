# Run by CPack on the staged files before it packs them: strips the executable as Debian's dh_strip does,
# compiler notes included.
file(GLOB_RECURSE executables LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(executable IN LISTS executables)
    execute_process(COMMAND strip --strip-unneeded --remove-section=.comment --remove-section=.note ${executable}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
if(NOT executables)
    message(FATAL_ERROR "nothing to strip in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()

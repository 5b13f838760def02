# Run by CPack on the staged files before it builds the package: the program loses the compiler's
# .comment and .note sections, as Debian's own packaging tools strip them.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/games/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_OBJCOPY}" --remove-section=.comment --remove-section=.note
    "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

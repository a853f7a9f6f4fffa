# Read by cpack before it builds the package.

# dpkg-dev brings dpkg-parsechangelog, for the dates below, and
# dpkg-shlibdeps, for Depends (checked once the package is built).
find_program(YARX_PARSECHANGELOG dpkg-parsechangelog)
if(NOT YARX_PARSECHANGELOG)
  message(FATAL_ERROR "The Debian package needs dpkg-dev (and file): apt-get install dpkg-dev file")
endif()

# Reproducible unless told otherwise: every date in the package is the date
# of the changelog's latest entry, as dpkg-buildpackage has it.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND ${YARX_PARSECHANGELOG} -l ${CPACK_YARX_CHANGELOG} -S Timestamp
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()

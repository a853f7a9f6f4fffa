# Read by cpack before it builds the package.

# Reproducible unless told otherwise: every date in the package is the date
# of the changelog's latest entry, as dpkg-buildpackage has it.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND dpkg-parsechangelog -l ${CPACK_YARX_CHANGELOG} -S Timestamp
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()

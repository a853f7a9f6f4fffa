# Run by cpack once the package is built.  When dpkg-shlibdeps is missing, or
# fails to find the libraries' packages, CPack still makes a package, with
# no Depends at all: refuse such a package.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND dpkg-deb -f ${package} Depends
                  OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  if(depends STREQUAL "")
    file(REMOVE ${package})
    message(FATAL_ERROR "${package} came out without Depends: is dpkg-shlibdeps there "
                        "(Debian: dpkg-dev), and are the libraries' packages installed?")
  endif()
endforeach()

# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local   the programs, their manual
#                                               pages, menu entry, icon and
#                                               resources
#   (cd build && cpack)                         yarx_<version>_<arch>.deb

include(GNUInstallDirs)

install(TARGETS yarx yarx-chart RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The application defaults file goes where the X toolkit looks for it,
# whatever the prefix: Debian's libXt searches /etc/X11, not /usr/local.
set(YARX_APP_DEFAULTS_DIR /etc/X11/app-defaults CACHE PATH
    "Where the application defaults file is installed")
install(FILES ${YARX_APP_DEFAULTS_FILE} DESTINATION ${YARX_APP_DEFAULTS_DIR})

# The desktop menu entry and its icon, which yarx_pictures cuts from the chart
# at each of the sizes src/chart/window_icon.h lists (tools/; the pictures
# test keeps the copies in data/ current).  Task bars and docks take the
# sizes the windows do not carry from here.
install(FILES ${PROJECT_SOURCE_DIR}/data/yarx.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
file(GLOB icons CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/yarx-*.png)
foreach(icon ${icons})
  string(REGEX REPLACE ".*/yarx-([0-9]+)\\.png$" "\\1" size ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME yarx.png)
endforeach()

# The manual pages and the changelog go compressed, as Debian has them, and
# without a date in the gzip header, so that the package can be rebuilt
# bit for bit.
find_program(GZIP_PROGRAM gzip REQUIRED)
function(yarx_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_BINARY_DIR}/${name}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "\"$1\" -9nc \"$2\" > \"$3\"" sh ${GZIP_PROGRAM} ${source} ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  add_custom_target(gzip_${name} ALL DEPENDS ${output})
  install(FILES ${output} DESTINATION ${destination})
endfunction()
yarx_install_gzipped(${PROJECT_SOURCE_DIR}/doc/yarx.1 ${CMAKE_INSTALL_MANDIR}/man1)
yarx_install_gzipped(${PROJECT_SOURCE_DIR}/doc/yarx-chart.1 ${CMAKE_INSTALL_MANDIR}/man1)
yarx_install_gzipped(${PROJECT_SOURCE_DIR}/doc/changelog ${CMAKE_INSTALL_DOCDIR})

# The licence as Debian's machine-readable copyright file: the notice and the
# text of LICENSE, the text indented by one space, its empty lines a full stop.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
if(NOT licence MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*)$")
  message(FATAL_ERROR "LICENSE: no copyright line followed by the licence text")
endif()
set(copyright_holder ${CMAKE_MATCH_1})
string(STRIP "${CMAKE_MATCH_2}" licence_text)
string(REPLACE "\n\n" "\n.\n" licence_text "${licence_text}")
string(REPLACE "\n" "\n " licence_text "${licence_text}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/copyright CONTENT
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: yarx

Files: *
Copyright: ${copyright_holder}
License: Expat
 ${licence_text}
")
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(YARX_PACKAGE_MAINTAINER "The yarx developers <yarx@example.org>" CACHE STRING
    "Maintainer field of the Debian package: a name and an address")
if(NOT YARX_PACKAGE_MAINTAINER MATCHES "^[^<>]+ <[^<>@ ]+@[^<>@ ]+>$")
  message(FATAL_ERROR "YARX_PACKAGE_MAINTAINER is \"${YARX_PACKAGE_MAINTAINER}\": the package "
                      "needs \"Name <address>\" (-DYARX_PACKAGE_MAINTAINER=..., or "
                      "-UYARX_PACKAGE_MAINTAINER for the default)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yarx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "interference colour chart of a birefringent plate between crossed polarisers")
set(CPACK_PACKAGE_DESCRIPTION
    "yarx shows the colours a birefringent plate takes between crossed
polarisers, for retardations from 0 to 2497.5 nm, as the CIE 1931 standard
observer sees them under one of eleven illuminants.  Mineralogists and
microscopists read thin sections against such a chart.

It is an X11 program with Motif windows; yarx-chart writes the same chart,
with the lines of constant birefringence and of common minerals if asked,
to a PNG, PDF or SVG file for print, without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${YARX_PACKAGE_MAINTAINER})
# Depends: what dpkg-shlibdeps finds for the libraries the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts the fallback resources name: helvetica and lucida come with the
# 75 and 100 dpi collections, "fixed" with the base fonts.  The X server
# draws them, and it may run on another machine, so policy (11.8.5) allows
# no more than Recommends.  yarx-chart sets its files' texts in DejaVu Sans,
# and any other font stands in for it: a recommendation too.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xfonts-base, xfonts-75dpi, xfonts-100dpi, fonts-dejavu-core")
# Multi-Arch: foreign (a program that any architecture's packages may use).
# CPack has no variable for the field; it goes on the line after Section.
set(CPACK_DEBIAN_PACKAGE_SECTION "science\nMulti-Arch: foreign")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/conffiles CONTENT "${YARX_APP_DEFAULTS_DIR}/yarx\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The dates in the package (cmake/cpack_options.cmake), and a check on its
# Depends once it is built.
set(CPACK_YARX_CHANGELOG ${PROJECT_SOURCE_DIR}/doc/changelog)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_options.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/cpack_check_depends.cmake)
include(CPack)

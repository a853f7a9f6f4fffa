# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local   the program and its manual page
#   (cd build && cpack)                         yarx_<version>_<arch>.deb

include(GNUInstallDirs)

install(TARGETS yarx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The application defaults file goes where the X toolkit looks for it,
# whatever the prefix: Debian's libXt searches /etc/X11, not /usr/local.
set(YARX_APP_DEFAULTS_DIR /etc/X11/app-defaults CACHE PATH
    "Where the application defaults file is installed")
install(FILES ${YARX_APP_DEFAULTS_FILE} DESTINATION ${YARX_APP_DEFAULTS_DIR})

# The desktop menu entry and its icon, which yarx_pictures cuts from the chart
# (tools/; the pictures test keeps the copies in data/ current).
install(FILES ${PROJECT_SOURCE_DIR}/data/yarx.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 256)
  install(FILES ${PROJECT_SOURCE_DIR}/data/yarx-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME yarx.png)
endforeach()

# Manual pages go compressed, as Debian has them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(yarx_man_page ${CMAKE_BINARY_DIR}/yarx.1.gz)
add_custom_command(
  OUTPUT ${yarx_man_page}
  COMMAND sh -c "\"$1\" -9nc \"$2\" > \"$3\"" sh ${GZIP_PROGRAM}
          ${PROJECT_SOURCE_DIR}/doc/yarx.1 ${yarx_man_page}
  DEPENDS ${PROJECT_SOURCE_DIR}/doc/yarx.1
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(yarx_man_page ALL DEPENDS ${yarx_man_page})
install(FILES ${yarx_man_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(YARX_PACKAGE_MAINTAINER "The yarx developers" CACHE STRING
    "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yarx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "interference colour chart of a birefringent plate between crossed polarisers")
set(CPACK_PACKAGE_DESCRIPTION
    "yarx shows the colours a birefringent plate takes between crossed polarisers, \
for retardations from 0 to 2497.5 nm, as the CIE 1931 standard observer sees them \
under one of eleven illuminants.  Mineralogists and microscopists read thin \
sections against such a chart.  It is an X11 program with Motif windows.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${YARX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The shared libraries the program links (the versions are what
# dpkg-shlibdeps finds on Debian 12) and the fonts its resources name:
# helvetica and lucida come with the 75 and 100 dpi collections.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libx11-6, libxm4 (>= 2.3.4), libxt6, xfonts-base, xfonts-75dpi, xfonts-100dpi")
include(CPack)

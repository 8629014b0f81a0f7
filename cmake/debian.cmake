# The Linux packages: the portable tarball, and the Debian package that installs the programs
# under CMAKE_INSTALL_PREFIX (/usr for the package) with a menu entry, icons, AppStream metadata,
# manual pages and the files Debian asks of every package.
set(linux ${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux)
set(appId org.vellmore.Vellmore)
set(docs ${CMAKE_INSTALL_DATAROOTDIR}/doc/vellmore) # named after the package
configure_file(${linux}/README.txt.in ${VELLMORE_GENERATED}/README @ONLY)
install(FILES ${VELLMORE_GENERATED}/README LICENSE DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)

install(TARGETS vellmore vellmore-table RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT system)
install(FILES ${linux}/${appId}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT system)
install(FILES app/icon/vellmore.svg RENAME ${appId}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT system)
install(FILES app/icon/vellmore-48.png RENAME ${appId}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps COMPONENT system)
install(FILES app/icon/vellmore.png RENAME ${appId}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps COMPONENT system)
configure_file(${linux}/${appId}.metainfo.xml.in ${VELLMORE_GENERATED}/${appId}.metainfo.xml @ONLY)
install(FILES ${VELLMORE_GENERATED}/${appId}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT system)
install(FILES ${linux}/copyright DESTINATION ${docs} COMPONENT system)

# Manual pages and the changelog go in compressed, with no time stamp in the gzip header.
set(compressed)
foreach(page vellmore.1 vellmore-table.1 changelog)
  configure_file(${linux}/${page} ${VELLMORE_GENERATED}/${page} @ONLY)
  add_custom_command(OUTPUT ${VELLMORE_GENERATED}/${page}.gz
                     COMMAND gzip -9nc ${page} > ${page}.gz
                     DEPENDS ${VELLMORE_GENERATED}/${page} WORKING_DIRECTORY ${VELLMORE_GENERATED})
  list(APPEND compressed ${VELLMORE_GENERATED}/${page}.gz)
endforeach()
add_custom_target(vellmore_compressed_docs ALL DEPENDS ${compressed})
install(FILES ${VELLMORE_GENERATED}/vellmore.1.gz ${VELLMORE_GENERATED}/vellmore-table.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT system)
install(FILES ${VELLMORE_GENERATED}/changelog.gz DESTINATION ${docs} COMPONENT system)

set(CPACK_GENERATOR TGZ DEB)
set(CPACK_PACKAGE_FILE_NAME Vellmore-${VELLMORE_VERSION_TEXT}-linux-x86_64)
set(CPACK_PACKAGE_NAME vellmore)
set(CPACK_PACKAGE_VENDOR "The Vellmore developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "exposures for photographing the Moon and planets through a telescope")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELLMORE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Worked out from the programs themselves by dpkg-shlibdeps; the fonts are what the window needs
# that no library names, and xdg-open what opens the settings file and the page.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation, xdg-utils")
# The synopsis is the summary above; this is the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vellmore works out the exposure for eyepiece projection, where a camera with
its own lens looks into the telescope's eyepiece: the magnification, the focal
length and f ratio of the whole system, and the exposure in seconds for an
object's brightness constant and the film speed.
.
vellmore-table prints a night's plan: every object at several film speeds and
heights above the horizon, with the nearest full-stop shutter speeds.")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

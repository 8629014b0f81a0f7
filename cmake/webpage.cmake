# The web page (scripts/dev.sh web builds it): one HTML file with the core inside, which works
# offline. The packages carry it where it was built: beside the programs in a portable copy and
# the Windows installer, under the data folder with a menu entry of its own in the Debian package.
set(VELLMORE_WEB_PAGE "" CACHE FILEPATH "The page to ship (build-web/vellmore.html)")
if(VELLMORE_WEB_PAGE)
  install(FILES ${VELLMORE_WEB_PAGE} DESTINATION . COMPONENT portable EXCLUDE_FROM_ALL)
  if(NOT WIN32)
    set(VELLMORE_PAGE_PATH ${CMAKE_INSTALL_FULL_DATADIR}/vellmore/vellmore.html)
    install(FILES ${VELLMORE_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/vellmore
            COMPONENT system)
    # The menu entry starts a command of the package's own, which hands the page to xdg-open.
    set(VELLMORE_TONIGHT ${CMAKE_INSTALL_FULL_LIBEXECDIR}/vellmore/vellmore-tonight)
    configure_file(packaging/linux/vellmore-tonight.in ${VELLMORE_GENERATED}/vellmore-tonight @ONLY)
    install(PROGRAMS ${VELLMORE_GENERATED}/vellmore-tonight
            DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/vellmore COMPONENT system)
    configure_file(packaging/linux/org.vellmore.Vellmore.Tonight.desktop.in
                   ${VELLMORE_GENERATED}/org.vellmore.Vellmore.Tonight.desktop @ONLY)
    install(FILES ${VELLMORE_GENERATED}/org.vellmore.Vellmore.Tonight.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT system)
  endif()
endif()

# What `cmake --install` puts where (GNUInstallDirs), and the Debian package of it.
set(app_id example.tarn_radio.TarnDataBase)

foreach(program tarn tarn-cli tarn-radio-sim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/docs/man/tarn-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
if(TARGET tarn-radio-sim)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/tarn-radio-sim.1
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TARN_BUILD_GUI)
    # The manual Help opens, the desktop entry, the .tdb file type and the icon theme.
    install(FILES ${CMAKE_BINARY_DIR}/Tarn.pdf DESTINATION ${CMAKE_INSTALL_DOCDIR})
    set(data ${PROJECT_SOURCE_DIR}/data)
    install(FILES ${data}/${app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${data}/tarn-database.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    configure_file(${data}/${app_id}.metainfo.xml.in ${CMAKE_BINARY_DIR}/${app_id}.metainfo.xml
                   @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/${app_id}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
    install(FILES ${data}/icons/tarn.svg DESTINATION ${icons}/scalable/apps)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${data}/icons/png/tarn-${size}.png DESTINATION ${icons}/${size}x${size}/apps
                RENAME tarn.png)
    endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})  # the version the About box shows
set(CPACK_PACKAGE_VENDOR TARN)
set(CPACK_PACKAGE_CONTACT "TARN <support@tarn-radio.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TARN <support@tarn-radio.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "client database and programmer for HF SSB radios")
# The long description, one line each (CPack indents them for the control file).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tarn DataBase is for a dealer who sells and services HF single-sideband"
    "transceivers. A database file (.tdb) holds up to 1000 clients, each the"
    "complete configuration of one customer's radio. It reads a radio's memory"
    "over RS-232, programs a client into a radio and verifies it, prints client"
    "sheets and exports CSV. With tarn-cli for the same work without the desktop,"
    "and tarn-radio-sim, a simulated radio to practise on.")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.tarn-radio.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
if(TARN_BUILD_GUI)
    # Loaded at run time, so the library scan cannot see them: the X11 platform plugin
    # and the fonts the printing and the splash ask for.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
        "shared-mime-info, desktop-file-utils, hicolor-icon-theme, xdg-utils, evince | pdf-viewer")
endif()
include(CPack)

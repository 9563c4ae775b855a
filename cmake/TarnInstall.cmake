# What `cmake --install` puts where (GNUInstallDirs), and the Debian package of it.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

foreach(program tarn tarn-cli tarn-radio-sim)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        # A stripped install (--strip, the package) also drops the compilers' notes, as
        # Debian's dh_strip does.
        if(UNIX AND CMAKE_OBJCOPY)
            install(CODE "
                if(CMAKE_INSTALL_DO_STRIP)
                    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
                endif()")
        endif()
    endif()
endforeach()

include(TarnManPages)

if(UNIX)
    # Where Debian keeps them: the package's changelog (compressed without a time stamp, so
    # that two builds give the same file) and its machine-readable copyright.
    find_program(TARN_GZIP gzip REQUIRED)
    set(changelog ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
    add_custom_command(OUTPUT ${changelog}
                       COMMAND ${TARN_GZIP} -9nc ${TARN_CHANGELOG} > ${changelog}
                       DEPENDS ${TARN_CHANGELOG} VERBATIM)
    add_custom_target(changelog ALL DEPENDS ${changelog})
    install(FILES ${changelog} ${PROJECT_SOURCE_DIR}/packaging/copyright
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

if(TARN_BUILD_GUI)
    # The manual Help opens, in the program's own data folder (a system may leave out
    # share/doc); the documentation folder links to it.
    install(FILES ${CMAKE_BINARY_DIR}/Tarn.pdf DESTINATION ${TARN_INSTALL_DATADIR})
    if(UNIX)
        file(RELATIVE_PATH manual_from_doc ${CMAKE_INSTALL_FULL_DOCDIR}
             ${TARN_INSTALL_FULL_DATADIR}/Tarn.pdf)
        install(CODE "
            set(doc \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DOCDIR}\")
            file(MAKE_DIRECTORY \"\${doc}\")
            file(CREATE_LINK ${manual_from_doc} \"\${doc}/Tarn.pdf\" SYMBOLIC)
            message(STATUS \"Installing: \${doc}/Tarn.pdf -> ${manual_from_doc}\")")
    endif()
    # The desktop entry, the .tdb file type, the AppStream data and the icon theme.
    set(data ${PROJECT_SOURCE_DIR}/data)
    install(FILES ${data}/${TARN_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${data}/tarn-database.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    # The release's version and date, both from the changelog.
    configure_file(${data}/${TARN_APP_ID}.metainfo.xml.in
                   ${CMAKE_BINARY_DIR}/${TARN_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/${TARN_APP_ID}.metainfo.xml
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
# The version the About box shows, with the changelog's Debian revision: 3.0.1.0-1.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TARN_DEBIAN_REVISION})
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
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.tarn-radio.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The programs without their symbols (a debugger gets them from a RelWithDebInfo build).
set(CPACK_STRIP_FILES ON)
if(TARN_BUILD_GUI)
    # Loaded at run time, so the library scan cannot see them: the X11 platform plugin
    # and the fonts the printing and the splash ask for.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
        "shared-mime-info, desktop-file-utils, hicolor-icon-theme, xdg-utils, evince | pdf-viewer")
endif()
include(CPack)

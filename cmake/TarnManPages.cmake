# The man pages tarn(1), tarn-cli(1) and tarn-radio-sim(1), made at build time from each
# program's own --help by tools/manpage, so that a new command or option is in its page
# without anyone editing it. What --help does not say (the name line, files, examples) comes
# from docs/man/<program>.h2m. The pages are dated by the changelog's release date and
# installed compressed, without a time stamp.
option(TARN_MAN_PAGES "Make and install the man pages" ON)
if(NOT TARN_MAN_PAGES OR WIN32 OR CMAKE_CROSSCOMPILING)
    return()
endif()
find_program(TARN_GZIP gzip REQUIRED)

set(man_pages)
foreach(program tarn tarn-cli tarn-radio-sim)
    if(NOT TARGET ${program})
        continue()
    endif()
    set(extra ${PROJECT_SOURCE_DIR}/docs/man/${program}.h2m)
    set(help ${CMAKE_BINARY_DIR}/man/${program}.help)
    set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
    # The sanitizer build's programs run too: a one-shot run needs no leak check. tarn
    # answers --help without a display.
    add_custom_command(
        OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:${program}>
                --help > ${help}
        COMMAND tarn-make-man ${program} "Tarn DataBase ${PROJECT_VERSION}" ${TARN_RELEASE_DATE}
                ${help} ${extra} ${page}
        COMMAND ${TARN_GZIP} -9nf ${page}
        DEPENDS ${program} tarn-make-man ${extra} ${TARN_CHANGELOG}
        COMMENT "Making the man page ${program}(1) from ${program} --help"
        VERBATIM)
    list(APPEND man_pages ${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The version, its Debian revision and its release date all come from the top entry of the
# package's changelog, the one place a release is written down:
#   tarn (3.0.1.0-1) stable; urgency=medium
#   ...
#    -- TARN <support@tarn-radio.example>  Mon, 07 Dec 2026 12:00:00 +0000
# Sets TARN_VERSION (3.0.1.0), TARN_DEBIAN_REVISION (1) and TARN_RELEASE_DATE (2026-12-07).
# Read before project().
set(TARN_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/../packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TARN_CHANGELOG})
function(tarn_read_changelog)
    file(STRINGS ${TARN_CHANGELOG} heading LIMIT_COUNT 1 REGEX "^tarn \\(")
    file(STRINGS ${TARN_CHANGELOG} trailer LIMIT_COUNT 1 REGEX "^ -- ")
    if(NOT heading MATCHES "^tarn \\(([0-9.]+)-([0-9]+)\\)")
        message(FATAL_ERROR "${TARN_CHANGELOG}: the first line is not \"tarn (VERSION-REVISION) ...\"")
    endif()
    set(TARN_VERSION ${CMAKE_MATCH_1})
    set(TARN_DEBIAN_REVISION ${CMAKE_MATCH_2})
    if(NOT trailer MATCHES
       ">  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9]+) [0-9:]+ [-+][0-9]+$")
        message(FATAL_ERROR "${TARN_CHANGELOG}: the first entry has no \" -- NAME <MAIL>  DATE\" line")
    endif()
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 101")  # 101..112: the last two digits are the month's
    string(SUBSTRING ${month} 1 2 month)
    math(EXPR day "${CMAKE_MATCH_1} + 100")
    string(SUBSTRING ${day} 1 2 day)
    set(TARN_RELEASE_DATE ${year}-${month}-${day})
    set(TARN_VERSION ${TARN_VERSION} PARENT_SCOPE)
    set(TARN_DEBIAN_REVISION ${TARN_DEBIAN_REVISION} PARENT_SCOPE)
    set(TARN_RELEASE_DATE ${TARN_RELEASE_DATE} PARENT_SCOPE)
endfunction()
tarn_read_changelog()

# tarn_library(NAME SOURCES ... [DEPS ...]): one library per layer folder, with the
# project's warnings (errors under TARN_WERROR). Layering is enforced by what DEPS names.
function(tarn_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                           -Wno-sign-conversion $<$<BOOL:${TARN_WERROR}>:-Werror>)
endfunction()

function(tarn_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    tarn_warnings(${name})
endfunction()

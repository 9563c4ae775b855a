# How the libraries of the source folders are made, with the project's warnings (errors
# under TARN_WERROR). Layering is enforced by what DEPS names.
function(tarn_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                           -Wno-sign-conversion $<$<BOOL:${TARN_WERROR}>:-Werror>)
    # GCC 12 at -O3 reports "literal + std::string&&" inside libstdc++ as an overlapping
    # memcpy (-Wrestrict), a known false positive of that release only.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()

# tarn_sources(VAR [EXCLUDE file ...]): the .cpp files of the current folder, less the other
# platform's (named *_posix.cpp or *_win32.cpp) and those named, into VAR. The one rule for
# listing sources: a file added to a folder joins its library.
function(tarn_sources var)
    cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(WIN32)
        list(FILTER sources EXCLUDE REGEX "_posix\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
    endif()
    foreach(file ${ARG_EXCLUDE})
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${file})
    endforeach()
    set(${var} ${sources} PARENT_SCOPE)
endfunction()

# tarn_library(NAME SOURCES ... [DEPS ...]): one static library with the project's warnings.
function(tarn_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    tarn_warnings(${name})
endfunction()

# tarn_layer(NAME [EXCLUDE file ...] [DEPS ...]): the library of the current folder's sources.
function(tarn_layer name)
    cmake_parse_arguments(ARG "" "" "EXCLUDE;DEPS" ${ARGN})
    tarn_sources(sources EXCLUDE ${ARG_EXCLUDE})
    tarn_library(${name} SOURCES ${sources} DEPS ${ARG_DEPS})
endfunction()

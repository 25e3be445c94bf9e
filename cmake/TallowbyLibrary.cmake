# Every target sees only the headers of the libraries it links. Each library
# exports an include root of its own: a folder in the build tree that holds
# links to the library's source folders under their project paths, so
# "workbook/engine/model/cell.h" is found by exactly the targets that link the
# library owning that folder (and by that library itself).
function(tallowby_include_root target scope)
    set(root ${PROJECT_BINARY_DIR}/include-roots/${target})
    foreach(dir IN LISTS ARGN)
        file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${dir})
        if(rel STREQUAL "")
            message(FATAL_ERROR "${target}: the project root is no library folder")
        endif()
        get_filename_component(parent ${root}/${rel} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        if(NOT IS_SYMLINK ${root}/${rel})
            file(CREATE_LINK ${dir} ${root}/${rel} SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${target} ${scope} ${root})
endfunction()

# One static library per folder of sources; a folder without .cpp files yet
# becomes an interface library so the tree configures while it grows.
function(tallowby_folder_library name)
    cmake_parse_arguments(ARG "" "" "DIRS;LINK" ${ARGN})
    set(sources "")
    set(folders "")
    foreach(dir IN LISTS ARG_DIRS)
        get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR}/${dir} ABSOLUTE)
        list(APPEND folders ${folder})
        file(GLOB_RECURSE found CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
        list(APPEND sources ${found})
    endforeach()
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    if(sources)
        add_library(${name} STATIC ${sources})
        tallowby_include_root(${name} PUBLIC ${folders})
        target_link_libraries(${name} PUBLIC ${ARG_LINK})
    else()
        add_library(${name} INTERFACE)
        tallowby_include_root(${name} INTERFACE ${folders})
        target_link_libraries(${name} INTERFACE ${ARG_LINK})
    endif()
endfunction()

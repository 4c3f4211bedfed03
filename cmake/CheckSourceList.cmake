# quillon_check_source_list(FOLDER LIST [EXCEPT file...]): stops the configure step when a .cpp or .h
# under FOLDER is in no explicit source list, so that a new file is never left out of the build
# unnoticed (the lists are written by hand; nothing compiles a folder by itself).
function(quillon_check_source_list folder listed)
    cmake_parse_arguments(ARG "" "" "EXCEPT" ${ARGN})
    file(GLOB_RECURSE on_disk RELATIVE "${CMAKE_CURRENT_SOURCE_DIR}"
         "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h")
    list(REMOVE_ITEM on_disk ${listed} ${ARG_EXCEPT})
    if(on_disk)
        list(JOIN on_disk "\n  " missing)
        message(FATAL_ERROR "Source files in no list (add them to ${CMAKE_CURRENT_LIST_FILE}):\n  ${missing}")
    endif()
endfunction()

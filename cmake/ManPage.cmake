# The man page: packaging/linux/quillon.1.in with the version and date filled in at configure
# time, then its OPTIONS and EXIT STATUS parts written at build time by man-page-tool from the
# tables --help prints, so that the page always matches the program it is built with.
set(QUILLON_MAN_PAGE "${QUILLON_PACKAGING_GEN_DIR}/quillon.1")

add_executable(man-page-tool tools/man-page-tool/ManPageTool.cpp src/app/ManPageSections.cpp
                             src/app/ExitStatus.cpp)
target_include_directories(man-page-tool PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}/src")
quillon_add_warnings(man-page-tool)

configure_file("${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux/quillon.1.in" "${QUILLON_MAN_PAGE}.template" @ONLY)
add_custom_command(
    OUTPUT "${QUILLON_MAN_PAGE}"
    COMMAND man-page-tool "${QUILLON_MAN_PAGE}.template" "${QUILLON_MAN_PAGE}"
    DEPENDS man-page-tool "${QUILLON_MAN_PAGE}.template"
    COMMENT "Writing the man page's options and exit statuses"
    VERBATIM)

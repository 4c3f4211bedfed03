# The Windows build of the unit tests (scripts/test-windows.sh builds and runs it). CTest runs the
# test program, and lists its tests, under Wine through wine-run.sh. Included from
# tests/CMakeLists.txt.

# Wine shows the build machine's root folder as drive Z:; paths to its files compiled into the
# tests get that drive, or JUCE would take them for relative paths.
set(QUILLON_TEST_HOST_DRIVE "Z:")
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_SOURCE_DIR}/windows/wine-run.sh" "${CMAKE_BINARY_DIR}/wine-prefix")

# Test sources that are not built for Windows: the lines of excluded-tests.txt that name a file.
file(STRINGS "${CMAKE_CURRENT_SOURCE_DIR}/windows/excluded-tests.txt" QUILLON_WINDOWS_EXCLUSIONS
     REGEX "^[^#].*\\.cpp +\\|")
set(QUILLON_WINDOWS_EXCLUDED_TEST_SOURCES "")
foreach(line IN LISTS QUILLON_WINDOWS_EXCLUSIONS)
    string(REGEX REPLACE " +\\|.*" "" source "${line}")
    list(APPEND QUILLON_WINDOWS_EXCLUDED_TEST_SOURCES "${source}") # as tests/CMakeLists.txt names it
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/windows/excluded-tests.txt")

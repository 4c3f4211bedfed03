# The Windows build (cross-compiled with MinGW-w64 through cmake/MinGW-w64-x86_64.cmake, see
# scripts/build-windows.sh): the image libraries Debian's JUCE leaves out, a statically linked
# Quillon.exe with the project's icon, the installer (target QuillonInstaller) and the zip
# (QuillonZip). Included from the top-level CMakeLists.txt.

# Debian builds JUCE without its own copies of zlib, libpng and libjpeg; on Windows the MinGW
# builds from QUILLON_MINGW_DEPS take their place. PUBLIC: the JUCE modules compiled in QuillonJuce
# include png.h and jpeglib.h themselves.
set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
target_link_libraries(QuillonJuce PUBLIC PNG::PNG JPEG::JPEG ZLIB::ZLIB)

# Symbols are of no use to the shipped program (10.9 MB with them, 6.2 MB without).
target_link_options(Quillon PRIVATE $<$<CONFIG:Release>:-s>)

# ---------------------------------------------------------------------------------------------
# The icon (cmake/Icons.cmake makes quillon.ico from the project's drawing) is the exe's own
# (Explorer, taskbar), the installer's and the Start-menu entry's.
set(QUILLON_WINDOWS_DIR "${CMAKE_BINARY_DIR}/windows")
file(WRITE "${QUILLON_WINDOWS_DIR}/QuillonIcon.rc" "IDI_QUILLON ICON \"${QUILLON_ICO}\"\n")
target_sources(Quillon PRIVATE "${QUILLON_WINDOWS_DIR}/QuillonIcon.rc")
set_source_files_properties("${QUILLON_WINDOWS_DIR}/QuillonIcon.rc" PROPERTIES OBJECT_DEPENDS "${QUILLON_ICO}")

# ---------------------------------------------------------------------------------------------
# Quillon-Setup-VERSION.exe (NSIS): Program Files, a Start-menu entry, an uninstaller listed in
# "Apps & features"; /S installs silently.
find_program(QUILLON_MAKENSIS makensis REQUIRED)
set(QUILLON_INSTALLER "${CMAKE_BINARY_DIR}/Quillon-Setup-${PROJECT_VERSION}.exe")
set(QUILLON_NSI "${CMAKE_SOURCE_DIR}/packaging/windows/Quillon.nsi")
add_custom_command(
    OUTPUT "${QUILLON_INSTALLER}"
    COMMAND "${QUILLON_MAKENSIS}" -V2 -INPUTCHARSET UTF8
            "-DVERSION=${PROJECT_VERSION}"
            "-DEXE=$<TARGET_FILE:Quillon>"
            "-DICON=${QUILLON_ICO}"
            "-DOUTFILE=${QUILLON_INSTALLER}"
            "${QUILLON_NSI}"
    DEPENDS Quillon "${QUILLON_ICO}" "${QUILLON_NSI}"
    COMMENT "Building the installer Quillon-Setup-${PROJECT_VERSION}.exe"
    VERBATIM)
add_custom_target(QuillonInstaller DEPENDS "${QUILLON_INSTALLER}")

# The same program for people who do not install: the exe and the README in a zip.
set(QUILLON_ZIP "${CMAKE_BINARY_DIR}/Quillon-${PROJECT_VERSION}-windows-x64.zip")
set(QUILLON_ZIP_DIR "${QUILLON_WINDOWS_DIR}/zip")
add_custom_command(
    OUTPUT "${QUILLON_ZIP}"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "${QUILLON_ZIP_DIR}"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${QUILLON_ZIP_DIR}"
    COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:Quillon>" "${CMAKE_SOURCE_DIR}/README.md" "${QUILLON_ZIP_DIR}"
    COMMAND "${CMAKE_COMMAND}" -E rm -f "${QUILLON_ZIP}"
    COMMAND "${CMAKE_COMMAND}" -E chdir "${QUILLON_ZIP_DIR}"
            "${CMAKE_COMMAND}" -E tar cf "${QUILLON_ZIP}" --format=zip Quillon.exe README.md
    DEPENDS Quillon "${CMAKE_SOURCE_DIR}/README.md"
    COMMENT "Packing Quillon-${PROJECT_VERSION}-windows-x64.zip"
    VERBATIM)
add_custom_target(QuillonZip DEPENDS "${QUILLON_ZIP}")

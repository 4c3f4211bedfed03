# What `cmake --install` puts under the prefix on Linux, and the Debian package built from it with
# CPack (scripts/package-deb.sh). Every version number comes from the project version.
include(GNUInstallDirs)

set(QUILLON_APP_ID "com.brantwell.quillon")
set(QUILLON_WEB_URL "https://quillon.brantwell.example" CACHE STRING
    "The project's public web address; its docs/ folder serves the README's screenshots (metainfo)")
set(QUILLON_PACKAGE_MAINTAINER "brantwell <quillon@brantwell.example>" CACHE STRING
    "Maintainer field of the Debian package")

set(QUILLON_PACKAGING_GEN_DIR "${CMAKE_CURRENT_BINARY_DIR}/packaging")
configure_file("${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux/${QUILLON_APP_ID}.metainfo.xml.in"
               "${QUILLON_PACKAGING_GEN_DIR}/${QUILLON_APP_ID}.metainfo.xml" @ONLY)
include(cmake/ManPage.cmake)
# The Debian changelog's one entry: this version, dated with its release date.
execute_process(COMMAND date --utc --rfc-email --date "${QUILLON_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE QUILLON_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file("${CMAKE_CURRENT_SOURCE_DIR}/packaging/linux/changelog.in" "${QUILLON_PACKAGING_GEN_DIR}/changelog"
               @ONLY)
# Man page and changelog go compressed, without a time stamp (reproducible packages).
foreach(file quillon.1 changelog)
    add_custom_command(
        OUTPUT "${QUILLON_PACKAGING_GEN_DIR}/${file}.gz"
        COMMAND gzip -9 --no-name --keep --force "${QUILLON_PACKAGING_GEN_DIR}/${file}"
        DEPENDS "${QUILLON_PACKAGING_GEN_DIR}/${file}"
        VERBATIM)
endforeach()
add_custom_target(quillon-install-files ALL
                  DEPENDS "${QUILLON_PACKAGING_GEN_DIR}/quillon.1.gz" "${QUILLON_PACKAGING_GEN_DIR}/changelog.gz")

# The program as `quillon`: Debian names programs in lower case (the build keeps JUCE's name).
install(PROGRAMS "$<TARGET_FILE:Quillon>" DESTINATION "${CMAKE_INSTALL_BINDIR}" RENAME quillon)
# `cmake --install --strip` and CPack strip only install(TARGETS) files: strip this one as dh_strip would.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                                --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillon\"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()")

install(FILES "packaging/linux/${QUILLON_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${QUILLON_PACKAGING_GEN_DIR}/${QUILLON_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES packaging/linux/quillon-mime.xml DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
        RENAME quillon.xml)
install(FILES "${QUILLON_ICON_SVG}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
foreach(size IN LISTS QUILLON_ICON_SIZES)
    install(FILES "${QUILLON_ICON_DIR}/quillon-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps" RENAME quillon.png)
endforeach()
install(FILES "${QUILLON_PACKAGING_GEN_DIR}/quillon.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES packaging/linux/copyright "${QUILLON_PACKAGING_GEN_DIR}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/quillon")

# ---------------------------------------------------------------------------------------------
# Debian package. dpkg-shlibdeps finds the libraries the program links; JUCE opens the X11
# libraries itself at run time (dlopen), which no tool can see, so those are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR brantwell)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "firmware updater for a guitar pedal over USB-MIDI")
# Lines as they appear in the package (lintian: at most 80 characters with the leading blank).
set(CPACK_PACKAGE_DESCRIPTION "\
Quillon updates the firmware of a guitar-effect pedal. The pedal, started in
its boot mode, shows up as a USB-MIDI device; Quillon sends it a firmware
image (a .syx file of complete SysEx messages) message by message, each at
the pace of a MIDI cable, while a progress bar runs to 100 %.

One image is built in; another can be opened from a file. An unattended
update can be started from the command line, and the exit status tells a
script how it ended.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLON_WEB_URL}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libx11-6, libxext6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libxcursor1, libxinerama1, libxrandr2, libxrender1, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

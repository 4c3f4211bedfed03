# The program's icon, drawn once as SVG in packaging/icons/: quillon.svg for every size from 22
# pixels up, quillon-small.svg (the same picture on a 16-pixel grid, without the knobs) for 16.
# The build renders the PNG sizes of the hicolor theme from them (rsvg-convert), embeds the
# 64-pixel one for the window and the task bar, and, on request, makes a Windows .ico:
#   cmake --build BUILD --target quillon-ico   ->   BUILD/icons/quillon.ico
find_program(QUILLON_RSVG_CONVERT rsvg-convert)
if(NOT QUILLON_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert not found: it renders the icon (Debian package librsvg2-bin; "
                        "scripts/install-deps.sh installs it)")
endif()

set(QUILLON_ICON_SVG "${CMAKE_CURRENT_SOURCE_DIR}/packaging/icons/quillon.svg")
set(QUILLON_ICON_SMALL_SVG "${CMAKE_CURRENT_SOURCE_DIR}/packaging/icons/quillon-small.svg")
set(QUILLON_ICON_SIZES 16 22 24 32 48 64 128 256)
set(QUILLON_ICON_DIR "${CMAKE_CURRENT_BINARY_DIR}/icons")
file(MAKE_DIRECTORY "${QUILLON_ICON_DIR}")

set(QUILLON_ICON_PNGS "")
foreach(size IN LISTS QUILLON_ICON_SIZES)
    if(size LESS 22)
        set(source "${QUILLON_ICON_SMALL_SVG}")
    else()
        set(source "${QUILLON_ICON_SVG}")
    endif()
    set(png "${QUILLON_ICON_DIR}/quillon-${size}.png")
    add_custom_command(
        OUTPUT "${png}"
        COMMAND "${QUILLON_RSVG_CONVERT}" --width ${size} --height ${size} --output "${png}" "${source}"
        DEPENDS "${source}"
        COMMENT "Rendering the ${size}-pixel icon"
        VERBATIM)
    list(APPEND QUILLON_ICON_PNGS "${png}")
endforeach()
add_custom_target(quillon-icons ALL DEPENDS ${QUILLON_ICON_PNGS})

# The window icon, compiled into QuillonCore (MainWindow hands it to the window's peer).
set(QUILLON_WINDOW_ICON_CPP "${QUILLON_ICON_DIR}/WindowIconData.cpp")
add_custom_command(
    OUTPUT "${QUILLON_WINDOW_ICON_CPP}"
    COMMAND "${CMAKE_COMMAND}" -DINPUT=${QUILLON_ICON_DIR}/quillon-64.png -DOUTPUT=${QUILLON_WINDOW_ICON_CPP}
            -DNAMESPACE=WindowIconData -P "${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    DEPENDS "${QUILLON_ICON_DIR}/quillon-64.png" "${CMAKE_CURRENT_SOURCE_DIR}/cmake/EmbedFile.cmake"
    COMMENT "Embedding the window icon"
    VERBATIM)
target_sources(QuillonCore PRIVATE "${QUILLON_WINDOW_ICON_CPP}")

# Windows: one .ico with the sizes Windows asks for (the 256-pixel one stored as PNG, as Windows
# expects). icotool comes from the Debian package icoutils.
find_program(QUILLON_ICOTOOL icotool)
set(QUILLON_ICO "${QUILLON_ICON_DIR}/quillon.ico")
set(ico_pngs "")
foreach(size 16 24 32 48 64)
    list(APPEND ico_pngs "${QUILLON_ICON_DIR}/quillon-${size}.png")
endforeach()
if(QUILLON_ICOTOOL)
    set(ico_command "${QUILLON_ICOTOOL}" --create --output "${QUILLON_ICO}" ${ico_pngs}
                    --raw "${QUILLON_ICON_DIR}/quillon-256.png")
else()
    set(ico_command "${CMAKE_COMMAND}" -E echo "icotool not found (Debian package icoutils)" COMMAND false)
endif()
add_custom_command(
    OUTPUT "${QUILLON_ICO}"
    COMMAND ${ico_command}
    DEPENDS ${ico_pngs} "${QUILLON_ICON_DIR}/quillon-256.png"
    COMMENT "Making the Windows icon"
    VERBATIM)
add_custom_target(quillon-ico DEPENDS "${QUILLON_ICO}")

# The firmware image compiled into QuillonCore. By default the build generates the project's own
# synthetic image (tools/syx-image-tool); a maintainer can embed another .syx with
#   -DQUILLON_BUILTIN_SYX=/path/to/image.syx
# Either way the image's SysEx framing is checked, and a broken image stops the build with a message
# that says what is wrong and where.
set(QUILLON_BUILTIN_SYX "" CACHE FILEPATH "SysEx image to embed as the built-in firmware (empty: the generated image)")

if(CMAKE_CROSSCOMPILING)
    # The build runs the tool, so it has to be a program for the build machine, built beforehand.
    set(QUILLON_HOST_SYX_IMAGE_TOOL "" CACHE FILEPATH "syx-image-tool built for the build machine")
    if(NOT EXISTS "${QUILLON_HOST_SYX_IMAGE_TOOL}")
        message(FATAL_ERROR "Cross-compiling needs -DQUILLON_HOST_SYX_IMAGE_TOOL=<syx-image-tool built for this machine>")
    endif()
    add_executable(syx-image-tool IMPORTED)
    set_target_properties(syx-image-tool PROPERTIES IMPORTED_LOCATION "${QUILLON_HOST_SYX_IMAGE_TOOL}")
else()
    add_executable(syx-image-tool "${CMAKE_CURRENT_SOURCE_DIR}/tools/syx-image-tool/SyxImageTool.cpp")
endif()

set(QUILLON_FIRMWARE_GEN_DIR "${CMAKE_CURRENT_BINARY_DIR}/firmware")
file(MAKE_DIRECTORY "${QUILLON_FIRMWARE_GEN_DIR}")

if(QUILLON_BUILTIN_SYX)
    get_filename_component(QUILLON_BUILTIN_SYX_FILE "${QUILLON_BUILTIN_SYX}" ABSOLUTE)
    if(NOT EXISTS "${QUILLON_BUILTIN_SYX_FILE}" OR IS_DIRECTORY "${QUILLON_BUILTIN_SYX_FILE}")
        message(FATAL_ERROR "QUILLON_BUILTIN_SYX: no such file: ${QUILLON_BUILTIN_SYX_FILE}")
    endif()
else()
    set(QUILLON_BUILTIN_SYX_FILE "${QUILLON_FIRMWARE_GEN_DIR}/BuiltInFirmware.syx")
    add_custom_command(
        OUTPUT "${QUILLON_BUILTIN_SYX_FILE}"
        COMMAND syx-image-tool generate "${QUILLON_BUILTIN_SYX_FILE}"
        DEPENDS syx-image-tool
        COMMENT "Generating the built-in firmware image"
        VERBATIM)
endif()

set(QUILLON_BUILTIN_FIRMWARE_CPP "${QUILLON_FIRMWARE_GEN_DIR}/BuiltInFirmwareData.cpp")
add_custom_command(
    OUTPUT "${QUILLON_BUILTIN_FIRMWARE_CPP}"
    COMMAND syx-image-tool embed "${QUILLON_BUILTIN_SYX_FILE}" "${QUILLON_BUILTIN_FIRMWARE_CPP}"
    DEPENDS syx-image-tool "${QUILLON_BUILTIN_SYX_FILE}"
    COMMENT "Embedding the built-in firmware image"
    VERBATIM)
target_sources(QuillonCore PRIVATE "${QUILLON_BUILTIN_FIRMWARE_CPP}")

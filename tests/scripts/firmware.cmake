# The build-time tool that generates, checks and embeds the built-in firmware image.
add_test(NAME SyxImageTool.GeneratesAndRejectsBrokenFraming
         COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/firmware/syx-image-tool-test.sh" $<TARGET_FILE:syx-image-tool>)

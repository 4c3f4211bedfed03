# The build-time tool that generates, checks and embeds the built-in firmware image.
quillon_add_script_tests(SyxImageTool.GeneratesAndRejectsBrokenFraming SINGLE
    SCRIPT firmware/syx-image-tool-test.sh
    ARGS $<TARGET_FILE:syx-image-tool>)

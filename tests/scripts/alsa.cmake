# End-to-end tests against real ALSA MIDI (CTest label "alsa"): the shipped application sends
# through a snd-virmidi port, or (usb_*) to the alsa-vm guest's USB MIDI device, while a paced
# receiver plays the device. They report "skipped" where there is no such port;
# ./scripts/test-alsa.sh runs them (in the alsa-vm guest when this machine has no snd-virmidi
# ports). Included from tests/CMakeLists.txt.

find_package(ALSA)
find_package(X11)
if(NOT ALSA_FOUND OR NOT X11_FOUND)
    message(STATUS "alsa-lib or Xlib headers missing: the ALSA end-to-end tests are not built")
    return()
endif()

# The receiver needs nothing but alsa-lib.
add_executable(PacedMidiReceiver "${CMAKE_CURRENT_SOURCE_DIR}/e2e/PacedMidiReceiver.cpp")
target_link_libraries(PacedMidiReceiver PRIVATE ALSA::ALSA)
quillon_add_warnings(PacedMidiReceiver)

add_executable(QuillonE2eTool
    "${CMAKE_CURRENT_SOURCE_DIR}/e2e/E2eTool.cpp"
    "${CMAKE_CURRENT_SOURCE_DIR}/e2e/E2eX11.cpp")
target_link_libraries(QuillonE2eTool PRIVATE QuillonTestSupport X11::X11)
quillon_add_warnings(QuillonE2eTool)

set(QUILLON_E2E_SCRIPT "${CMAKE_CURRENT_SOURCE_DIR}/e2e/alsa-e2e.sh")

# case name -> CTest timeout in seconds (generous: the tests may run in an emulated guest)
set(QUILLON_ALSA_CASES
    autoupdate_file 300
    autoupdate_builtin 420
    output_by_name 300
    damaged_file 300
    manual_selection 300
    close_mid_upload 300
    unpaced_build_loses_bytes 300
    # The USB MIDI device of the guest (alsa-vm --usb-midi); the 40-message image unless noted.
    usb_autoupdate_file 300
    usb_long_messages 300
    usb_plug_late 300
    usb_unplug_mid_update 300
    usb_sigterm_mid_update 300
    usb_unplug_manual 300
    usb_pause 300)

while(QUILLON_ALSA_CASES)
    list(POP_FRONT QUILLON_ALSA_CASES case timeout)
    add_test(NAME alsa.${case}
        COMMAND bash "${QUILLON_E2E_SCRIPT}" ${case}
            --app "$<TARGET_FILE:Quillon>"
            --receiver "$<TARGET_FILE:PacedMidiReceiver>"
            --tool "$<TARGET_FILE:QuillonE2eTool>"
            --out "${CMAKE_CURRENT_BINARY_DIR}/e2e/${case}")
    set_tests_properties(alsa.${case} PROPERTIES
        LABELS alsa
        SKIP_RETURN_CODE 77
        TIMEOUT ${timeout}
        # One virtual MIDI port, one USB device and one receiver, and a single-instance
        # application: never two of these at once, nor beside another test that starts it.
        RESOURCE_LOCK "virmidi;usb-midi;quillon-instance"
        FAIL_REGULAR_EXPRESSION "${QUILLON_TEST_FAILURE_PATTERN}")
endwhile()

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
add_executable(PacedMidiReceiver e2e/PacedMidiReceiver.cpp)
target_link_libraries(PacedMidiReceiver PRIVATE ALSA::ALSA)
quillon_add_warnings(PacedMidiReceiver)

add_executable(QuillonE2eTool e2e/E2eTool.cpp e2e/E2eX11.cpp e2e/E2eX11.h)
target_link_libraries(QuillonE2eTool PRIVATE QuillonTestSupport X11::X11)
quillon_add_warnings(QuillonE2eTool)

# Generous time-outs: the tests may run in an emulated guest.
quillon_add_script_tests(alsa
    SCRIPT e2e/alsa-e2e.sh
    ARGS @CASE@
        --app "$<TARGET_FILE:Quillon>"
        --receiver "$<TARGET_FILE:PacedMidiReceiver>"
        --tool "$<TARGET_FILE:QuillonE2eTool>"
        --out "${CMAKE_CURRENT_BINARY_DIR}/e2e/@CASE@"
    LABELS alsa
    SKIP_RETURN_CODE 77
    TIMEOUT 300
    CASE_TIMEOUTS autoupdate_builtin=420
    # One virtual MIDI port, one USB device and one receiver, and a single-instance application:
    # never two of these at once, nor beside another test that starts it.
    RESOURCE_LOCK virmidi usb-midi quillon-instance)

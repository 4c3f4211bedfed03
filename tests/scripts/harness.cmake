# The real application on virtual MIDI outputs (QuillonHarness), driven by
# tests/harness/harness-test.sh, each case on an X server of its own. The harness is the
# application: it holds the same single-instance lock as Quillon, hence the resource lock.
foreach(case autoupdate autoupdate-file close-during-upload sigterm-during-upload display-lost-during-upload
             no-device damaged-image stranded-event no-window no-window-sigterm)
    add_test(NAME QuillonHarness.${case}
             COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/harness/harness-test.sh"
                     $<TARGET_FILE:QuillonHarness> ${case})
    set_tests_properties(QuillonHarness.${case} PROPERTIES
        RESOURCE_LOCK quillon-instance
        LABELS gui
        TIMEOUT 120
        FAIL_REGULAR_EXPRESSION "${QUILLON_TEST_FAILURE_PATTERN}")
endforeach()

# The real application on virtual MIDI outputs (QuillonHarness), driven by
# tests/harness/harness-test.sh, each case on an X server of its own. The harness is the
# application: it holds the same single-instance lock as Quillon, hence the resource lock.
quillon_add_script_tests(QuillonHarness
    SCRIPT harness/harness-test.sh
    ARGS $<TARGET_FILE:QuillonHarness> @CASE@
    # The application itself names the main window's title (its --version).
    ENVIRONMENT QUILLON_APP=$<TARGET_FILE:Quillon>
    LABELS gui
    RESOURCE_LOCK quillon-instance)

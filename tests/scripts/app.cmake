# The real application under X, driven by tests/app/app-test.sh (each case on an X server of its
# own). Every test that starts Quillon holds the resource lock "quillon-instance": the application
# allows a single instance per machine, so two such tests must never run at the same time.
quillon_add_script_tests(QuillonApp
    SCRIPT app/app-test.sh
    ARGS $<TARGET_FILE:Quillon> @CASE@
    LABELS gui
    RESOURCE_LOCK quillon-instance)

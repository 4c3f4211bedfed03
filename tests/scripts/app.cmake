# The real application under X, driven by tests/app/app-test.sh (each case on an X server of its
# own). Every test that starts Quillon holds the resource lock "quillon-instance": the application
# allows a single instance per machine, so two such tests must never run at the same time.
foreach(case window second-instance file-missing file-found file-not-recognised no-display)
    add_test(NAME QuillonApp.${case}
             COMMAND bash "${CMAKE_CURRENT_SOURCE_DIR}/app/app-test.sh" $<TARGET_FILE:Quillon> ${case})
    set_tests_properties(QuillonApp.${case} PROPERTIES
        RESOURCE_LOCK quillon-instance
        LABELS gui
        TIMEOUT 120
        FAIL_REGULAR_EXPRESSION "${QUILLON_TEST_FAILURE_PATTERN}")
endforeach()

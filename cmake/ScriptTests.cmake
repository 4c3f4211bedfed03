# quillon_add_script_tests: CTest tests that run a shell script, one test per case of the script.
#
#   quillon_add_script_tests(NAME
#       SCRIPT script.sh                  relative to the calling CMakeLists.txt's folder
#       [ARGS arg...]                     the script's arguments; @CASE@ stands for the case's name
#       [LABELS label...] [RESOURCE_LOCK lock...] [ENVIRONMENT VAR=value...]
#       [TIMEOUT seconds]                 default 120
#       [CASE_TIMEOUTS case=seconds...]   cases that need longer
#       [SKIP_RETURN_CODE code]           the status by which the script says "skipped"
#       [SINGLE])                         one test named NAME: the script has no cases
#
# The cases are the script's own: the labels of its top-level `case "$case..." in` block (`name)`
# or `name | other)`, four blanks in), each test named NAME.case. A case added to the script is a
# test at the next configure. Every test fails on QUILLON_TEST_FAILURE_PATTERN in its output.
function(quillon_add_script_tests name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "SINGLE" "SCRIPT;TIMEOUT;SKIP_RETURN_CODE"
                          "ARGS;LABELS;RESOURCE_LOCK;ENVIRONMENT;CASE_TIMEOUTS")
    set(script "${CMAKE_CURRENT_SOURCE_DIR}/${arg_SCRIPT}")
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 120)
    endif()

    if(arg_SINGLE)
        set(cases "${name}")
    else()
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${script}")
        file(STRINGS "${script}" lines)
        set(inside FALSE)
        set(cases "")
        foreach(line IN LISTS lines)
            if(line MATCHES "^case \"\\$case[a-z_]*\" in$")
                set(inside TRUE)
            elseif(inside AND line STREQUAL "esac")
                break()
            elseif(inside AND line MATCHES "^    ([a-z0-9_-]+( \\| [a-z0-9_-]+)*)\\)$")
                string(REPLACE " | " ";" labels "${CMAKE_MATCH_1}")
                list(APPEND cases ${labels})
            endif()
        endforeach()
        if(NOT cases)
            message(FATAL_ERROR "${arg_SCRIPT}: no cases found (a top-level case \"$case\" in ... esac block)")
        endif()
    endif()

    foreach(entry IN LISTS arg_CASE_TIMEOUTS)
        string(REGEX REPLACE "=.*" "" case "${entry}")
        if(NOT case IN_LIST cases)
            message(FATAL_ERROR "${arg_SCRIPT} has no case '${case}' (CASE_TIMEOUTS ${entry})")
        endif()
    endforeach()

    foreach(case IN LISTS cases)
        if(arg_SINGLE)
            set(test "${name}")
        else()
            set(test "${name}.${case}")
        endif()
        string(REPLACE "@CASE@" "${case}" args "${arg_ARGS}")
        add_test(NAME ${test} COMMAND bash "${script}" ${args})

        set(timeout ${arg_TIMEOUT})
        foreach(entry IN LISTS arg_CASE_TIMEOUTS)
            if(entry MATCHES "^${case}=([0-9]+)$")
                set(timeout ${CMAKE_MATCH_1})
            endif()
        endforeach()
        set_tests_properties(${test} PROPERTIES
            TIMEOUT ${timeout}
            FAIL_REGULAR_EXPRESSION "${QUILLON_TEST_FAILURE_PATTERN}")
        if(arg_LABELS)
            set_tests_properties(${test} PROPERTIES LABELS "${arg_LABELS}")
        endif()
        if(arg_RESOURCE_LOCK)
            set_tests_properties(${test} PROPERTIES RESOURCE_LOCK "${arg_RESOURCE_LOCK}")
        endif()
        if(arg_ENVIRONMENT)
            set_tests_properties(${test} PROPERTIES ENVIRONMENT "${arg_ENVIRONMENT}")
        endif()
        if(arg_SKIP_RETURN_CODE)
            set_tests_properties(${test} PROPERTIES SKIP_RETURN_CODE ${arg_SKIP_RETURN_CODE})
        endif()
    endforeach()
endfunction()

# One test class of a Python suite that runs the real binary (see harness.py), as a CTest entry
# named after its first label, with its labels and time limit; further arguments are more test
# properties (COST starts the long ones first when entries run in parallel).
find_package(Python3 COMPONENTS Interpreter REQUIRED)

function(zentaris_python_test labels script class timeout)
    list(GET labels 0 prefix)
    add_test(NAME ${prefix}.${class}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${class})
    set_tests_properties(${prefix}.${class} PROPERTIES
        LABELS "${labels}"
        TIMEOUT ${timeout}
        ENVIRONMENT
            "ZENTARIS_RUNTIME_DIR=${ZENTARIS_RUNTIME_DIR};ZENTARIS_VERSION=${PROJECT_VERSION}"
        ${ARGN})
endfunction()

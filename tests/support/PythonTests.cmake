# One test class of a Python suite that runs the real binary (see harness.py), as a CTest entry
# with its label and time limit; further arguments are more test properties (COST starts the
# long ones first when entries run in parallel).
find_package(Python3 COMPONENTS Interpreter REQUIRED)

function(zentaris_python_test label script class timeout)
    add_test(NAME ${label}.${class}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${script} ${class})
    set_tests_properties(${label}.${class} PROPERTIES
        LABELS ${label}
        TIMEOUT ${timeout}
        ENVIRONMENT "ZENTARIS_RUNTIME_DIR=${ZENTARIS_RUNTIME_DIR};ZENTARIS_VERSION=${PROJECT_VERSION}"
        ${ARGN})
endfunction()

# One test class of a Python suite that runs the real binary (see harness.py), as a CTest entry
# named after its first label, with its labels and time limit; further arguments are more test
# properties (COST starts the long ones first when entries run in parallel).
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(ZENTARIS_TEST_SUPPORT ${CMAKE_CURRENT_LIST_DIR})

function(zentaris_python_test labels script class timeout)
    list(GET labels 0 prefix)
    get_filename_component(module ${script} NAME_WE)
    add_test(NAME ${prefix}.${class}
        COMMAND ${Python3_EXECUTABLE} -B -m unittest -v ${module}.${class})
    set_tests_properties(${prefix}.${class} PROPERTIES
        LABELS "${labels}"
        TIMEOUT ${timeout}
        ENVIRONMENT "PYTHONPATH=${CMAKE_CURRENT_SOURCE_DIR}:${ZENTARIS_TEST_SUPPORT};\
ZENTARIS_RUNTIME_DIR=${ZENTARIS_RUNTIME_DIR};ZENTARIS_VERSION=${PROJECT_VERSION}"
        ${ARGN})
endfunction()

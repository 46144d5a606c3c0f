# woundwell_add_test(name [SOURCES ...] [LIBRARIES ...] [LABELS ...])
# Builds tests/<name>.cpp (plus any extra sources) against the layer libraries it names (the
# core alone when it names none) and registers it with CTest, running on the offscreen
# platform so it needs no display.
function(woundwell_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES;LABELS" ${ARGN})
    if(NOT ARG_LIBRARIES)
        set(ARG_LIBRARIES woundwell_core)
    endif()
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_ACCESSIBILITY=0"
        LABELS "unit;${ARG_LABELS}")
endfunction()

# Holds a source tree to the program's layers. Each folder of the tree is a layer and may
# include headers of the layers listed for it, and nothing above or beside it:
#   core           core                                Qt Core headers only
#   platform       core, forms, platform
#   accessibility  accessibility                       and Qt
#   keyboard       keyboard                            and Qt
#   forms          accessibility, keyboard, forms      and Qt
#   windows        core, accessibility, keyboard, forms, windows, and its Designer forms (ui_*.h)
#   app            everything
# A folder that is none of these is a fault too, so that a new layer cannot go unchecked.
# Usage: cmake -DQT_CORE_INCLUDE_DIR=<dir with Qt Core's headers> -P check-layers.cmake <tree>
# Prints each include that runs against the layers and fails when there is one.
cmake_minimum_required(VERSION 3.25)
math(EXPR last "${CMAKE_ARGC} - 1")
get_filename_component(tree "${CMAKE_ARGV${last}}" ABSOLUTE)
if(NOT IS_DIRECTORY "${tree}" OR NOT IS_DIRECTORY "${QT_CORE_INCLUDE_DIR}")
    message(FATAL_ERROR "check-layers: no tree '${tree}' or no Qt Core headers '${QT_CORE_INCLUDE_DIR}'")
endif()

set(may_use_core core)
set(may_use_platform core forms platform)
set(may_use_accessibility accessibility)
set(may_use_keyboard keyboard)
set(may_use_forms accessibility keyboard forms)
set(may_use_windows core accessibility keyboard forms windows)
set(may_use_app core platform accessibility keyboard forms windows app)
set(layers core platform accessibility keyboard forms windows app)

set(faults 0)
macro(fault source line why)
    message(NOTICE "${source}: ${line}: ${why}")
    math(EXPR faults "${faults} + 1")
endmacro()

file(GLOB folders LIST_DIRECTORIES true RELATIVE "${tree}" "${tree}/*")
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${tree}/${folder}" AND NOT folder IN_LIST layers)
        fault("${folder}" "" "a folder that is no layer")
    endif()
endforeach()

foreach(layer IN LISTS layers)
    file(GLOB_RECURSE sources RELATIVE "${tree}" "${tree}/${layer}/*.h" "${tree}/${layer}/*.cpp"
         "${tree}/${layer}/*.h.in")
    foreach(source IN LISTS sources)
        file(STRINGS "${tree}/${source}" includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS includes)
            string(STRIP "${line}" line)
            if(line MATCHES "\"ui_[A-Za-z]+\\.h\"")
                if(NOT layer STREQUAL windows AND NOT layer STREQUAL app)
                    fault("${source}" "${line}" "a window's form outside the windows")
                endif()
            elseif(line MATCHES "\"([A-Za-z]+)/[^\"]+\"")
                if(NOT CMAKE_MATCH_1 IN_LIST may_use_${layer})
                    fault("${source}" "${line}" "${layer} may not use ${CMAKE_MATCH_1}")
                endif()
            elseif(line MATCHES "\"")
                fault("${source}" "${line}" "a project header names its layer")
            elseif(layer STREQUAL core AND line MATCHES "<(Qt[A-Za-z]+)/")
                if(NOT CMAKE_MATCH_1 STREQUAL QtCore)
                    fault("${source}" "${line}" "the core uses Qt Core only")
                endif()
            elseif(layer STREQUAL core AND line MATCHES "<(Q[A-Za-z]+)>")
                if(NOT EXISTS "${QT_CORE_INCLUDE_DIR}/${CMAKE_MATCH_1}")
                    fault("${source}" "${line}" "the core uses Qt Core only")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

message(NOTICE "check-layers: ${faults} includes run against the layers")
if(faults GREATER 0)
    message(FATAL_ERROR "check-layers: see above")
endif()

# The layer check: reads every #include "..." line of src/ and apps/ under SOURCE_DIR and fails
# when a folder includes a header of a layer above its own, when the core and an adapter (or the
# two adapters) include each other, when a folder is in no layer, or when folders include each
# other in a circle. The layers are those of Layers.cmake beside this file.
# Run: cmake -DSOURCE_DIR=<checkout> -P cmake/CheckLayers.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckLayers: give -DSOURCE_DIR=<the checkout>")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

# Includes that still run against the layers, each "file>header"; the list only shrinks.
set(TL_LAYER_EXCEPTIONS
    # The process state gathers the state of the subsystems.
    "src/startup/installer.h>copy/copy_engine_state.h"
    "src/startup/installer.h>copy/copy_list.h"
    "src/startup/installer.h>copy/progress_display.h"
    "src/startup/installer.h>copy/rename_list.h"
    "src/startup/installer.h>destination/destination_state.h"
    "src/startup/installer.h>destination/font_select_state.h"
    "src/startup/installer.h>selection/catalogue.h"
    "src/startup/installer.h>selection/language.h"
    "src/startup/installer.h>sysfiles/ini_edit_state.h"
    # Reading the option flags runs the ECP detection.
    "src/startup/option_flags.cpp>sysfiles/ecp_ports.h"
    # The copy engine posts the finish step itself.
    "src/copy/copy_engine.cpp>sequencer/main_window.h")

set(problems "")
set(folders "")
set(excepted "")

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
     ${SOURCE_DIR}/apps/*.h ${SOURCE_DIR}/apps/*.cpp)
list(SORT files)
foreach(file ${files})
    get_filename_component(from ${file} DIRECTORY)
    tl_layer_of(${from} fromLayer fromAdapter)
    if(NOT fromLayer)
        list(APPEND problems "${from}: a folder in no layer (add it to cmake/Layers.cmake)")
        continue()
    endif()
    list(FIND TL_LAYERS ${fromLayer} fromRank)
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"")
    foreach(line ${includes})
        string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" header "${line}")
        if(EXISTS ${SOURCE_DIR}/${from}/${header} AND NOT header MATCHES "/")
            continue() # beside the file: an app's own header
        endif()
        if("${file}>${header}" IN_LIST TL_LAYER_EXCEPTIONS)
            list(APPEND excepted "${file}>${header}")
            continue()
        endif()
        get_filename_component(to "src/${header}" DIRECTORY)
        if(to STREQUAL from OR NOT EXISTS ${SOURCE_DIR}/src/${header})
            continue() # the folder's own header, or a generated one
        endif()
        tl_layer_of(${to} toLayer toAdapter)
        if(NOT toLayer)
            continue() # reported as a folder in no layer
        endif()
        list(FIND TL_LAYERS ${toLayer} toRank)
        set(core FALSE)
        if(fromRank GREATER 2 AND NOT fromLayer STREQUAL "apps")
            set(core TRUE)
        endif()
        if(toRank GREATER fromRank)
            list(APPEND problems "${file}: includes ${header}: ${fromLayer} may not include ${toLayer}")
        elseif(toLayer STREQUAL "adapters" AND core)
            list(APPEND problems "${file}: includes ${header}: the core may not include an adapter")
        elseif(toLayer STREQUAL "adapters" AND fromLayer STREQUAL "adapters"
               AND NOT toAdapter STREQUAL fromAdapter)
            list(APPEND problems "${file}: includes ${header}: one adapter may not include the other")
        endif()
        string(MAKE_C_IDENTIFIER "${from}" fromKey)
        list(APPEND edges_${fromKey} ${to})
        list(APPEND folders ${from} ${to})
    endforeach()
endforeach()

# Everything a folder reaches through the folders it includes.
function(tl_reach start outVar)
    set(seen "")
    set(queue ${start})
    while(queue)
        list(POP_FRONT queue item)
        if(item IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${item})
        string(MAKE_C_IDENTIFIER "${item}" key)
        list(APPEND queue ${edges_${key}})
    endwhile()
    set(${outVar} ${seen} PARENT_SCOPE)
endfunction()

# Circles: a folder that one of the folders it includes leads back to.
if(folders)
    list(REMOVE_DUPLICATES folders)
    list(SORT folders)
endif()
foreach(folder ${folders})
    string(MAKE_C_IDENTIFIER "${folder}" key)
    if(NOT DEFINED edges_${key})
        continue()
    endif()
    list(REMOVE_DUPLICATES edges_${key})
    set(back "")
    foreach(next ${edges_${key}})
        tl_reach(${next} reached)
        if(folder IN_LIST reached)
            list(APPEND back ${next})
        endif()
    endforeach()
    if(back)
        string(REPLACE ";" ", " back "${back}")
        list(APPEND problems "${folder}: in a circle of includes, through ${back}")
    endif()
endforeach()

if(problems)
    list(LENGTH problems count)
    string(REPLACE ";" "\n  " text "${problems}")
    message(FATAL_ERROR "CheckLayers: ${count} problem(s):\n  ${text}")
endif()
list(LENGTH folders count)
list(LENGTH excepted exceptions)
message(STATUS "CheckLayers: ${count} folders; every include runs downward, ${exceptions} listed exceptions")

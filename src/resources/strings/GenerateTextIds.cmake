# cmake -DINPUT=<UTF-8 string table> -DOUTPUT=<header> -P GenerateTextIds.cmake
#
# Writes `enum class TextId` from the name column of the string table source: a line
# `162 CautionCaption "..."` gives `CautionCaption = 162`. A name is a capital letter followed by
# letters and digits, and names one string only; anything else stops the build, naming the string.
foreach(var INPUT OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "GenerateTextIds.cmake: ${var} is not set")
    endif()
endforeach()

file(READ ${INPUT} source)
# Everything between a line's id and its opening quote; comment lines begin with "#".
string(REGEX MATCHALL "(^|\n)[0-9]+ [^\"\n]*\"" heads "${source}")

get_filename_component(input_name ${INPUT} NAME)
set(entries "")
set(seen_names "")
foreach(head ${heads})
    string(STRIP "${head}" head)
    string(REGEX MATCH "^([0-9]+) (.*)\"$" unused "${head}")
    set(id ${CMAKE_MATCH_1})
    set(name "${CMAKE_MATCH_2}")
    if(name STREQUAL "")
        continue()
    endif()
    if(NOT name MATCHES "^[A-Z][A-Za-z0-9]* $")
        message(FATAL_ERROR "${input_name}: string ${id}: \"${name}\" is no text name (a capital "
                            "letter, then letters and digits, then one blank before the text)")
    endif()
    string(STRIP "${name}" name)
    list(FIND seen_names ${name} at)
    if(NOT at EQUAL -1)
        list(GET seen_ids ${at} other)
        message(FATAL_ERROR "${input_name}: string ${id}: the name ${name} is already string ${other}")
    endif()
    list(APPEND seen_names ${name})
    list(APPEND seen_ids ${id})
    string(APPEND entries "    ${name} = ${id},\n")
endforeach()

set(text "// Generated from ${input_name} by GenerateTextIds.cmake: do not edit.\n")
string(APPEND text "// The names of the string table's texts; LoadText and its kin take them.\n")
string(APPEND text "#pragma once\n\nnamespace tl {\n\nenum class TextId : unsigned {\n")
string(APPEND text "${entries}};\n\n")
string(APPEND text "constexpr unsigned Id(TextId id) { return static_cast<unsigned>(id); }\n\n")
string(APPEND text "} // namespace tl\n")

# Only Ninja makes the folders of a custom command's outputs; the other generators leave it to
# the command. An unchanged header keeps its time, so nothing that includes it is rebuilt.
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)

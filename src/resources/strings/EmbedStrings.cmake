# cmake -DICONV=<iconv> -DINPUT=<UTF-8 string table> -DOUTPUT=<.inc> -P EmbedStrings.cmake
#
# Converts the string table source to code page 949 and writes its bytes as a C++ array that the
# string table parses at compile time. Fails, naming the line, when a text has no CP949 form.
foreach(var ICONV INPUT OUTPUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "EmbedStrings.cmake: ${var} is not set")
    endif()
endforeach()

# Only Ninja makes the folders of a custom command's outputs; the other generators leave it to
# the command.
get_filename_component(output_dir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_dir})
# The name column (GenerateTextIds.cmake makes the TextId enum of it) is not part of the table.
file(READ ${INPUT} source)
string(REGEX REPLACE "(^|\n)([0-9]+) [A-Za-z_][A-Za-z0-9_]* \"" "\\1\\2 \"" source "${source}")
set(unnamed ${OUTPUT}.utf8)
file(WRITE ${unnamed} "${source}")
set(converted ${OUTPUT}.cp949)
execute_process(
    COMMAND ${ICONV} -f UTF-8 -t CP949 ${unnamed}
    OUTPUT_FILE ${converted}
    ERROR_VARIABLE iconv_error
    RESULT_VARIABLE iconv_result)
if(NOT iconv_result EQUAL 0)
    file(REMOVE ${converted})
    # iconv names the byte offset of the first text it could not convert; turn it into a line.
    set(where "")
    if(iconv_error MATCHES "position ([0-9]+)")
        file(READ ${unnamed} head LIMIT ${CMAKE_MATCH_1} HEX)
        string(REGEX MATCHALL "[0-9a-f][0-9a-f]" newlines "${head}")
        list(FILTER newlines INCLUDE REGEX "^0a$")
        list(LENGTH newlines line)
        math(EXPR line "${line} + 1")
        set(where " (line ${line})")
    endif()
    message(FATAL_ERROR "${INPUT}${where}: a text cannot be written in code page 949: "
                        "${iconv_error}")
endif()

file(READ ${converted} hex HEX)
file(REMOVE ${converted} ${unnamed})
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line keeps the generated file readable (CMake's regular expressions have no {n}).
string(REPEAT "0x..," 16 sixteen)
string(REGEX REPLACE "(${sixteen})" "\\1\n" bytes "${bytes}")

get_filename_component(input_name ${INPUT} NAME)
set(text "// Generated from ${input_name} by EmbedStrings.cmake: do not edit.\n")
string(APPEND text "// The string table source converted to code page 949 (${byte_count} bytes).\n")
string(APPEND text "inline constexpr unsigned char kStringTableSource[] = {\n${bytes}\n};\n")

file(WRITE ${OUTPUT} "${text}")

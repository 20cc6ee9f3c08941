# Build steps for the resources of the core library.
#
# The string table is kept as UTF-8 text; the installer serves its texts as code-page-949 bytes.
# The conversion runs here, at build time, with the iconv command, so every build (host or cross)
# embeds the same bytes; a text without a CP949 form stops the build.
find_program(TL_ICONV iconv REQUIRED)

set(TL_STRINGS_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/resources/strings/korean.txt)
set(TL_STRINGS_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/resources/strings/EmbedStrings.cmake)
set(TL_STRINGS_OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/resources/string_table_source.inc)

add_custom_command(
    OUTPUT ${TL_STRINGS_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DICONV=${TL_ICONV} -DINPUT=${TL_STRINGS_SOURCE}
            -DOUTPUT=${TL_STRINGS_OUTPUT} -P ${TL_STRINGS_SCRIPT}
    DEPENDS ${TL_STRINGS_SOURCE} ${TL_STRINGS_SCRIPT}
    COMMENT "Converting the string table to code page 949"
    VERBATIM)
target_sources(tl_base PRIVATE ${TL_STRINGS_OUTPUT})

# The TextId enum from the string table's name column (resources/text_id.h in the build folder).
set(TL_TEXT_IDS_SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/resources/strings/GenerateTextIds.cmake)
set(TL_TEXT_IDS_OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/resources/text_id.h)
add_custom_command(
    OUTPUT ${TL_TEXT_IDS_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${TL_STRINGS_SOURCE} -DOUTPUT=${TL_TEXT_IDS_OUTPUT}
            -P ${TL_TEXT_IDS_SCRIPT}
    DEPENDS ${TL_STRINGS_SOURCE} ${TL_TEXT_IDS_SCRIPT}
    COMMENT "Naming the string table's texts"
    VERBATIM)
# Every layer above the base includes the header; building the base first makes it.
target_sources(tl_base PRIVATE ${TL_TEXT_IDS_OUTPUT})

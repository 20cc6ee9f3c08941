# The resource script of the Windows program (icon, bitmap 500, version record), compiled once
# with windres; apps/CMakeLists.txt links it into tlins32a.exe and the Windows tests read it back.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/resources/version.rc.h
     "#define TL_VERSION_MAJOR ${PROJECT_VERSION_MAJOR}\n"
     "#define TL_VERSION_MINOR ${PROJECT_VERSION_MINOR}\n"
     "#define TL_VERSION_TEXT \"${PROJECT_VERSION}\\0\"\n")
add_library(tl_win32_resources OBJECT ${CMAKE_CURRENT_SOURCE_DIR}/resources/tlins32a.rc)
target_include_directories(tl_win32_resources PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/resources)
set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/resources/tlins32a.rc PROPERTIES
    OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/resources/tlins32a.ico;${CMAKE_CURRENT_SOURCE_DIR}/resources/bitmap500.bmp")

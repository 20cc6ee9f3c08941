# What the Windows build adds to every target. The program runs from an install disk on a bare
# Windows 95, so the C and C++ runtimes are linked in: no DLL beside the .exe.
target_compile_definitions(tl_options INTERFACE NOMINMAX)
target_link_options(tl_options INTERFACE -static -static-libgcc -static-libstdc++)
# Small programs: unused functions and data are left out and, in optimised builds, the symbols
# stripped, so tlins32a.exe stays a size an install disk holds.
target_compile_options(tl_options INTERFACE -ffunction-sections -fdata-sections)
target_link_options(tl_options INTERFACE -Wl,--gc-sections $<$<NOT:$<CONFIG:Debug>>:-s>)

# A test that `target` needs no DLL of the MinGW runtime and, with SHIPPING, that it imports no
# call Windows 95 lacks and carries the program's resources (cmake/CheckWindowsProgram.cmake). It reads the file only, so it runs in
# the 32-bit build too, which Wine here cannot start.
set(TL_SHIPPING_MAX_BYTES 655360 CACHE STRING "The most bytes a shipping 32-bit program may have")
find_program(TL_OBJDUMP ${TL_MINGW_TRIPLE}-objdump REQUIRED)
find_program(TL_WRESTOOL wrestool)
function(tl_check_windows_program target)
    cmake_parse_arguments(PARSE_ARGV 1 check "SHIPPING" "" "")
    set(shipping "")
    if(check_SHIPPING)
        set(shipping -DWINDOWS95=ON)
        # The 32-bit build is the one on the install disk; its budget keeps the iostreams and
        # locale machinery (some 1.4 MB) from creeping back in.
        if(CMAKE_SIZEOF_VOID_P EQUAL 4)
            list(APPEND shipping -DMAX_BYTES=${TL_SHIPPING_MAX_BYTES})
        endif()
        if(TL_WRESTOOL)
            list(APPEND shipping -DWRESTOOL=${TL_WRESTOOL})
        endif()
    endif()
    add_test(NAME check_${target}
             COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DOBJDUMP=${TL_OBJDUMP}
                     ${shipping} -P ${PROJECT_SOURCE_DIR}/cmake/CheckWindowsProgram.cmake)
    set_tests_properties(check_${target} PROPERTIES LABELS "file")
endfunction()

# Built for size: every Windows program (tlins32a.exe and any other the project ships) comes from
# an install disk, so its optimised build is -Os.
target_compile_options(tl_options INTERFACE $<$<NOT:$<CONFIG:Debug>>:-Os>)

# What apps/CMakeLists.txt links into every Windows program besides the core.
add_library(tl_win32_program OBJECT ${CMAKE_CURRENT_LIST_DIR}/mingw/terminate_handler.cpp)
target_link_libraries(tl_win32_program PRIVATE tl_options)

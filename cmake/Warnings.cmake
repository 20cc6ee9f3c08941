# Compile options every target of the project shares.
add_library(tl_options INTERFACE)
target_compile_options(tl_options INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                            -Wno-sign-conversion)
if(TL_WERROR)
    target_compile_options(tl_options INTERFACE -Werror)
endif()
if(TL_SANITIZE)
    target_compile_options(tl_options INTERFACE -fsanitize=address,undefined
                                                -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(tl_options INTERFACE -fsanitize=address,undefined)
endif()
if(TL_FUZZ)
    target_compile_options(tl_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                -fno-sanitize-recover=all)
    target_link_options(tl_options INTERFACE -fsanitize=address,undefined)
endif()

# GCC 12 at -O2/-O3 reports out-of-bounds and overlapping copies inside libstdc++'s own
# std::string and std::vector code that cannot happen (GCC bugs 105329, 105651, 106199). They
# drown real warnings in optimised builds, so they are off there; unoptimised builds keep them.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(tl_options INTERFACE
        $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread>)
endif()

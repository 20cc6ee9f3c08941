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

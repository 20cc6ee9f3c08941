# What the Windows build adds to every target. The program runs from an install disk on a bare
# Windows 95, so the C and C++ runtimes and winpthread are linked in: no DLL beside the .exe.
target_compile_definitions(tl_options INTERFACE NOMINMAX)
target_link_options(tl_options INTERFACE -static -static-libgcc -static-libstdc++)

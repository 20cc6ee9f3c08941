# Checks a cross-built Windows program (run by ctest as a script):
#   cmake -DPROGRAM=<exe> -DOBJDUMP=<objdump> [-DWINDOWS95=ON] [-DWRESTOOL=<wrestool>]
#         [-DMAX_BYTES=<n>] -P CheckWindowsProgram.cmake
# - it imports no DLL of the MinGW runtime (libstdc++, libgcc, winpthread): the program is one
#   .exe that runs from the install disk with nothing beside it;
# - with WINDOWS95, it imports none of the calls below, which Windows 95 does not export (the
#   loader would refuse the program) and which parts of the MinGW runtime use;
# - with WRESTOOL, it carries the resources of tlins32a.rc: bitmap 500, the icon and the version
#   record;
# - with MAX_BYTES, it is no larger than that (the shipping program's share of install disk 1).
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
message(STATUS "${PROGRAM} imports: ${imports}")
foreach(import ${imports})
    if(import MATCHES "DLL Name: lib[^\n]*\\.dll")
        message(FATAL_ERROR "${PROGRAM} needs ${import} beside it: link the runtime statically")
    endif()
endforeach()

if(MAX_BYTES)
    file(SIZE ${PROGRAM} bytes)
    message(STATUS "${PROGRAM}: ${bytes} bytes (at most ${MAX_BYTES})")
    if(bytes GREATER MAX_BYTES)
        message(FATAL_ERROR "${PROGRAM} is ${bytes} bytes, more than its ${MAX_BYTES}: see "
                            "docs/shipping.md for what makes it grow")
    endif()
endif()

if(WINDOWS95)
    foreach(call GetTickCount64 AddVectoredExceptionHandler RemoveVectoredExceptionHandler
                 TryEnterCriticalSection IsDebuggerPresent CreateHardLinkA CreateHardLinkW
                 FindFirstVolumeW GetFileSizeEx SetFilePointerEx)
        if(dump MATCHES "[ \t]${call}
")
            message(FATAL_ERROR "${PROGRAM} imports ${call}, which Windows 95 lacks")
        endif()
    endforeach()
endif()

if(WRESTOOL)
    execute_process(COMMAND ${WRESTOOL} -l ${PROGRAM} OUTPUT_VARIABLE resources
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "${WRESTOOL} cannot read ${PROGRAM}")
    endif()
    foreach(wanted "--type=2 --name=500" "--type=14 --name=1" "--type=16 --name=1")
        string(FIND "${resources}" "${wanted} " at)
        if(at EQUAL -1)
            message(FATAL_ERROR "${PROGRAM} lacks the resource ${wanted}:\n${resources}")
        endif()
    endforeach()
endif()

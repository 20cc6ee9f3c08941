# What `cmake --install` puts in place and what CPack packs (apps/CMakeLists.txt installs the
# programs themselves).
#
# Host build: the programs into bin/; the README, docs/ and the sample install disk into the
# documentation folder; `cpack` makes a Debian package of them.
# Windows build: the programs, and the sample install disk as floppy images with the shipping
# program on disk 1, made by the host build's tldisk; `cpack` makes a zip of them.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME tlins32a)
set(CPACK_PACKAGE_VENDOR tlins32a)
set(CPACK_PACKAGE_CONTACT "tlins32a developers <tlins32a@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Printer-driver and font installer for Windows 95, and the tools for its install disks")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})

if(NOT WIN32)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/disk
            DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    # The programs link libmspack; tldisk writes its images with mtools.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libmspack0, libstdc++6, mtools")
elseif(TARGET tlins32a)
    # The host build's tldisk: TL_HOST_TLDISK when set, else the release or the default preset's.
    set(TL_HOST_TLDISK "" CACHE FILEPATH
        "The host build's tldisk, which writes the floppy images of the Windows package")
    set(candidates ${TL_HOST_TLDISK} ${PROJECT_SOURCE_DIR}/build/release/bin/tldisk
                   ${PROJECT_SOURCE_DIR}/build/default/bin/tldisk)
    install(CODE "
        set(tldisk \"\")
        foreach(candidate ${candidates})
            if(NOT tldisk AND EXISTS \"\${candidate}\")
                set(tldisk \"\${candidate}\")
            endif()
        endforeach()
        if(NOT tldisk)
            message(FATAL_ERROR \"No tldisk to write the floppy images with (looked for: \"
                                \"${candidates}): build the host tools first \"
                                \"(cmake --preset release && cmake --build --preset release) \"
                                \"or set TL_HOST_TLDISK\")
        endif()
        set(images \"\${CMAKE_INSTALL_PREFIX}/floppy\")
        execute_process(COMMAND \"\${tldisk}\" image \"${PROJECT_SOURCE_DIR}/examples/disk\"
                                \"\${images}\" --program \"$<TARGET_FILE:tlins32a>\"
                        RESULT_VARIABLE failed)
        if(failed)
            message(FATAL_ERROR \"\${tldisk} could not write the floppy images to \${images}\")
        endif()")
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win-${CMAKE_SYSTEM_PROCESSOR})
endif()

include(CPack)

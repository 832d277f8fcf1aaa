# Builds the Debian package of the build with cpack, checks what it holds and what it needs, and
# runs the packed application from an unpacked copy, where it must find its library and its
# translation relative to itself.
file(REMOVE_RECURSE "${WORK_DIR}")

execute_process(COMMAND "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${WORK_DIR}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB package "${WORK_DIR}/*.deb")
list(LENGTH package count)
if(NOT rc EQUAL 0 OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack made no single package:\n${output}")
endif()

execute_process(COMMAND dpkg-deb --contents "${package}" OUTPUT_VARIABLE contents ERROR_VARIABLE contents)
foreach(expected " ./usr/bin/fiscora\n" "/libFiscora.so.1.3.0\n" " ./usr/include/fiscora/sdcardreader.h\n"
                 " ./usr/include/fiscora/ktlcypher.h\n" "/cmake/Fiscora/FiscoraConfig.cmake\n"
                 " ./usr/share/fiscora/translations/fiscora_de.qm\n")
    string(FIND "${contents}" "${expected}" position)
    if(position EQUAL -1)
        message(FATAL_ERROR "the package lacks${expected}:\n${contents}")
    endif()
endforeach()
foreach(unexpected "fiscora-mkcard" "FiscoraSample" "FiscoraCli" "tst_")
    string(FIND "${contents}" "${unexpected}" position)
    if(NOT position EQUAL -1)
        message(FATAL_ERROR "the package holds ${unexpected}:\n${contents}")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb --field "${package}" Depends OUTPUT_VARIABLE depends)
if(NOT depends MATCHES "libqt5core5a")
    message(FATAL_ERROR "the package does not depend on Qt 5 Core: ${depends}")
endif()

execute_process(COMMAND dpkg-deb --extract "${package}" "${WORK_DIR}/root")
execute_process(COMMAND "${WORK_DIR}/root/usr/bin/fiscora" --lang de --help
                OUTPUT_VARIABLE help RESULT_VARIABLE rc)
string(FIND "${help}" "Diese Hilfe anzeigen." position)
if(NOT rc EQUAL 0 OR position EQUAL -1)
    message(FATAL_ERROR "the unpacked fiscora returned ${rc} and printed:\n${help}")
endif()
message(STATUS "${package} holds and runs what it should")

# Checks the dynamic symbol table of the library: the version function under its plain name,
# the five classes, and nothing of the block cipher.
find_program(NM nm REQUIRED)
execute_process(COMMAND ${NM} -D --defined-only "${LIBRARY}" OUTPUT_VARIABLE raw RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
execute_process(COMMAND ${NM} -D --defined-only -C "${LIBRARY}" OUTPUT_VARIABLE demangled)

if(NOT raw MATCHES " T getFiscoraLibVersion\n")
    message(FATAL_ERROR "getFiscoraLibVersion is not exported under its plain name:\n${raw}")
endif()
foreach(class CardListing HelperClass IndexFileAnalyser KTLCypher SDCardReader)
    if(NOT demangled MATCHES "fiscora::${class}::")
        message(FATAL_ERROR "fiscora::${class} is not exported")
    endif()
endforeach()
string(TOLOWER "${demangled}" lower)
foreach(cipherName aes decryptbuffer decryptblocks)
    if(lower MATCHES "${cipherName}")
        message(FATAL_ERROR "the block cipher leaks a symbol (${cipherName}):\n${demangled}")
    endif()
endforeach()

# Nothing else leaks out: templates of the standard library that the library instantiates would
# otherwise tie applications to this build's internals. The sanitizers add symbols of their own:
# Qt's type information for the checks of dynamic types, and AddressSanitizer's ODR markers.
string(REPLACE "\n" ";" lines "${demangled}")
foreach(line IN LISTS lines)
    if(line AND NOT line MATCHES " (fiscora::|getFiscoraLibVersion$|typeinfo (name )?for Q[A-Za-z]+$|__odr_asan\\.)")
        message(FATAL_ERROR "the library exports a symbol of its own internals: ${line}")
    endif()
endforeach()

# Warnings as errors on our own code; third-party headers come in as SYSTEM.
function(pyx_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                             -Wno-sign-conversion -Werror)
endfunction()

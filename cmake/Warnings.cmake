# Warnings on for our own targets; call orvena_warnings(<target>).
function(orvena_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                                             -Wno-missing-field-initializers)
endfunction()

# PYX_SANITIZE=ON builds everything with AddressSanitizer and UndefinedBehaviorSanitizer;
# any report aborts the test that triggered it.
option(PYX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(PYX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

if(PYX_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "PYX_FUZZ needs clang")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

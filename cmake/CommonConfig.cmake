# The compile options every target of the project shares.
add_library(quillory_options INTERFACE)
target_compile_features(quillory_options INTERFACE cxx_std_20)
target_compile_options(quillory_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Wunused -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
if(QUILLORY_WERROR)
    target_compile_options(quillory_options INTERFACE -Werror)
endif()

# Sanitized build for CI: every target, the bundled C code included, so a
# report anywhere fails the run instead of scrolling past.
option(QUILLORY_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUILLORY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Fuzzing: the whole build instrumented for libFuzzer and the sanitizers; the
# fuzz targets add libFuzzer's main.
option(QUILLORY_FUZZ "Build the fuzz targets (clang only)" OFF)
if(QUILLORY_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUILLORY_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

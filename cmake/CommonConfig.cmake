# The compile options every target of the project shares.
add_library(quillory_options INTERFACE)
target_compile_features(quillory_options INTERFACE cxx_std_20)
target_compile_options(quillory_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Wunused -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough)
if(QUILLORY_WERROR)
    target_compile_options(quillory_options INTERFACE -Werror)
endif()

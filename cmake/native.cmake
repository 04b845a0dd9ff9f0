# Settings of the native Linux build: the logic that needs no Windows, its unit tests, fuzzers and benchmarks.
add_compile_options(-Wall -Wextra)
option(MAILINDEX_SANITIZE "Build with AddressSanitizer and UBSan" OFF)
if(MAILINDEX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# Settings shared by every Windows binary of the project.
# The binaries link libgcc and libstdc++ statically, so that they import only system DLLs.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0600 WINVER=0x0600)
add_compile_options(-Wall -Wextra -fno-strict-aliasing)
add_link_options(-static -static-libgcc -static-libstdc++)

# A plug-in DLL: undecorated exports, no "lib" prefix.
function(mailindex_plugin target)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${target})
  target_link_options(${target} PRIVATE -Wl,--kill-at)
endfunction()

# Corvidex.dll: the plug-in shell, the index and purge jobs, the fiber progress dialog and the resources.
option(CORVIDEX_TICK_STATS "Count the jobs' yields and their wait for dialog ticks, shown in the summary box" OFF)

# Everything but the library's entry point, so that test programs can drive the dialog and the jobs themselves.
add_library(corvidex_plugin OBJECT
  ${CMAKE_CURRENT_LIST_DIR}/plugin_module.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plugin_menu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/corvidex.cpp
  ${CMAKE_CURRENT_LIST_DIR}/job_driver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/job_summary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/job_stats.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_walk.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/purge_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/progress_dlg.cpp)
target_include_directories(corvidex_plugin PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(corvidex_plugin PUBLIC corvidex_core common comctl32)
if(CORVIDEX_TICK_STATS)
  target_compile_definitions(corvidex_plugin PUBLIC CORVIDEX_TICK_STATS)
endif()

add_library(Corvidex SHARED ${CMAKE_CURRENT_LIST_DIR}/plugin_entry.cpp ${CMAKE_CURRENT_LIST_DIR}/Corvidex.rc)
target_link_libraries(Corvidex PRIVATE corvidex_plugin)
mailindex_plugin(Corvidex)

# The sample configuration lies beside the library, as the plug-in expects it.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Corvidex.conf ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Corvidex.conf COPYONLY)

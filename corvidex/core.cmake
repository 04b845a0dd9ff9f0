# corvidex_core: the logic of the search-index plug-in that every flavour builds (full-text binding, index database,
# message parser, document mapping, diagnostic log). Corvidex.dll links it on Windows; natively the unit tests,
# fuzzer and benchmark do.
add_library(corvidex_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/estraier_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/estraier_db.cpp
  ${CMAKE_CURRENT_LIST_DIR}/estraier_db_put_message.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mail_message.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_attribute_map.cpp
  ${CMAKE_CURRENT_LIST_DIR}/diagnostic_log.cpp
  ${CMAKE_CURRENT_LIST_DIR}/index_path.cpp)
target_include_directories(corvidex_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
if(WIN32)
  # The conversion between the client's code page and UTF-8, shared by the plug-in and corvidex-search.
  target_sources(corvidex_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp)
endif()
target_link_libraries(corvidex_core PUBLIC common)
if(NOT WIN32)
  set_target_properties(corvidex_core PROPERTIES POSITION_INDEPENDENT_CODE ON)
  target_link_libraries(corvidex_core PUBLIC dl)
endif()

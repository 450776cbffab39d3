target_sources(tarrow8_device PRIVATE ${CMAKE_CURRENT_LIST_DIR}/plist_value.cpp ${CMAKE_CURRENT_LIST_DIR}/plist_file.cpp)
set(PLIST_TEST_SOURCES ${CMAKE_CURRENT_LIST_DIR}/plist_file_test.cpp)

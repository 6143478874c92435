# The platform-free heart of the LAN service and the connections: device table, record readers, list
# rows, connection choices. Built in both builds (native: under the sanitizers and the fuzzer).
add_library(lk_lancore STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TextCut.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LanRecords.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CredentialCopy.cpp)
target_include_directories(lk_lancore PUBLIC ${CMAKE_CURRENT_LIST_DIR})
find_package(Threads REQUIRED)
target_link_libraries(lk_lancore PUBLIC Threads::Threads)

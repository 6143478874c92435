# Tests of the platform-free LAN service and connection logic (both builds).
lk_add_test(lancore_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceTableTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DeviceTableConcurrencyTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LanRecordsTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ConnectionTest.cpp
    LIBS lk_lancore
    TIMEOUT 60)

# Tests of the platform-free LAN service and connection logic and the program's paths (both builds).
lk_add_test(lancore_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/DeviceTableTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DeviceTableConcurrencyTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LanRecordsTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ConnectionTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ProgramPathTest.cpp
    LIBS lk_lancore
    TIMEOUT 60)

# Number files, result files and the error log of the number push (both builds).
lk_add_test(numberpush_core_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/NumberPushCoreTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ResultFilesTest.cpp
    LIBS lk_lancore
    TIMEOUT 60)

# Tests of the platform-free pieces of the focus-test settings, the pan-tilt sequence and the plug-in's
# text (both builds).
lk_add_test(settings_pantilt_core_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsCoreTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/PanTiltKeysTest.cpp
    LIBS lk_settingscore
    TIMEOUT 30)

# Received config packets: routing, device information and verdicts, wireless state (both builds).
lk_add_test(packetcore_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/PacketsCoreTest.cpp
    LIBS lk_packetcore
    TIMEOUT 30)

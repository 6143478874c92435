# The file operations of the result files, the error log and the configuration loader: Win32 in the
# Windows build, POSIX in the native one, behind one platform-free interface (FileOps.h).
if(WIN32)
    add_library(lk_fileops STATIC ${CMAKE_CURRENT_LIST_DIR}/FileOpsWin32.cpp)
else()
    add_library(lk_fileops STATIC ${CMAKE_CURRENT_LIST_DIR}/FileOpsPosix.cpp)
endif()
target_include_directories(lk_fileops PUBLIC ${CMAKE_CURRENT_LIST_DIR})

# The platform-free heart of the LAN service and the connections: device table, record readers, list
# rows, connection choices. Built in both builds (native: under the sanitizers and the fuzzer).
add_library(lk_lancore STATIC
    ${CMAKE_CURRENT_LIST_DIR}/TextCut.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LanRecords.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceTable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Connection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CredentialCopy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NumberFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ResultWriter.cpp)
target_include_directories(lk_lancore PUBLIC ${CMAKE_CURRENT_LIST_DIR})
find_package(Threads REQUIRED)
target_link_libraries(lk_lancore PUBLIC lk_paramtext lk_fileops Threads::Threads)

# The platform-free pieces of the focus-test settings, the configuration file and the pan-tilt keys.
add_library(lk_settingscore STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ConfigFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PanTiltKeys.cpp)
target_include_directories(lk_settingscore PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lk_settingscore PUBLIC lk_paramtext lk_fileops Threads::Threads)

# The received config packets: routing, device information and verdicts, wireless state and the scan
# list. Built in both builds (native: under the sanitizers and the fuzzer).
add_library(lk_packetcore STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ReceivedPacket.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceInfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WirelessState.cpp)
target_include_directories(lk_packetcore PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(lk_packetcore PUBLIC lk_paramtext)

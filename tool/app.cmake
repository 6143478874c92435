# LENSKIT.exe: the application, its main window and video windows (Windows build only).
# The program's sources form an object library, so that the tests link exactly the same code (and the
# process-wide objects in their order) with the real dialog templates.
foreach(dep lk_framework lk_framework_main lk_widgets_main QLCLIENT QLSDKP Tellurio)
    if(NOT TARGET ${dep})
        message(FATAL_ERROR "LENSKIT needs ${dep}, which this build does not define")
    endif()
endforeach()

add_library(lk_lenskit_obj OBJECT
    ${CMAKE_CURRENT_LIST_DIR}/LENSBENCH.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LENSBENCHDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DlgDraw.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DlgFullScreen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LanService.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NumberPush.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceListView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Connections.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Packets.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Status.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Wireless.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PanTilt.cpp)
target_include_directories(lk_lenskit_obj PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(lk_lenskit_obj PUBLIC
    lk_framework lk_widgets_main lk_layout lk_lancore lk_paramtext lk_settingscore lk_packetcore
    lk_netwatch
    QLCLIENT QLSDKP Tellurio
    comctl32 comdlg32 shell32 gdi32 user32 advapi32 ws2_32 iphlpapi)

add_executable(LENSKIT WIN32)
target_link_libraries(LENSKIT PRIVATE lk_lenskit_obj lk_lenskit_res lk_framework_main)

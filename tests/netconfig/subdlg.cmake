# GB28181, RTMP, DDNS and IP filter dialogs, each run from its real template in a test exe that links
# Netquill's objects and resources.
if(WIN32 AND TARGET lk_netquill_obj AND TARGET lk_netquill_res)
    lk_add_test(netquill_subdlg_test
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/GB28181DlgTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/RtmpDdnsDlgTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/IpFilterDlgTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/SubDlgDriver.cpp
        LIBS lk_netquill_obj lk_netquill_res QLCLIENT lk_test_modalscript
        TIMEOUT 30)
    target_include_directories(netquill_subdlg_test PRIVATE ${CMAKE_CURRENT_LIST_DIR})
endif()

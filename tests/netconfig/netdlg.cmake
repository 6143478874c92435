# Tests of Netquill's network dialog: the real dialog from template 1000, in a test program that links
# the plug-in's objects and resources, with the QLCLIENT stand-in recording what is sent.
if(WIN32 AND TARGET lk_netquill_obj)
    lk_add_test(netdlg_test
        SOURCES NetDlgPagesTest.cpp NetDlgApplyTest.cpp NetDlgCommandsTest.cpp NetDlgDriver.cpp
        LIBS lk_netquill_obj lk_netquill_res lk_test_modalscript TIMEOUT 40)
    target_include_directories(netdlg_test PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
endif()

# Tests of LENSKIT's application and main window (Windows build only), and lk_windowctl, the small
# helper that scripts/run uses to wait for the main window and close it.
add_executable(lk_windowctl ${CMAKE_CURRENT_LIST_DIR}/WindowCtl.cpp)

if(NOT TARGET lk_lenskit_obj)
    message(FATAL_ERROR "the main window's tests need lk_lenskit_obj, which this build does not define")
endif()

# The program's own objects and resources, with the harness that runs its main window modally.
lk_add_test(lenskit_mainwindow_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp ${CMAKE_CURRENT_LIST_DIR}/MainWindowHarness.cpp
    LIBS lk_lenskit_obj lk_lenskit_res lk_test_modalscript
    TIMEOUT 60)

# The LAN service, device list and connections of the real main window against the stand-ins.
lk_add_test(lenskit_lan_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LanServiceWindowTest.cpp ${CMAKE_CURRENT_LIST_DIR}/ConnectionsWindowTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MainWindowHarness.cpp
    LIBS lk_lenskit_obj lk_lenskit_res lk_test_modalscript
    TIMEOUT 60)

# The number push of the real main window: number files, answers, result files and the error log.
lk_add_test(lenskit_numberpush_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/NumberPushWindowTest.cpp ${CMAKE_CURRENT_LIST_DIR}/MainWindowHarness.cpp
    LIBS lk_lenskit_obj lk_lenskit_res lk_test_modalscript
    TIMEOUT 60)

# The real program as a process: these start LENSKIT.exe, whose mutex is one per Wine session, so they
# never run at the same time as each other.
lk_add_test(lenskit_program_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ProgramTest.cpp
    LIBS lk_lancore psapi
    TIMEOUT 90)
add_dependencies(lenskit_program_test LENSKIT)
set_tests_properties(Program.SecondCopyShowsOneMessageAndNoWindow
    Program.StartAndCloseWritesConfigDefaultsAndKeepsTheCallOrder
    Program.AnExistingConfigIsReadAndLeftAsItIs
    Program.NumberPushOnTheLineStaysInsideNumbers
    Program.AHeldResultFileDelaysNoAnswerAndLosesNoLine
    Program.ALongInstallPathServesNothingFromAnotherFolder
    PROPERTIES RESOURCE_LOCK lenskit_process)

# Focus-test settings, the configuration file and the pan-tilt plug-in of the real main window.
lk_add_test(lenskit_settings_pantilt_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsWindowTest.cpp ${CMAKE_CURRENT_LIST_DIR}/PanTiltWindowTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MainWindowHarness.cpp
    LIBS lk_lenskit_obj lk_lenskit_res lk_test_modalscript
    TIMEOUT 60)
add_dependencies(lenskit_settings_pantilt_test Swivelpane)
# The pan-tilt plug-in without CmdProc, in a folder of its own under the same file name.
add_library(SwivelpaneNoCmdProc SHARED ${PROJECT_SOURCE_DIR}/standins/src/Swivelpane.cpp
            ${CMAKE_CURRENT_LIST_DIR}/PanTiltPluginNoCmdProc.def ${PROJECT_SOURCE_DIR}/standins/src/Swivelpane.rc)
target_include_directories(SwivelpaneNoCmdProc PRIVATE ${PROJECT_SOURCE_DIR}/standins/include
                           ${PROJECT_SOURCE_DIR}/standins/src)
target_link_libraries(SwivelpaneNoCmdProc PRIVATE QLCLIENT)
set_target_properties(SwivelpaneNoCmdProc PROPERTIES PREFIX "" OUTPUT_NAME Swivelpane
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/nocmdproc
                      ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/nocmdproc)
add_dependencies(lenskit_settings_pantilt_test SwivelpaneNoCmdProc)

# Received config packets, verdicts, wireless state and the wireless search of the real main window.
lk_add_test(lenskit_packets_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/PacketsWindowTest.cpp ${CMAKE_CURRENT_LIST_DIR}/WirelessWindowTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MainWindowHarness.cpp
    LIBS lk_lenskit_obj lk_lenskit_res lk_test_modalscript
    TIMEOUT 60)

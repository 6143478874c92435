# Control anchoring and LENSKIT's resources. The anchoring arithmetic builds in both builds; the window
# side and the resources only for Windows.
add_library(lk_layout STATIC ${CMAKE_CURRENT_SOURCE_DIR}/LayoutCore.cpp)
target_include_directories(lk_layout PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/resources)
if(WIN32)
    target_sources(lk_layout PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/LayoutAnchor.cpp)
    # An object library, so that linking it puts the resources into the executable (a static library's
    # resources would be dropped at link).
    add_library(lk_lenskit_res OBJECT ${PROJECT_SOURCE_DIR}/resources/LENSKIT.rc)
    target_include_directories(lk_lenskit_res PUBLIC ${PROJECT_SOURCE_DIR}/resources)
endif()

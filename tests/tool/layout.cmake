# Control anchoring and LENSKIT's resources.
lk_add_test(LayoutCoreTest SOURCES LayoutCoreTest.cpp LIBS lk_layout TIMEOUT 30)
if(WIN32)
    lk_add_test(LayoutAnchorTest SOURCES LayoutAnchorTest.cpp LIBS lk_layout lk_lenskit_res comctl32 TIMEOUT 30)
    lk_add_test(ResourceTest SOURCES ResourceTest.cpp LIBS lk_lenskit_res comctl32 TIMEOUT 30)
endif()

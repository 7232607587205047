# The main window's tests: Qt widgets driven under the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
file(GLOB ct_gui_test_src CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(test_gui ${ct_gui_test_src})
target_include_directories(test_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(test_gui PRIVATE ct_gui ct_testsupport Qt6::Test GTest::gtest)
# The summary's report is compared with the console's for the same run.
add_dependencies(test_gui conversor-tolv-cli)
gtest_discover_tests(test_gui
  DISCOVERY_TIMEOUT 60
  PROPERTIES TIMEOUT 600 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

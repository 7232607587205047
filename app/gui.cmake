# The main window over Qt 6 Widgets.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(ct_gui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtServices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/images/Pictures.cpp)
target_link_libraries(ct_gui PUBLIC ct_run Qt6::Widgets)

add_executable(conversor-tolv ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(conversor-tolv PRIVATE ct_gui)
set_target_properties(conversor-tolv PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CT_BIN_DIR})

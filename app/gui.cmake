# The main window over Qt 6 Widgets.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(ct_gui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ConfirmaConversao.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Conexao.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Controles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExameJanela.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainComandos.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MainConversao.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtServices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Resumo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/images/Pictures.cpp)
target_link_libraries(ct_gui PUBLIC ct_appcomum Qt6::Widgets)

add_executable(conversor-tolv ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(conversor-tolv PRIVATE ct_gui)
set_target_properties(conversor-tolv PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CT_BIN_DIR})

# What the window's progress display costs a run (bench/gui/).
add_executable(bench_progress ${PROJECT_SOURCE_DIR}/bench/gui/bench_progress.cpp)
target_link_libraries(bench_progress PRIVATE ct_gui ct_testsupport)
set_target_properties(bench_progress PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

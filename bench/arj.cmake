# The ARJ engine's command-line driver for bench/arj.sh; include() from the top-level list.
add_executable(arj_driver ${CMAKE_CURRENT_LIST_DIR}/arj_driver.cpp)
target_link_libraries(arj_driver PRIVATE pyxidane_core)
pyx_warnings(arj_driver)

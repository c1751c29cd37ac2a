# The sheet-materials and panel-presets windows.
add_library(vorn_settings_windows STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SettingsWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SheetsWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PanelPresetsWindow.cpp
)
target_include_directories(vorn_settings_windows PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# Unit captions and the 25.4 factor come from the workflow's unit helpers.
target_link_libraries(vorn_settings_windows PUBLIC vorn_store vorn_workflow Qt6::Widgets)

# Subcommands panel, send and numeric: the serial link and its Qt port.
if(WIN32)
    target_link_libraries(zortool PUBLIC zorcomm_link zorcomm_win32)
else()
    target_link_libraries(zortool PUBLIC zorcomm_link zorcomm_serial Qt6::Core)
endif()

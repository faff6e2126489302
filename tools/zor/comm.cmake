# Subcommands panel, send and numeric: the serial link and its Qt port.
target_link_libraries(zortool PUBLIC zorcomm_link zorcomm_serial Qt6::Core)

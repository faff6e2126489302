# Subcommand gateway: the gateway's side of panels at other sites, on libmosquitto.
if(NOT WIN32)
    target_link_libraries(zortool PUBLIC zorcomm_gateway)
endif()

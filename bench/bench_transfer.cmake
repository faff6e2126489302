# A program transfer over a pseudo-terminal against the built `zor panel`.
target_link_libraries(bench_transfer PRIVATE zorcomm_serial Qt6::Core)
target_compile_definitions(bench_transfer PRIVATE ZOR_TOOL_PATH="$<TARGET_FILE:zor>")
add_dependencies(bench_transfer zor)

target_link_libraries(bench_editor PRIVATE zorapp)
target_compile_definitions(bench_editor PRIVATE
    ZOR_SYMBOL_FONT_DIR="${PROJECT_SOURCE_DIR}/resources/fonts")

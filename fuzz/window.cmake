# Readers of the platform layer's own input files: the settings file and the registry export
# (one harness), cursor files, and headless input scripts.
qel_add_fuzzer(settings_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsFuzz.cpp LIBS qel_platform_sys
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/settings)
qel_add_fuzzer(cursor_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/CursorFuzz.cpp LIBS qel_platform_window
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/cursor)
qel_add_fuzzer(script_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/ScriptFuzz.cpp LIBS qel_platform_window
               CORPUS ${CMAKE_CURRENT_LIST_DIR}/corpus/script)

# The editor program's console-file loader.
if(TARGET qora_editor_core)
  qora_add_fuzzer(fuzz_console_file fuzz_console_file.cpp)
  target_link_libraries(fuzz_console_file PRIVATE qora_editor_core)
endif()

# The host program's shell line parser.
if(TARGET plaxbridge_core)
  qora_add_fuzzer(fuzz_shell_parser fuzz_shell_parser.cpp)
  target_link_libraries(fuzz_shell_parser PRIVATE plaxbridge_core)
endif()

# The core's tests, one list for the two programs that run them: gls_core_tests, built natively
# under the sanitizers by tools/host, and gls_unit_tests, built for Windows and run under Wine.
set(GLS_CORE_TEST_SOURCES
  args_rules_test.cpp
  close_refusal_test.cpp
  drawing_maths_test.cpp
  focus_order_test.cpp
  in_use_message_test.cpp
  link_rule_test.cpp
  live_layout_test.cpp
  log_prefix_test.cpp
  path_rules_test.cpp
  payload_format_test.cpp
  payload_reader_test.cpp
  screen_flow_test.cpp
  screen_texts_test.cpp
  window_fit_test.cpp
  ../support/payload_samples.cpp
  ../../tools/payload_writer.cpp)
list(TRANSFORM GLS_CORE_TEST_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

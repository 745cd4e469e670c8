# The sources of kt_emulator_core, for the library and for the fuzz target
# that compiles them with its own instrumentation.
set(KT_EMULATOR_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/conditions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control_socket.cpp
  ${CMAKE_CURRENT_LIST_DIR}/emulator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/event_loop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/faults.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fd_io.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fleet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/glyphs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/model_profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paper_roll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/parameters.cpp
  ${CMAKE_CURRENT_LIST_DIR}/png_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printer_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pty_link.cpp
  ${CMAKE_CURRENT_LIST_DIR}/self_test_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/state_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream_session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tcp_listener.cpp
  ${CMAKE_CURRENT_LIST_DIR}/transcript.cpp)

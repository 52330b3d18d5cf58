# Helpers shared by the subsystem folders and the tests.

# quenda_library(<name> [DEPENDS <libs>...] [SYSTEM <system libs>...])
# One static library from every .cpp in the calling folder.
function(quenda_library name)
  cmake_parse_arguments(Q "" "" "DEPENDS;SYSTEM" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/WinMain\\.cpp$")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${Q_DEPENDS} ${Q_SYSTEM})
endfunction()

# quenda_test(<name> SOURCES <files>... LIBS <libs>... [LOCK <resource>] [RESOURCES <rc files>]
#             [NO_GTEST_MAIN])
# A GoogleTest executable run under Wine by ctest. LOCK serialises tests that share
# state (the simulated card, the sound server, registry keys).
function(quenda_test name)
  cmake_parse_arguments(Q "NO_GTEST_MAIN" "" "SOURCES;LIBS;LOCK;RESOURCES" ${ARGN})
  add_executable(${name} ${Q_SOURCES} ${Q_RESOURCES})
  if(Q_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE ${Q_LIBS} testsupport gtest)
  else()
    target_link_libraries(${name} PRIVATE ${Q_LIBS} testsupport gtest gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  # Every shortcut past the message dispatch is checked while the tests run (FastPath.h).
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 ENVIRONMENT "QUENDA_CHECK_FAST_PATHS=1")
  if(Q_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${Q_LOCK}")
  endif()
endfunction()

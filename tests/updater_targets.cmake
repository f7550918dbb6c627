# Test-only, never for the release: a key pair (its private half stays in the build tree) that
# tarnel_testkey trusts instead of the release key, a version file x-release-sign signed with it,
# and two certificates for 127.0.0.1: untrusted.pem is never trusted; trusted.pem is shown to Wine
# as trusted by tests/e2e/trusted_https_run.sh (Wine then keeps trusting it in the prefix).
find_program(VARNIC_OPENSSL openssl)
if(NOT VARNIC_OPENSSL)
  message(STATUS "No openssl: the signed-update tests are not built")
  return()
endif()
set(dir ${CMAKE_CURRENT_BINARY_DIR}/test-release-key)
file(MAKE_DIRECTORY ${dir}/updater ${dir}/dist)
file(WRITE ${dir}/dist/kelvo.exe "a stand-in for kelvo.exe\n")
set(sign ${CMAKE_SOURCE_DIR}/tools/x-release-sign)
add_custom_command(
  OUTPUT ${dir}/test-release-key.pem ${dir}/updater/release_key.h ${dir}/signed/vr.ini ${dir}/untrusted.pem
  COMMAND ${VARNIC_OPENSSL} genrsa -out ${dir}/test-release-key.pem 2048
  COMMAND ${sign} --key-header ${dir}/test-release-key.pem --out ${dir}/updater/release_key.h
  COMMAND ${sign} ${dir}/test-release-key.pem ${dir}/dist --version 2.0 --out ${dir}/signed --any-key
  COMMAND ${VARNIC_OPENSSL} req -x509 -newkey rsa:2048 -nodes -days 3650 -subj /CN=127.0.0.1 -addext
          subjectAltName=DNS:127.0.0.1,IP:127.0.0.1 -keyout ${dir}/untrusted-key.pem -out ${dir}/untrusted.pem
  COMMAND ${VARNIC_OPENSSL} req -x509 -newkey rsa:2048 -nodes -days 3650 -subj /CN=127.0.0.1 -addext
          subjectAltName=DNS:127.0.0.1,IP:127.0.0.1 -keyout ${dir}/trusted-key.pem -out ${dir}/trusted.pem
  DEPENDS ${sign} VERBATIM)
add_custom_target(updater_test_key DEPENDS ${dir}/updater/release_key.h ${dir}/untrusted.pem)

file(GLOB tarnel_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/apps/tarnel/*.cpp ${CMAKE_SOURCE_DIR}/apps/tarnel/*.rc)
add_executable(tarnel_testkey WIN32 ${tarnel_sources} ${CMAKE_SOURCE_DIR}/apps/common/xp_tick_count.cpp)
target_include_directories(tarnel_testkey BEFORE PRIVATE ${dir} ${CMAKE_SOURCE_DIR}/apps/tarnel)
target_link_libraries(tarnel_testkey PRIVATE varnic_win32)
target_link_options(tarnel_testkey PRIVATE $<$<BOOL:${MINGW}>:-municode>)
add_dependencies(tarnel_testkey updater_test_key)

if(TARGET updater_ports_test)  # Wine's drive Z: is the root of the Unix file system
  target_compile_definitions(updater_ports_test PRIVATE VARNIC_TEST_SIGNED_DIR="Z:${dir}/signed")
  target_include_directories(updater_ports_test BEFORE PRIVATE ${dir})
  add_dependencies(updater_ports_test updater_test_key)
endif()

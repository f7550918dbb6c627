# Test-only: a key pair that tarnel_testkey trusts instead of the release key, and certificates for
# 127.0.0.1 (trusted.pem only ever trusted by test_tarnel.py).
find_program(VARNIC_OPENSSL openssl)
if(NOT VARNIC_OPENSSL)
  message(STATUS "No openssl: the signed-update tests are not built")
  return()
endif()
set(dir ${CMAKE_CURRENT_BINARY_DIR}/test-release-key)
file(MAKE_DIRECTORY ${dir}/updater)
set(sign ${CMAKE_SOURCE_DIR}/tools/x-release-sign)
add_custom_command(
  OUTPUT ${dir}/test-release-key.pem ${dir}/updater/release_key.h ${dir}/untrusted.pem
  COMMAND ${VARNIC_OPENSSL} genrsa -out ${dir}/test-release-key.pem 2048
  COMMAND ${sign} --key-header ${dir}/test-release-key.pem --out ${dir}/updater/release_key.h
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

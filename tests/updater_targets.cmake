# Test-only builds of the updater. A key pair is made for this build tree (never the release
# key; the private half stays in the build tree): tarnel_testkey is tarnel built to trust it
# instead of the release key, and signature_verifier_test checks openssl's signatures made
# with it. The shipped tarnel.exe always trusts src/updater/release_key.h only.
find_program(VARNIC_OPENSSL openssl)
if(NOT VARNIC_OPENSSL)
  message(STATUS "No openssl: the signed-update tests are not built")
  return()
endif()

set(test_key_dir ${CMAKE_CURRENT_BINARY_DIR}/test-release-key)
set(test_key ${test_key_dir}/test-release-key.pem)
set(release_sign ${CMAKE_SOURCE_DIR}/tools/x-release-sign)
file(MAKE_DIRECTORY ${test_key_dir}/updater ${test_key_dir}/dist)
file(WRITE ${test_key_dir}/dist/kelvo.exe "a stand-in for kelvo.exe\n")
add_custom_command(
  OUTPUT ${test_key} ${test_key_dir}/updater/release_key.h ${test_key_dir}/signed/vr.ini
  COMMAND ${VARNIC_OPENSSL} genrsa -out ${test_key} 2048
  COMMAND ${release_sign} --key-header ${test_key} --out ${test_key_dir}/updater/release_key.h
  COMMAND ${release_sign} ${test_key} ${test_key_dir}/dist --version 2.0 --out ${test_key_dir}/signed --any-key
  DEPENDS ${release_sign}
  COMMENT "Making the updater's test key pair"
  VERBATIM)
add_custom_target(updater_test_key DEPENDS ${test_key} ${test_key_dir}/updater/release_key.h ${test_key_dir}/signed/vr.ini)

# tarnel.exe trusting the test key: the same sources, the test key's header first.
file(GLOB tarnel_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/apps/tarnel/*.cpp ${CMAKE_SOURCE_DIR}/apps/tarnel/*.rc)
add_executable(tarnel_testkey WIN32 ${tarnel_sources})
target_include_directories(tarnel_testkey BEFORE PRIVATE ${test_key_dir})
target_include_directories(tarnel_testkey PRIVATE ${CMAKE_SOURCE_DIR}/apps/tarnel)
target_link_libraries(tarnel_testkey PRIVATE varnic_win32)
if(MINGW)
  target_link_options(tarnel_testkey PRIVATE -municode)
endif()
add_dependencies(tarnel_testkey updater_test_key)

if(TARGET signature_verifier_test)
  target_include_directories(signature_verifier_test BEFORE PRIVATE ${test_key_dir})
  # Wine's drive Z: is the root of the Unix file system.
  target_compile_definitions(signature_verifier_test PRIVATE VARNIC_TEST_SIGNED_DIR="Z:${test_key_dir}/signed")
  add_dependencies(signature_verifier_test updater_test_key)
endif()

# The https tests once more with a certificate that Wine trusts (see wininet_https_run.sh).
if(TARGET wininet_https_test)
  add_test(NAME win32.wininet_https_test.trusted
    COMMAND ${CMAKE_SOURCE_DIR}/tests/win32/wininet_https_run.sh $<TARGET_FILE:wininet_https_test>)
  set_tests_properties(win32.wininet_https_test.trusted PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wine
    TIMEOUT 300 SKIP_RETURN_CODE 77 ENVIRONMENT "${wine_env};VARNIC_SOURCE=${CMAKE_SOURCE_DIR}")
endif()

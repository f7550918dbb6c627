# The version of Varnic, derived from the project version and VARNIC_STAGE of the top-level
# CMakeLists.txt, the one place where it is written:
#   VARNIC_VERSION          "1.9"         the number tarnel compares: Ver= of the shipped vr.ini
#   VARNIC_VERSION_TEXT     "1.9 BETA5"   what people read: version resource, installer
#   VARNIC_VERSION_NUMBERS  1,9,0,5       the version resource's four numbers (the fourth is
#                                         the stage's number, 0 for a final release)
# It writes <build>/generated/varnic_version.h (on every target's include path) and the
# installation folder's version record <build>/apps/vr.ini, as tarnel writes it: section Ver,
# CR LF line ends. tools/x-package reads the same two lines for the package names.
set(VARNIC_VERSION "${PROJECT_VERSION}")
if(NOT VARNIC_VERSION MATCHES "^[0-9]+\\.([0-9]|[0-9]*[1-9])$")
  # tarnel reads a version as one decimal number: 1.9.1 would read as 1.9, and 1.10 as 1.1,
  # older than 1.9; neither would ever be offered as an update over 1.9.
  message(FATAL_ERROR "project version ${VARNIC_VERSION}: give it as one decimal number, such as 1.9, 1.91 or 2.0")
endif()
if(VARNIC_STAGE STREQUAL "")
  set(VARNIC_VERSION_TEXT "${VARNIC_VERSION}")
  set(stage_number 0)
  set(VARNIC_PRERELEASE 0)
elseif(VARNIC_STAGE MATCHES "^[A-Z]+([0-9]+)$")
  set(VARNIC_VERSION_TEXT "${VARNIC_VERSION} ${VARNIC_STAGE}")
  set(stage_number "${CMAKE_MATCH_1}")
  set(VARNIC_PRERELEASE 1)
else()
  message(FATAL_ERROR "VARNIC_STAGE ${VARNIC_STAGE}: capital letters and a number (BETA5), or empty")
endif()
set(VARNIC_VERSION_NUMBERS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,${stage_number}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/../apps/common/varnic_version.h.in
               ${CMAKE_BINARY_DIR}/generated/varnic_version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/../apps/common/vr.ini.in ${CMAKE_BINARY_DIR}/apps/vr.ini
               @ONLY NEWLINE_STYLE CRLF)

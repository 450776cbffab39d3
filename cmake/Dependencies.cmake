# Locates the libraries the device and the system build on.

find_package(PkgConfig REQUIRED)
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)
find_package(ICU REQUIRED COMPONENTS uc i18n)
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)
find_package(CLI11 CONFIG QUIET)
if(NOT CLI11_FOUND)
  find_path(CLI11_INCLUDE_DIR CLI/CLI.hpp REQUIRED)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 INTERFACE ${CLI11_INCLUDE_DIR})
endif()

# The GNU Objective-C runtime ships inside GCC's own folders; ask GCC where.
execute_process(COMMAND gcc -print-file-name=include OUTPUT_VARIABLE GCC_INCLUDE_DIR
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND gcc -print-file-name=libobjc.so OUTPUT_VARIABLE GCC_LIBOBJC
                OUTPUT_STRIP_TRAILING_WHITESPACE)
find_path(OBJC_INCLUDE_DIR objc/runtime.h HINTS ${GCC_INCLUDE_DIR} REQUIRED NO_DEFAULT_PATH)
if(EXISTS "${GCC_LIBOBJC}")
  set(OBJC_LIBRARY "${GCC_LIBOBJC}")
else()
  find_library(OBJC_LIBRARY NAMES libobjc.so.4 objc REQUIRED)
endif()
# GCC's include folder also holds its own stddef.h and intrinsics; expose only objc/ so they
# never shadow the compiler's own headers.
set(OBJC_HEADER_ROOT ${CMAKE_BINARY_DIR}/objc-headers)
file(MAKE_DIRECTORY ${OBJC_HEADER_ROOT})
file(CREATE_LINK ${OBJC_INCLUDE_DIR}/objc ${OBJC_HEADER_ROOT}/objc SYMBOLIC)
add_library(GNU::objc SHARED IMPORTED)
set_target_properties(GNU::objc PROPERTIES IMPORTED_LOCATION "${OBJC_LIBRARY}")
target_include_directories(GNU::objc SYSTEM INTERFACE "${OBJC_HEADER_ROOT}")

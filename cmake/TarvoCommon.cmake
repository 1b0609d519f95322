# Shared compiler settings and helpers for every layer.

if(WIN32)
  # Static runtime: the .exe and .dll run under Wine or on Windows with no
  # mingw DLLs beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(TARVO_FUZZ)
  # Every library carries the fuzzer's coverage counters and the sanitizers;
  # only the harnesses link libFuzzer's main (fuzz/CMakeLists.txt).
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TARVO_FUZZ needs clang (use the fuzz preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TARVO_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# GoogleTest: the installed package natively; built from Debian's sources for
# mingw (the source package installs into /usr/src/googletest).
if(BUILD_TESTING OR NOT DEFINED BUILD_TESTING)
  if(WIN32)
    if(NOT TARGET gtest AND EXISTS /usr/src/googletest/CMakeLists.txt)
      set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
      set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
      # Newer googletest sources define the GTest:: aliases themselves.
      if(NOT TARGET GTest::gtest)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
        add_library(GTest::gmock ALIAS gmock)
      endif()
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
endif()

# tarvo_add_test(NAME name SOURCES a.cpp ... LIBS lib ...)
# One ctest entry per test program; on mingw the emulator (wine) runs it.
function(tarvo_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

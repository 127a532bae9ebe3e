# One static library per source folder. A folder's plain C++ core is `vx_<folder>`
# and links no Qt; where a folder also holds Qt code, it lives in the `qt/`
# subfolder and forms `vx_<folder>_qt`. Folders that are Qt through and through
# (controls, shell, tools) link Qt in their one library.

# Aggregates with default member values are initialised partly on purpose.
set(VX_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter -Wno-missing-field-initializers)

# vx_library(<target> GLOB <pattern>... [DEPS <target>...])
function(vx_library target)
  cmake_parse_arguments(A "" "" "GLOB;DEPS" ${ARGN})
  set(srcs)
  foreach(pattern IN LISTS A_GLOB)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${pattern})
    list(APPEND srcs ${found})
  endforeach()
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_compile_options(${target} PRIVATE ${VX_WARNINGS})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${A_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${A_DEPS})
  endif()
endfunction()

# vx_test(<folder> DEPS <target>...): tests/<folder>/**.cpp form test_<folder>.
function(vx_test folder)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(test_${folder} ${srcs})
  target_compile_options(test_${folder} PRIVATE ${VX_WARNINGS})
  target_link_libraries(test_${folder} PRIVATE vx_testsupport ${A_DEPS} GTest::gtest GTest::gmock)
  add_test(NAME ${folder} COMMAND test_${folder})
  set_tests_properties(${folder} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp;UBSAN_OPTIONS=print_stacktrace=1"
    TIMEOUT 900)
endfunction()

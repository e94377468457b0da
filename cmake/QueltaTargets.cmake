# Warnings are errors on our own code.
function(quelta_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# One static library per subsystem, made of every non-window source of its folder.
# Window sources (frm*, fra*) and the program entry go to the UI targets.
function(quelta_subsystem_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
  list(FILTER sources EXCLUDE REGEX "/(frm|fra)[^/]*$")
  list(FILTER sources EXCLUDE REGEX "/QUELTA_Prod\\.cpp$")
  list(FILTER sources INCLUDE REGEX "\\.cpp$|\\.h$")
  set(cpp ${sources})
  list(FILTER cpp INCLUDE REGEX "\\.cpp$")
  if(cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    quelta_warnings(${name})
  else()
    # A subsystem with no source yet.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
  endif()
endfunction()

# A test executable per subsystem, run twice by CTest: under a French locale
# (decimal comma) and under an English one.
function(quelta_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quelta_test_support ${ARG_LIBS} GTest::gtest GTest::gmock)
  quelta_warnings(${name})
  foreach(locale fr_FR en_US)
    add_test(NAME ${name}_${locale} COMMAND ${name})
    set_tests_properties(${name}_${locale} PROPERTIES
      ENVIRONMENT "QUELTA_TEST_LOCALE=${locale};QT_QPA_PLATFORM=offscreen"
      TIMEOUT 600)
  endforeach()
endfunction()

# Links a subsystem library, whether it has sources yet or not.
function(quelta_link name)
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

include(GoogleTest)

set(KEL_ACCESS_DATA_DIR "${PROJECT_SOURCE_DIR}/../shared/data/access" CACHE PATH
    "Folder of the shared Access test databases")

# kel_library(name [DEPS target...])
# One static library from the .cpp files of the calling folder (main.cpp excluded).
function(kel_library name)
  cmake_parse_arguments(K "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources} ${headers})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${K_DEPS})
endfunction()

# kel_program(name [DEPS target...])
# An executable from main.cpp of the calling folder.
function(kel_program name)
  cmake_parse_arguments(K "" "" "DEPS" ${ARGN})
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
  target_link_libraries(${name} PRIVATE ${K_DEPS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
endfunction()

# kel_test(name [LABEL label] [FIXTURES fixture] [DEPS target...])
# One GoogleTest executable from the .cpp files of the calling folder. Every test runs with
# its own XDG folders so that no test touches the user's settings. ctest runs the setup of
# the fixture, if one is named, before any of them.
function(kel_test name)
  cmake_parse_arguments(K "" "LABEL;FIXTURES" "DEPS" ${ARGN})
  if(NOT K_LABEL)
    set(K_LABEL lib)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${K_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  # The code under test keeps the build's optimisation; the tests' own code, mostly expanded
  # assertions, builds in half the time without it.
  target_compile_options(${name} PRIVATE -O0)
  target_compile_definitions(${name} PRIVATE
    KEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KEL_ACCESS_DATA_DIR="${KEL_ACCESS_DATA_DIR}"
    KEL_BIN_DIR="${PROJECT_BINARY_DIR}/bin")
  set(home ${CMAKE_CURRENT_BINARY_DIR}/home)
  set(fixture)
  if(K_FIXTURES)
    set(fixture FIXTURES_REQUIRED ${K_FIXTURES})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${K_LABEL} ${fixture})
  # Discovery passes its properties on as separate words, which splits a list such as
  # ENVIRONMENT; a script run after the discovered tests are loaded sets it whole.
  set(environment "XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;QT_QPA_PLATFORM=offscreen")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${script}
    "foreach(test IN LISTS ${name}_TESTS)\n"
    "  set_tests_properties(\"\${test}\" PROPERTIES ENVIRONMENT \"${environment}\")\n"
    "endforeach()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

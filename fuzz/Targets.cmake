# The fuzz targets beside the script parser's (runner/fuzz): one folder each, holding the
# target's source, its dictionary and its saved corpus. The fuzzing build makes <name>_fuzzer
# of each; the ordinary tests replay each corpus through the same entry point.
set(KEL_FUZZ_TARGETS sql access settings script diff tips)
set(KEL_FUZZ_DEPS_sql foundation_engine)
set(KEL_FUZZ_DEPS_access foundation_engine_mdbfile)
set(KEL_FUZZ_DEPS_settings foundation_settings)
set(KEL_FUZZ_DEPS_script runner_stream runner_sqlexecutor)
set(KEL_FUZZ_DEPS_diff report_diff)
set(KEL_FUZZ_DEPS_tips comparer_tips)

# The entry point of a target and what it links, for an executable of the caller's.
function(kel_fuzz_entry executable name)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/${name}/*.cpp)
  target_sources(${executable} PRIVATE ${sources})
  target_link_libraries(${executable} PRIVATE ${KEL_FUZZ_DEPS_${name}})
  target_include_directories(${executable} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${executable} PRIVATE KEL_ACCESS_DATA_DIR="${KEL_ACCESS_DATA_DIR}")
endfunction()

# The fuzz targets, named once: fuzz/<name>.cpp for every name, read by the fuzz build (fuzz_<name>),
# the corpus replay in the test suite (replay_<name>) and scripts/fuzz.sh (through targets.txt).
file(GLOB kestrin_fuzz_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
list(REMOVE_ITEM kestrin_fuzz_sources ${CMAKE_SOURCE_DIR}/fuzz/ReplayMain.cpp) # the replay's driver
set(KESTRIN_FUZZ_TARGETS)
foreach(source ${kestrin_fuzz_sources})
  get_filename_component(name ${source} NAME_WE)
  list(APPEND KESTRIN_FUZZ_TARGETS ${name})
endforeach()

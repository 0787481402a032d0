# Layer libraries and their test programs are made from whatever sources their
# folders hold, so adding a file never means editing a list here.

function(pelk_layer name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp ${CMAKE_SOURCE_DIR}/src/${name}/*.c)
  if(sources)
    add_library(pelk_${name} STATIC ${sources})
    target_include_directories(pelk_${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(pelk_${name} PUBLIC ${ARGN})
  else()
    add_library(pelk_${name} INTERFACE)
    target_include_directories(pelk_${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(pelk_${name} INTERFACE ${ARGN})
  endif()
  add_library(${name} ALIAS pelk_${name})
  if(EXISTS ${CMAKE_SOURCE_DIR}/src/${name}/layer.cmake)
    include(${CMAKE_SOURCE_DIR}/src/${name}/layer.cmake)
  endif()
endfunction()

function(pelk_layer_tests name)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE pelk_${name} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(PELK_SANITIZE)
    # The tests' own code is thin and runs once: unoptimised, it builds in
    # about half the time, while the layers it calls keep their optimisation.
    target_compile_options(test_${name} PRIVATE -O0)
  endif()
  target_compile_definitions(test_${name} PRIVATE
      PELK_SOURCE_DIR="${CMAKE_SOURCE_DIR}" PELK_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/${name}/tests.cmake)
    include(${CMAKE_SOURCE_DIR}/tests/${name}/tests.cmake)
  endif()
  # Every test on its own, for a developer's `ctest -R`; labelled "each".
  gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 LABELS each)
  # The whole program in a few processes, for the full run (scripts/test
  # leaves out "each"): a sanitized test process costs about a second to
  # start and to check for leaks, many times what most tests take.
  set(shards 4)
  if(DEFINED PELK_TEST_SHARDS_${name})
    set(shards ${PELK_TEST_SHARDS_${name}})
  endif()
  math(EXPR last "${shards} - 1")
  foreach(i RANGE ${last})
    add_test(NAME ${name}.shard${i} COMMAND test_${name} --gtest_brief=1)
    set_tests_properties(${name}.shard${i} PROPERTIES TIMEOUT 1800 LABELS shard
        ENVIRONMENT "GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${i}")
  endforeach()
endfunction()

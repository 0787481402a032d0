# The pack code is built a second time for AVX2 on x86-64 and chosen at run
# time when the processor has it; both give the same bits.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/calc/station_sums_avx2.cpp
                              PROPERTIES COMPILE_OPTIONS "-mavx2")
endif()
# The stations are spread over threads; the caller waits for them.
target_link_libraries(pelk_calc PUBLIC Threads::Threads)

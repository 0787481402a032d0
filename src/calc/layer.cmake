# The pack code is built again for AVX2 and for AVX-512 on x86-64 and chosen
# at run time by what the processor has; all give the same bits.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/calc/station_sums_avx2.cpp
                              PROPERTIES COMPILE_OPTIONS "-mavx2")
  set_source_files_properties(${CMAKE_SOURCE_DIR}/src/calc/station_sums_avx512.cpp
                              PROPERTIES COMPILE_OPTIONS "-mavx512f")
endif()
# Packs travel only between functions private to the generic unit, so the
# note that their calling convention differs without AVX does not apply.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/calc/station_sums_generic.cpp
                            PROPERTIES COMPILE_OPTIONS "-Wno-psabi")
# The stations are spread over threads; the caller waits for them.
target_link_libraries(pelk_calc PUBLIC Threads::Threads)

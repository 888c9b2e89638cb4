# What keeps a build from scratch short on a small machine: line tables instead of full debug
# information, the LLVM linker when it is there, and precompiled Qt and standard headers.
option(DISKARIUM_PCH "Precompile the Qt and standard headers every target shares" ON)

# Backtraces and profilers need lines and functions, not every variable; full information
# tripled the objects and made linking the tests the slowest step.
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O2 -g1 -DNDEBUG")

include(CheckLinkerFlag)
check_linker_flag(CXX "-fuse-ld=lld" DISKARIUM_HAVE_LLD)
if(DISKARIUM_HAVE_LLD)
    add_link_options(-fuse-ld=lld)
endif()

# Test code only drives the (optimised) program code; optimising it costs a third of its
# compile time and gains nothing.
set(DISKARIUM_TEST_OPTIONS -O0)

# The program's libraries compile in batches of sources: each batch parses the shared headers
# and instantiates the shared templates once instead of once per file (the libraries' CPU
# time drops by about 40 %). Names private to a source file must differ between files.
option(DISKARIUM_UNITY "Compile the program's libraries in batches of sources" ON)
set(DISKARIUM_UNITY_BATCH 8 CACHE STRING "sources per batch (0: one batch per library)")
function(diskarium_unity target)
    if(DISKARIUM_UNITY)
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON
                                                   UNITY_BUILD_BATCH_SIZE ${DISKARIUM_UNITY_BATCH})
    endif()
endfunction()

# header: core (Qt core, standard library) or gui (plus the common widgets), in cmake/pch.
function(diskarium_precompile target header)
    if(DISKARIUM_PCH)
        target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/${header}.h)
    endif()
endfunction()

# Many small executables of one folder (tests, benchmarks) share one precompiled header per
# set of libraries: a header is only reused where the compiler sees the same definitions and
# options, and the Qt test macros name the folder. The header is built once from an empty
# file with the given libraries and options.
#   diskarium_share_precompiled(target HEADER h LIBS libs... [OPTIONS opts...])
function(diskarium_share_precompiled target)
    cmake_parse_arguments(ARG "" "HEADER" "LIBS;OPTIONS" ${ARGN})
    target_compile_options(${target} PRIVATE ${ARG_OPTIONS})
    if(NOT DISKARIUM_PCH)
        return()
    endif()
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(pch diskarium-pch-${folder}-${ARG_HEADER})
    if(NOT TARGET ${pch})
        add_library(${pch} OBJECT ${PROJECT_SOURCE_DIR}/cmake/pch/empty.cpp)
        target_link_libraries(${pch} PRIVATE ${ARG_LIBS})
        target_compile_options(${pch} PRIVATE ${ARG_OPTIONS})
        target_precompile_headers(${pch} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/${ARG_HEADER}.h)
    endif()
    target_precompile_headers(${target} REUSE_FROM ${pch})
    # A generated moc file of a single-file executable is empty (its moc is included by the
    # source): loading the header would cost more than compiling it.
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/mocs_compilation.cpp
                                PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()

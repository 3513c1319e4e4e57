# Helpers shared by every layer's CMakeLists.

# Our own targets compile with all warnings; with KELVO_WERROR (the Makefile's builds and CI) they
# are errors. Packagers and users build without it, so a compiler's false positive stays a
# warning there. Third-party code is not touched.
function(kelvo_strict target)
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${KELVO_WERROR}>:-Werror>)
    target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()

# A layer library: every .cpp of the folder (non-recursive), headers found from the repository
# root as "layer/Header.h". Extra arguments are the libraries it links publicly.
function(kelvo_layer name folder)
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${folder}/*.h)
    if(NOT sources)
        # A layer not written yet still links through, so the layers above it configure.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARGN})
        return()
    endif()
    add_library(${name} STATIC ${sources} ${headers})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    if(ARGN)
        target_link_libraries(${name} PUBLIC ${ARGN})
    endif()
    kelvo_strict(${name})
endfunction()

# One GoogleTest executable per test folder, registered with CTest test by test.
function(kelvo_tests name folder)
    file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.h)
    if(NOT sources)
        return()
    endif()
    add_executable(${name} ${sources})
    target_link_libraries(${name} PRIVATE ${ARGN} test_support GTest::gtest GTest::gtest_main GTest::gmock)
    kelvo_strict(${name})
    # Window tests need Qt's offscreen platform also while CTest lists their cases.
    set_target_properties(${name} PROPERTIES
        CROSSCOMPILING_EMULATOR "/usr/bin/env;QT_QPA_PLATFORM=offscreen")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

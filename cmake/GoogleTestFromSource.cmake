# GoogleTest for a cross build: the cross compiler has no GoogleTest of its
# own, so it is built here from Debian's sources (package googletest).
set(VELMORA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for cross builds")
if(NOT EXISTS ${VELMORA_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found in ${VELMORA_GOOGLETEST_SOURCE}: install the Debian package googletest")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)  # Win32 threads are used directly
add_subdirectory(${VELMORA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(target gtest gtest_main)
  # Third-party code: our warnings-as-errors do not apply to it.
  set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS -w)
  if(NOT TARGET GTest::${target})
    add_library(GTest::${target} ALIAS ${target})
  endif()
endforeach()

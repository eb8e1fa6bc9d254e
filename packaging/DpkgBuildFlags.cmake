# Adds the flags of dpkg-buildflags (package dpkg-dev) to every C++ compile and link, with all
# of Debian's hardening unless DEB_BUILD_MAINT_OPTIONS says otherwise. CMake reads no CPPFLAGS,
# so the preprocessor's flags (-D_FORTIFY_SOURCE) go with the compiler's.
find_program(MORIVA_DPKG_BUILDFLAGS_PROGRAM dpkg-buildflags REQUIRED)
if(DEFINED ENV{DEB_BUILD_MAINT_OPTIONS})
  set(maint_options "$ENV{DEB_BUILD_MAINT_OPTIONS}")
else()
  set(maint_options "hardening=+all")
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  # From the source folder, whose path -ffile-prefix-map then keeps out of the binaries.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=${maint_options}
            ${MORIVA_DPKG_BUILDFLAGS_PROGRAM} --get ${kind}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE dpkg_${kind} OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
endforeach()
string(APPEND CMAKE_CXX_FLAGS " ${dpkg_CPPFLAGS} ${dpkg_CXXFLAGS}")
string(APPEND CMAKE_EXE_LINKER_FLAGS " ${dpkg_LDFLAGS}")
string(APPEND CMAKE_SHARED_LINKER_FLAGS " ${dpkg_LDFLAGS}")
message(STATUS "dpkg-buildflags (${maint_options}): ${dpkg_CPPFLAGS} ${dpkg_CXXFLAGS} / ${dpkg_LDFLAGS}")
# dpkg-buildflags decides the optimisation (-O2, or -O0 for DEB_BUILD_OPTIONS=noopt): the build
# type's own -O flags, which would come after it on the command line, are left out.
foreach(config RELEASE RELWITHDEBINFO MINSIZEREL)
  string(REGEX REPLACE "(^| )-O[0-9sgz]*" "" CMAKE_CXX_FLAGS_${config} "${CMAKE_CXX_FLAGS_${config}}")
endforeach()

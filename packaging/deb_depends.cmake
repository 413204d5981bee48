# Read by cpack: the Debian package's Depends from dpkg-shlibdeps over the ELF files the package holds,
# the kernel inside build/brindle's payload among them, plus what is loaded by name.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
include(${CPACK_BRINDLE_DEB_SETTINGS})

find_program(DPKG_SHLIBDEPS dpkg-shlibdeps REQUIRED)
set(work ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps)
# dpkg-shlibdeps insists on a debian/control in its working directory.
file(WRITE ${work}/debian/control "Source: brindle\n\nPackage: brindle\nArchitecture: any\n")
# dpkg-architecture sets the target's architecture, where dpkg-shlibdeps looks for the libraries.
execute_process(COMMAND dpkg-architecture -a${BRINDLE_DEB_ARCH} -c ${DPKG_SHLIBDEPS} -O ${BRINDLE_DEB_ELF_FILES}
  WORKING_DIRECTORY ${work}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE ${work})
if(NOT rc EQUAL 0 OR NOT out MATCHES "^shlibs:Depends=(.+)$")
  message(FATAL_ERROR "dpkg-shlibdeps failed (${rc}): ${err}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}, ${BRINDLE_DEB_EXTRA_DEPENDS}")
message(STATUS "Depends: ${CPACK_DEBIAN_PACKAGE_DEPENDS}")

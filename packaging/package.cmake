# The Windows package: `cmake --build build/win --target package` writes
# limbweaver-VERSION-win64.zip into the build folder. Unpacked anywhere, the
# folder holds the program, lwtool, the toon shader files and the samples, which
# the program finds beside itself whatever the current folder.
# The package target builds everything first; cpack run on its own (as the
# package test does, after the build) packs what is built without building.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
install(TARGETS limbweaver lwtool RUNTIME DESTINATION .)
install(FILES glsl/toon.vert glsl/toon.frag glsl/toon.bmp DESTINATION glsl)
install(FILES samples/character.obj samples/character.mtl samples/character.bmp
              samples/character.ojp DESTINATION samples)
configure_file(packaging/README-Windows.txt.in ${PROJECT_BINARY_DIR}/generated/README.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/generated/README.txt DESTINATION .)

# The executables link the MinGW-w64 runtime, winpthreads and the GCC runtime
# libraries statically; their licence texts come from the toolchain's packages.
set(lw_bundled_licences
    /usr/share/doc/mingw-w64-common/copyright mingw-w64.txt
    /usr/share/doc/gcc-mingw-w64-base/copyright gcc-runtime.txt
    /usr/share/common-licenses/GPL-3 GPL-3.txt)
while(lw_bundled_licences)
  list(POP_FRONT lw_bundled_licences source name)
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "licence text ${source} is missing (scripts/setup.sh installs it)")
  endif()
  install(FILES ${source} DESTINATION licences RENAME ${name})
endwhile()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME limbweaver)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME limbweaver-${PROJECT_VERSION}-win64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
include(CPack)

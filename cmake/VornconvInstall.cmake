# cmake --install: the header, the library with its SONAME links, a CMake
# package, a pkg-config file, and the table program under libexec. Every path
# in them is relative to the prefix, so an installed tree can be moved.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(vornconv_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/vornconv)

install(TARGETS vornconv EXPORT vornconvTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT vornconvTargets NAMESPACE vornconv:: DESTINATION ${vornconv_cmake_dir})

configure_package_config_file(cmake/vornconvConfig.cmake.in
  ${PROJECT_BINARY_DIR}/vornconvConfig.cmake
  INSTALL_DESTINATION ${vornconv_cmake_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/vornconvConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/vornconvConfig.cmake ${PROJECT_BINARY_DIR}/vornconvConfigVersion.cmake
  DESTINATION ${vornconv_cmake_dir})

set(vornconv_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH VORNCONV_PC_PREFIX_FROM_PCDIR /prefix/${vornconv_pc_dir} /prefix)
string(REGEX REPLACE "/$" "" VORNCONV_PC_PREFIX_FROM_PCDIR "${VORNCONV_PC_PREFIX_FROM_PCDIR}")
configure_file(cmake/vornconv.pc.in ${PROJECT_BINARY_DIR}/vornconv.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/vornconv.pc DESTINATION ${vornconv_pc_dir})

if(TARGET vornconv_cli)
  file(RELATIVE_PATH vornconv_lib_from_bin /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
  set_target_properties(vornconv_cli PROPERTIES INSTALL_RPATH "$ORIGIN/${vornconv_lib_from_bin}")
  install(TARGETS vornconv_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The table program is no tool for the PATH, where a program named test would
# shadow the shell's test utility: it goes to libexec/vornconv/test.
if(TARGET vornconv_tables)
  set(vornconv_tables_dir ${CMAKE_INSTALL_LIBEXECDIR}/vornconv)
  file(RELATIVE_PATH vornconv_lib_from_tables /prefix/${vornconv_tables_dir} /prefix/${CMAKE_INSTALL_LIBDIR})
  set_target_properties(vornconv_tables PROPERTIES INSTALL_RPATH "$ORIGIN/${vornconv_lib_from_tables}")
  install(TARGETS vornconv_tables RUNTIME DESTINATION ${vornconv_tables_dir})
  install(CODE "message(STATUS \"Renaming to: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${vornconv_tables_dir}/test\")
    file(RENAME \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${vornconv_tables_dir}/vornconv-tables\"
                           \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${vornconv_tables_dir}/test\")")
endif()

# Installation and the Debian packages (Linux). Three packages, each with its
# debug symbols in a -dbgsym package of its own:
#   libzeb2hart1     the component: libzeb2hart with XMLData/, XMLSchemas/ and
#                    Resources/ beside it in LIBDIR/zeb2hart, and DTM.ini as the
#                    configuration file SYSCONFDIR/zeb2hart/DTM.ini, which
#                    Resources/DTM.ini links to
#   libzeb2hart-dev  the public headers (include/zeb2hart/), the CMake package
#                    (find_package(zeb2hart)) and zeb2hart.pc
#   zeb2hart         the frame stand-in (with the Qt frame window when built with
#                    Qt) and what it brings along in DATADIR/zeb2hart
# `cpack -G DEB` in the build folder (or `make package`) writes them to packages/.
include(CMakePackageConfigHelpers)

set(component_dir ${ZEB2HART_INSTALL_COMPONENT_DIR})
set(links ${CMAKE_BINARY_DIR}/install-links)
set(soname libzeb2hart.so.${PROJECT_VERSION_MAJOR})

# The component.
install(TARGETS zeb2hart EXPORT zeb2hartTargets
  LIBRARY DESTINATION ${component_dir} COMPONENT component NAMELINK_COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/XMLData ${PROJECT_SOURCE_DIR}/data/XMLSchemas
  DESTINATION ${component_dir} COMPONENT component)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/Resources DESTINATION ${component_dir} COMPONENT component
  PATTERN DTM.ini EXCLUDE)
# DTM.ini is the administrator's: a configuration file of the package, kept on
# upgrade when it was changed. The component reads it where it always does,
# through a relative link (so that a tree unpacked elsewhere works too).
if(IS_ABSOLUTE ${CMAKE_INSTALL_SYSCONFDIR})
  set(sysconf_destination ${CMAKE_INSTALL_SYSCONFDIR}/zeb2hart)
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(sysconf_destination /etc/zeb2hart)
else()
  set(sysconf_destination ${CMAKE_INSTALL_SYSCONFDIR}/zeb2hart)
endif()
cmake_path(ABSOLUTE_PATH sysconf_destination BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX} OUTPUT_VARIABLE sysconf_full)
file(RELATIVE_PATH ini_link_target ${CMAKE_INSTALL_PREFIX}/${component_dir}/Resources ${sysconf_full}/DTM.ini)
install(FILES ${PROJECT_SOURCE_DIR}/data/Resources/DTM.ini DESTINATION ${sysconf_destination} COMPONENT component)
file(MAKE_DIRECTORY ${links}/Resources)
file(CREATE_LINK ${ini_link_target} ${links}/Resources/DTM.ini SYMBOLIC)
install(FILES ${links}/Resources/DTM.ini DESTINATION ${component_dir}/Resources COMPONENT component)
# The library in LIBDIR as well, so that the dynamic loader finds it; the
# component still finds its folder, as it resolves links.
file(CREATE_LINK zeb2hart/${soname} ${links}/${soname} SYMBOLIC)
file(CREATE_LINK zeb2hart/${soname} ${links}/libzeb2hart.so SYMBOLIC)
install(FILES ${links}/${soname} DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT component)
install(FILES ${links}/libzeb2hart.so DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)

# What a frame vendor builds against.
foreach(header ${ZEB2HART_PUBLIC_HEADERS})
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/src/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zeb2hart/${folder}
    COMPONENT dev)
endforeach()
set(cmake_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/zeb2hart)
install(EXPORT zeb2hartTargets NAMESPACE zeb2hart:: DESTINATION ${cmake_package_dir} COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zeb2hartConfig.cmake.in
  ${CMAKE_BINARY_DIR}/zeb2hartConfig.cmake INSTALL_DESTINATION ${cmake_package_dir}
  PATH_VARS ZEB2HART_INSTALL_COMPONENT_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zeb2hartConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zeb2hartConfig.cmake ${CMAKE_BINARY_DIR}/zeb2hartConfigVersion.cmake
  DESTINATION ${cmake_package_dir} COMPONENT dev)
file(RELATIVE_PATH ZEB2HART_PC_PREFIX_FROM_PCDIR ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig
  ${CMAKE_INSTALL_PREFIX})
configure_file(${PROJECT_SOURCE_DIR}/cmake/zeb2hart.pc.in ${CMAKE_BINARY_DIR}/zeb2hart.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zeb2hart.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)

# The frame stand-in.
if(TARGET zeb2hart_cli)
  install(TARGETS zeb2hart_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT frame)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/FrameSchemas ${PROJECT_SOURCE_DIR}/data/Devices
    DESTINATION ${CMAKE_INSTALL_DATADIR}/zeb2hart COMPONENT frame)
endif()

# The licence, where Debian looks for it in each package.
foreach(package libzeb2hart1 libzeb2hart-dev zeb2hart)
  if(package STREQUAL libzeb2hart1)
    set(component component)
  elseif(package STREQUAL libzeb2hart-dev)
    set(component dev)
  else()
    set(component frame)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package}
    RENAME copyright COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zeb2hart)
set(CPACK_PACKAGE_VENDOR "ZEB2HART Gateway DTM developers")
set(CPACK_PACKAGE_CONTACT "ZEB2HART Gateway DTM developers <zeb2hart@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "HART gateway DTM (FDT 1.2) for ZEB device networks")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_COMPONENTS_ALL component dev frame)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Stripped binaries in the packages, their debug information in -dbgsym packages.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_COMPONENT_DEV_DEPENDS component)
set(CPACK_COMPONENT_FRAME_DEPENDS component)
set(CPACK_DEBIAN_COMPONENT_PACKAGE_NAME libzeb2hart1)
set(CPACK_DEBIAN_COMPONENT_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzeb2hart-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_FRAME_PACKAGE_NAME zeb2hart)
set(CPACK_DEBIAN_FRAME_PACKAGE_SECTION electronics)
set(CPACK_COMPONENT_COMPONENT_DESCRIPTION "ZEB2HART gateway DTM: the component\n"
  "libzeb2hart with the documents, schemas and resources it reads; DTM.ini in /etc/zeb2hart.")
set(CPACK_COMPONENT_DEV_DESCRIPTION "ZEB2HART gateway DTM: headers and build files for frames\n"
  "The public headers, the CMake package zeb2hart and zeb2hart.pc.")
set(CPACK_COMPONENT_FRAME_DESCRIPTION "ZEB2HART gateway DTM: the frame stand-in zeb2hart\n"
  "Hosts the component with simulated or scripted peers: demo, frame scripts, the frame window.")
file(WRITE ${CMAKE_BINARY_DIR}/debian-component/conffiles "${sysconf_full}/DTM.ini\n")
set(CPACK_DEBIAN_COMPONENT_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/debian-component/conffiles)
include(CPack)

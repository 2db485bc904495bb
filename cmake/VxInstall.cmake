# Install rules and the Debian package.
#
# The layout is the one the platform's program_folder.h recognises at run
# time, so its folders are fixed here rather than taken from GNUInstallDirs
# (whose library folder carries the multiarch triplet under /usr):
#   bin/VXKST-HD                      the program
#   lib/vxkst-hd/                     its shared libraries and VXKSTRes, found
#                                     through RPATHs relative to each file
#   libexec/vxkst-hd/vxkst-mdbread    the legacy-import helper
#   share/vxkst-hd/                   what a new program folder starts with
#   share/applications/vxkst-hd.desktop, share/icons/hicolor/NxN/apps/
set(VX_PACKAGE vxkst-hd)
set(VX_PRIVATE_LIBDIR lib/${VX_PACKAGE})
set(VX_HELPERDIR libexec/${VX_PACKAGE})
set(VX_SHAREDIR share/${VX_PACKAGE})

set(VX_INSTALLED_LIBRARIES vxplatform vxutil vxnet vxplay vxui vxcam VXKSTRes)
set_target_properties(${VX_INSTALLED_LIBRARIES} PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(VXKST-HD PROPERTIES INSTALL_RPATH "$ORIGIN/../${VX_PRIVATE_LIBDIR}")
set_target_properties(vxkst-mdbread PROPERTIES INSTALL_RPATH "$ORIGIN/../../${VX_PRIVATE_LIBDIR}")

install(TARGETS VXKST-HD RUNTIME DESTINATION bin)
install(TARGETS ${VX_INSTALLED_LIBRARIES} LIBRARY DESTINATION ${VX_PRIVATE_LIBDIR} NAMELINK_SKIP)
install(TARGETS vxkst-mdbread RUNTIME DESTINATION ${VX_HELPERDIR})
install(FILES ${PROJECT_SOURCE_DIR}/recorder/config/vxkstskin.ini DESTINATION ${VX_SHAREDIR}/config)

# The desktop entry names the program by its installed path, which is known
# only when installing (cmake --install --prefix, or the package's /usr). It
# is made in a scratch folder of its own prefix (installs may run side by
# side) that goes once the entry is installed.
set(VX_DESKTOP_IN ${PROJECT_SOURCE_DIR}/recorder/desktop/vxkst-hd.desktop.in)
install(CODE "
  string(MD5 vx_key \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(vx_dir \"${CMAKE_BINARY_DIR}/desktop-entry-\${vx_key}\")
  set(VXKST_EXEC \"\${CMAKE_INSTALL_PREFIX}/bin/VXKST-HD\")
  configure_file(\"${VX_DESKTOP_IN}\" \"\${vx_dir}/${VX_PACKAGE}.desktop\" @ONLY)
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
       FILES \"\${vx_dir}/${VX_PACKAGE}.desktop\")
  file(REMOVE_RECURSE \"\${vx_dir}\")
")

# The program's icon at the sizes desktops look for, drawn from the same
# description as the icon inside the program.
set(VX_ICON_SIZES 16 22 24 32 48 64 128 256)
set(VX_ICON_SOURCE ${PROJECT_SOURCE_DIR}/resources/recorder/pictures/app.pic)
set(vx_icons)
foreach(size ${VX_ICON_SIZES})
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${VX_PACKAGE}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND vximagegen --png ${png} --size ${size} ${VX_ICON_SOURCE}
    DEPENDS vximagegen ${VX_ICON_SOURCE}
    COMMENT "Drawing the ${size}x${size} program icon"
    VERBATIM)
  list(APPEND vx_icons ${png})
  install(FILES ${png} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(vxkst_icons ALL DEPENDS ${vx_icons})

# scripts/package: one Debian package of the install rules' files.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VX_PACKAGE})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "VXKST-HD maintainers <vxkst-hd@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Network-camera recorder")
set(CPACK_PACKAGE_DESCRIPTION
    "Keeps a database of network cameras, records each started camera's stream into MP4 segment files by a weekly schedule of continuous and motion hours, deletes old recordings and watches free disk space.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries come with the package: dpkg-shlibdeps finds them here
# instead of asking for a package that provides them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
# Debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
include(CPack)

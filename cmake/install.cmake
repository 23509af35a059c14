# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where, and the Debian package built from it (cpack -G DEB, or
# scripts/package.sh). Included from the top-level CMakeLists.txt.

install(DIRECTORY help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/ketrano/help)
install(FILES data/${KETRANO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${KETRANO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/ketrano.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/ketrano-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ketrano-cli)

# Man pages, compressed as Debian keeps them.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
foreach(page ketrano.1 ketrano-cli.1)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/data/${page}
            > ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/data/${page} VERBATIM)
  list(APPEND KETRANO_MAN_PAGES ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${KETRANO_MAN_PAGES})
install(FILES ${KETRANO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The systemd user units. The service names the installed ketrano-cli by its full path, which
# is known only when installing (cmake --install --prefix, cpack), so it is written then.
install(FILES data/ketrano-sync@.timer DESTINATION lib/systemd/user)
install(CODE "
  set(unit_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/systemd/user\")
  set(KETRANO_CLI \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/ketrano-cli\")
  message(STATUS \"Installing: \${unit_dir}/ketrano-sync@.service\")
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/data/ketrano-sync@.service.in\"
                 \"\${unit_dir}/ketrano-sync@.service\" @ONLY)
")

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ketrano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Ketrano developers <dev@ketrano.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keep pairs of folders in step (backup and synchronization)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Ketrano Backup synchronizes, backs up and archives folders between disks, partitions and\n"
    "network shares. A profile lists pairs of folders; Scan lists the files that are new or\n"
    "newer on either side, Synchronize copies the checked ones. Includes the window (ketrano)\n"
    "and a terminal program (ketrano-cli) with a systemd user timer for daily backups.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/ketrano/ketrano)
# The libraries the programs link come from dpkg-shlibdeps where it is installed (dpkg-dev);
# Qt's platform plugins and the SVG icon loader are loaded at run time and named here.
find_program(DPKG_SHLIBDEPS_EXECUTABLE dpkg-shlibdeps)
set(KETRANO_RUNTIME_DEPENDS "qt6-qpa-plugins, libqt6svg6")
if(DPKG_SHLIBDEPS_EXECUTABLE)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${KETRANO_RUNTIME_DEPENDS}")
else()
  string(CONCAT CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6 (>= 2.34), libstdc++6 (>= 12), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), "
      "libqt6widgets6 (>= 6.4), ${KETRANO_RUNTIME_DEPENDS}")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "systemd")
set(CPACK_STRIP_FILES ON)
include(CPack)

# zsh and fish completion of ketrano-cli (bash's is installed above), where each shell looks
# for the completions that packages ship.
install(FILES data/_ketrano-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES data/ketrano-cli.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

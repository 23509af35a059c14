# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts where; packaging/build-deb.sh makes the Debian package from it
# (scripts/package.sh). Included from the top-level CMakeLists.txt.

install(DIRECTORY help/ DESTINATION ${CMAKE_INSTALL_DATADIR}/ketrano/help)
install(FILES data/${KETRANO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${KETRANO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/ketrano.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES data/ketrano-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ketrano-cli)

# Man pages and the upstream changelog, compressed as Debian keeps them: gzip -n leaves the
# name and time out of the header, so the files are the same at every build.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
function(ketrano_gzip source output)
  get_filename_component(dir ${output} DIRECTORY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${source} > ${output}
    DEPENDS ${source} VERBATIM)
endfunction()
foreach(page ketrano.1 ketrano-cli.1)
  ketrano_gzip(${CMAKE_CURRENT_SOURCE_DIR}/data/${page} ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  list(APPEND KETRANO_MAN_PAGES ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
endforeach()
ketrano_gzip(${CMAKE_CURRENT_SOURCE_DIR}/CHANGELOG.md ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz)
add_custom_target(compressed_docs ALL
  DEPENDS ${KETRANO_MAN_PAGES} ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${KETRANO_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The licence notice (DEP-5) and the changelog, in share/doc/ketrano.
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The systemd user units. The service names the installed ketrano-cli by its full path, which
# is known only when installing (cmake --install --prefix), so it is written then.
install(FILES data/ketrano-sync@.timer DESTINATION lib/systemd/user)
install(CODE "
  set(unit_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/systemd/user\")
  set(KETRANO_CLI \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/ketrano-cli\")
  message(STATUS \"Installing: \${unit_dir}/ketrano-sync@.service\")
  configure_file(\"${CMAKE_CURRENT_SOURCE_DIR}/data/ketrano-sync@.service.in\"
                 \"\${unit_dir}/ketrano-sync@.service\" @ONLY)
")

# zsh and fish completion of ketrano-cli (bash's is installed above), where each shell looks
# for the completions that packages ship.
install(FILES data/_ketrano-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES data/ketrano-cli.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

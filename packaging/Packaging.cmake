# What `cmake --install` puts in place and how `cpack` packs it for Debian. Files the desktop
# starts the application from (desktop entry, D-Bus service) name the installed executable by its
# full path, which is only known at install time (`--prefix`); they are written then.
include(GNUInstallDirs)

set(QUILLA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(QUILLA_APP_ID app.kelvarin.Quilla)

install(TARGETS quilla RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The application and the image and PDF modules, private to Quilla: `quilla` finds them in
# lib/quilla/ beside its bin/ (not the multiarch library folder, which is for shared libraries).
install(TARGETS quilla_application RUNTIME DESTINATION lib/quilla)
install(TARGETS quilla_image_module quilla_pdf_module LIBRARY DESTINATION lib/quilla)
if(TARGET quilla-finder)
  install(TARGETS quilla-finder RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# quilla_install_naming_executable(SOURCE DESTINATION): installs the text file SOURCE into
# DESTINATION (relative to the prefix) with the program of its Exec line ("quilla" in the source,
# which tests use with quilla on PATH) replaced by the installed executable's absolute path, in
# double quotes when the path has spaces or other special characters (both the desktop entry and
# the D-Bus service split Exec like a shell). file(INSTALL) honours DESTDIR and records the file in
# the install manifest.
function(quilla_install_naming_executable source destination)
  get_filename_component(name ${source} NAME)
  install(CODE "
    set(_quilla_source \"${source}\")
    set(_quilla_staged \"${CMAKE_BINARY_DIR}/packaging/prefixed/${name}\")
    set(_quilla_destination \"${destination}\")
    set(_quilla_bindir \"${CMAKE_INSTALL_BINDIR}\")")
  install(CODE [[
    set(_exe "${CMAKE_INSTALL_PREFIX}/${_quilla_bindir}/quilla")
    if(_exe MATCHES "[^A-Za-z0-9/._+,:@=-]")
      set(_exe "\"${_exe}\"")
    endif()
    file(READ "${_quilla_source}" _text)
    string(REGEX REPLACE "(^|\n)Exec=[^ \n]*quilla" "\\1Exec=${_exe}" _text "${_text}")
    file(WRITE "${_quilla_staged}" "${_text}")
    file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${_quilla_destination}" TYPE FILE
      PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ FILES "${_quilla_staged}")
  ]])
endfunction()

quilla_install_naming_executable(${QUILLA_PACKAGING_DIR}/${QUILLA_APP_ID}.desktop
  ${CMAKE_INSTALL_DATADIR}/applications)
quilla_install_naming_executable(${QUILLA_PACKAGING_DIR}/${QUILLA_APP_ID}.service
  ${CMAKE_INSTALL_DATADIR}/dbus-1/services)
install(FILES ${QUILLA_PACKAGING_DIR}/icons/${QUILLA_APP_ID}.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${QUILLA_PACKAGING_DIR}/${QUILLA_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian wants the changelog and the manual pages compressed (gzip -9n, so builds are
# reproducible); quilla_gzip(SOURCE OUTPUT_VARIABLE) compresses SOURCE into the build folder.
set(QUILLA_GZIPPED)
function(quilla_gzip source output_variable)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_BINARY_DIR}/packaging/gz/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging/gz
    COMMAND gzip -9nc ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
  set(${output_variable} ${output} PARENT_SCOPE)
  set(QUILLA_GZIPPED ${QUILLA_GZIPPED} ${output} PARENT_SCOPE)
endfunction()

# Debian's name for the package's own changelog.
configure_file(${QUILLA_PACKAGING_DIR}/debian/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.Debian COPYONLY)
quilla_gzip(${CMAKE_BINARY_DIR}/packaging/changelog.Debian QUILLA_CHANGELOG_GZ)
set(QUILLA_MAN_PAGES)
foreach(page quilla.1 quilla-finder.1) # their headers name the version
  configure_file(${QUILLA_PACKAGING_DIR}/man/${page} ${CMAKE_BINARY_DIR}/packaging/man/${page} @ONLY)
  quilla_gzip(${CMAKE_BINARY_DIR}/packaging/man/${page} _page_gz)
  list(APPEND QUILLA_MAN_PAGES ${_page_gz})
endforeach()
add_custom_target(quilla_gzipped_docs ALL DEPENDS ${QUILLA_GZIPPED})
install(FILES ${QUILLA_PACKAGING_DIR}/debian/copyright ${QUILLA_CHANGELOG_GZ}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quilla)
install(FILES ${QUILLA_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${QUILLA_PACKAGING_DIR}/debian/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME quilla)

# The Debian package (`cpack` in the build folder, or `make package`). The Nautilus module's
# folder is absolute (Files reads only its own), so packing installs with DESTDIR.
set(QUILLA_DEB_RELEASE 1)
file(STRINGS ${QUILLA_PACKAGING_DIR}/debian/changelog _quilla_changelog_head LIMIT_COUNT 1)
if(NOT _quilla_changelog_head MATCHES "^quilla \\(${PROJECT_VERSION}-${QUILLA_DEB_RELEASE}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog must begin with an entry for "
    "${PROJECT_VERSION}-${QUILLA_DEB_RELEASE}; it begins with: ${_quilla_changelog_head}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quilla)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Kelvarin)
set(CPACK_PACKAGE_CONTACT "Quilla developers <quilla@kelvarin.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configurable toolbox in the file manager's right-click menu")
# CPack puts the summary in front of this as the synopsis line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quilla adds a configurable set of file actions to the right-click menu of
GNOME Files: new files from templates, quick-open places, copying and moving
to favourite folders, names and paths for the clipboard, opening with chosen
applications, view presets, batch renaming, ZIP archives, image and PDF
tools, the user's own scripts, checksums and scheduled moves to the Trash.")
# With DESTDIR packing, CPack installs with CPACK_INSTALL_PREFIX (else the build's own prefix,
# /usr/local, which Debian packages must not use).
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUILLA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The settings window: Chinese glyphs, and the GNOME look (Adwaita style, GTK file dialogs).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "nautilus (>= 43), fonts-noto-cjk, adwaita-qt6, qt6-gtk-platformtheme")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)

# Install rules of the application: the executable, its desktop entry (which also makes it the
# handler of quilla:// URLs) and the D-Bus service file, whose Exec line must name the installed
# executable by its full path; that path is only known at install time (`--prefix`).
include(GNUInstallDirs)

install(TARGETS quilla RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/app.kelvarin.Quilla.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The icon named by the desktop entry, the tray item and the failure notifications.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/app.kelvarin.Quilla.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

install(CODE "
  file(READ \"${PROJECT_SOURCE_DIR}/packaging/app.kelvarin.Quilla.service\" _service)
  string(REPLACE \"Exec=/usr/bin/quilla\" \"Exec=\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quilla\"
    _service \"\${_service}\")
  set(_target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/dbus-1/services/app.kelvarin.Quilla.service\")
  message(STATUS \"Installing: \${_target}\")
  file(WRITE \"\${_target}\" \"\${_service}\")
")

# Install rules of the application: the executable, its desktop entry (which also makes it the
# handler of quilla:// URLs) and the D-Bus service file, whose Exec line must name the installed
# executable by its full path.
include(GNUInstallDirs)

install(TARGETS quilla RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/app.kelvarin.Quilla.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(_quilla_service_source ${PROJECT_SOURCE_DIR}/packaging/app.kelvarin.Quilla.service)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_quilla_service_source})
file(READ ${_quilla_service_source} _quilla_service)
string(REPLACE "Exec=/usr/bin/quilla" "Exec=${CMAKE_INSTALL_FULL_BINDIR}/quilla" _quilla_service "${_quilla_service}")
file(WRITE ${CMAKE_BINARY_DIR}/packaging/app.kelvarin.Quilla.service "${_quilla_service}")
install(FILES ${CMAKE_BINARY_DIR}/packaging/app.kelvarin.Quilla.service
  DESTINATION ${CMAKE_INSTALL_DATADIR}/dbus-1/services)

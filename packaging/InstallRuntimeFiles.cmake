# Runs at install time. Writes what names the installed files by absolute
# path: KX9.ini (the plug-in resolves a relative editor path against the
# current directory, not against the ini's), the desktop entry, and the
# relative symlinks in bin/.
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(dir "${prefix}/${QORA_INSTALL_DIR}")
set(root "$ENV{DESTDIR}")

message(STATUS "Installing: ${root}${dir}/KX9.ini")
file(WRITE "${root}${dir}/KX9.ini" "[MainApplication]\nVirtualDeviceFilePath=${dir}/qora-editor\n")

set(QORA_GUI "${prefix}/bin/plaxbridge-gui")
message(STATUS "Installing: ${root}${prefix}/share/applications/plaxbridge-gui.desktop")
configure_file("${QORA_DESKTOP_TEMPLATE}" "${root}${prefix}/share/applications/plaxbridge-gui.desktop" @ONLY)

file(MAKE_DIRECTORY "${root}${prefix}/bin")
foreach(program plaxbridge plaxbridge-gui)
  message(STATUS "Installing: ${root}${prefix}/bin/${program} -> ../${QORA_INSTALL_DIR}/${program}")
  file(CREATE_LINK "../${QORA_INSTALL_DIR}/${program}" "${root}${prefix}/bin/${program}" SYMBOLIC)
endforeach()

# Where each installed piece goes, and how each piece finds the others from its own file. The
# programs and the Files module look up the Info file and the host relative to where they run,
# never at a path fixed here, so one build installs under any prefix (`cmake --install --prefix`,
# DESTDIR staging) and behaves the same.

# Files loads modules from one folder compiled into it (pkg-config extensiondir of
# libnautilus-extension-4), which lies outside every prefix but its own. By default the module
# stays under the prefix like everything else; a system install names Files' folder here.
set(TESSEL_NAUTILUS_MODULE_DIR "${CMAKE_INSTALL_LIBDIR}/nautilus/extensions-4" CACHE PATH
    "Where to install the Files module: relative to the prefix, or Files' own folder (pkg-config extensiondir of libnautilus-extension-4) for a system install")

# The other file managers' modules likewise: each loads them from a folder of its own (pkg-config
# extensiondir of libnemo-extension and libcaja-extension, extensionsdir of thunarx-3, KDE's
# plugin folder for Dolphin's file item actions).
set(TESSEL_NEMO_MODULE_DIR "${CMAKE_INSTALL_LIBDIR}/nemo/extensions-3.0" CACHE PATH
    "Where to install the Nemo module: relative to the prefix, or Nemo's own folder")
set(TESSEL_CAJA_MODULE_DIR "${CMAKE_INSTALL_LIBDIR}/caja/extensions-2.0" CACHE PATH
    "Where to install the Caja module: relative to the prefix, or Caja's own folder")
set(TESSEL_THUNAR_MODULE_DIR "${CMAKE_INSTALL_LIBDIR}/thunarx-3" CACHE PATH
    "Where to install the Thunar module: relative to the prefix, or Thunar's own folder")
set(TESSEL_DOLPHIN_MODULE_DIR "${CMAKE_INSTALL_LIBDIR}/qt5/plugins/kf5/kfileitemaction" CACHE PATH
    "Where to install the Dolphin plugin: relative to the prefix, or KDE's own plugin folder")

# The path from folder `from` to folder `to`. Folders relative to the prefix stay relative to
# each other whatever prefix the install chooses; an absolute one is taken with the configured
# prefix.
function(tessel_relative_path variable from to)
  set(root "/prefix")
  if(IS_ABSOLUTE "${from}" OR IS_ABSOLUTE "${to}")
    set(root "${CMAKE_INSTALL_PREFIX}")
  endif()
  cmake_path(ABSOLUTE_PATH from BASE_DIRECTORY "${root}" NORMALIZE)
  cmake_path(ABSOLUTE_PATH to BASE_DIRECTORY "${root}" NORMALIZE)
  file(RELATIVE_PATH relative "${from}" "${to}")
  set(${variable} "${relative}" PARENT_SCOPE)
endfunction()

tessel_relative_path(TESSEL_PROGRAM_TO_INFO "${CMAKE_INSTALL_BINDIR}" "${CMAKE_INSTALL_DATADIR}/tessel")
tessel_relative_path(TESSEL_PROGRAM_TO_MODULE "${CMAKE_INSTALL_BINDIR}" "${TESSEL_NAUTILUS_MODULE_DIR}")

# Installs `template` (a file with @TESSEL_BINDIR@ naming the installed programs' folder) into
# `destination`, configured when installing, so it names the prefix the install chooses. The
# file is written straight into the install tree: whoever installs may be unable to write the
# build tree, and the build tree must not keep the last install's prefix.
function(tessel_install_for_prefix template destination)
  get_filename_component(name "${template}" NAME_WLE)
  install(CODE "
    set(TESSEL_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
    if(NOT IS_ABSOLUTE \"\${TESSEL_BINDIR}\")
      set(TESSEL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/\${TESSEL_BINDIR}\")
    endif()
    set(folder \"${destination}\")
    if(NOT IS_ABSOLUTE \"\${folder}\")
      set(folder \"\${CMAKE_INSTALL_PREFIX}/\${folder}\")
    endif()
    message(STATUS \"Installing: \$ENV{DESTDIR}\${folder}/${name}\")
    configure_file(\"${template}\" \"\$ENV{DESTDIR}\${folder}/${name}\" @ONLY)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${folder}/${name}\")")
endfunction()

# `make deb`: a Debian package of the programs, installed to /usr with the module in Files' own
# folder, and beside it one package per other file manager's module (tessel-nemo, ...), each in
# that file manager's own folder and depending on "tessel" of the same version and on that file
# manager's libraries only. dpkg-shlibdeps computes the dependencies; the desktop database and
# the icon cache are refreshed by the file triggers of desktop-file-utils and hicolor-icon-theme,
# so the packages need no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessel)
set(CPACK_PACKAGE_VENDOR "Quillmark")
set(CPACK_PACKAGE_CONTACT "Quillmark <tessel@quillmark.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Move files into your usual folders with a right-click")
set(CPACK_PACKAGE_DESCRIPTION
    "Tessel adds a menu to the file manager's context menu that moves the selected files and folders into your favourite folders, into any of their sub-folders, or into a recent destination. Every move is checked before anything is touched, never overwrites an existing item, and can be undone exactly.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "nautilus")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "desktop-file-utils, hicolor-icon-theme")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# CPack gives every package the one summary line above; each module package names its file
# manager in its description.
set(CPACK_DEBIAN_TESSEL_PACKAGE_NAME tessel)
set(CPACK_DEBIAN_TESSEL_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
foreach(manager Nemo Caja Thunar Dolphin)
  string(TOLOWER ${manager} name)
  string(TOUPPER "TESSEL-${name}" component)
  set(CPACK_DEBIAN_${component}_PACKAGE_NAME tessel-${name})
  set(CPACK_DEBIAN_${component}_PACKAGE_DEPENDS "tessel (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_${component}_PACKAGE_RECOMMENDS ${name})
  set(CPACK_DEBIAN_${component}_DESCRIPTION
      "This package adds Tessel's menu to ${manager}'s context menu. The menu moves the selected files into your favourite folders; Tessel carries out every move and can undo it.")
endforeach()
include(CPack)

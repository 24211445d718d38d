# Qt 5 and KDE Frameworks 5 for the Dolphin module, looked for before the rest of the project
# finds Qt 6: a KDE Framework found after Qt 6 takes itself for a Qt 6 build and asks for Qt 6
# modules it does not use. Qt 5 and Qt 6 each keep to their own versioned target names.
# Sets TESSEL_DOLPHIN_MODULE when both are there, and TESSEL_DOLPHIN_PLUGIN_PATH to the folder
# that holds the built module as Dolphin looks for it through QT_PLUGIN_PATH.
set(QT_NO_CREATE_VERSIONLESS_TARGETS ON)
find_package(Qt5 5.15 QUIET COMPONENTS Core Widgets)
if(Qt5_FOUND)
  find_package(KF5KIO 5.100 QUIET)
endif()
if(Qt5_FOUND AND KF5KIO_FOUND)
  set(TESSEL_DOLPHIN_MODULE ON)
  set(TESSEL_DOLPHIN_PLUGIN_PATH "${CMAKE_BINARY_DIR}/dolphin-plugins")
else()
  set(TESSEL_DOLPHIN_MODULE OFF)
  message(STATUS "Dolphin module skipped: it needs Qt 5 Widgets and KF5 KIO 5.100 or later "
                 "(Debian: qtbase5-dev libkf5kio-dev)")
endif()

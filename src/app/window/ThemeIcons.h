// The window's symbols as icons of the freedesktop icon theme.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

namespace tessel::ThemeIcons {

// The theme's symbolic variant of icon `name` when it has one (Adwaita has little else for
// actions), else the icon itself.
QIcon named(const QString& name);

// The icon drawn in one colour, for symbols that carry a meaning by their colour.
QIcon tinted(const QString& name, const QColor& color, int size = 16);

// Lets icons come from Adwaita when the desktop names no theme (or only hicolor), and from
// the system's icon folders when the platform plugin looks nowhere else.
void useFallbackTheme();

}  // namespace tessel::ThemeIcons

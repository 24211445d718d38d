// Every text of the settings window, in the user's language (Japanese or English).
#pragma once

#include <QString>
#include <cstdint>

namespace tessel::WindowTexts {

// Header.
QString tagline();
QString extensionAvailable();
QString enableExtension();

// Favourites.
QString moveToHeading();
QString folderCount(std::int64_t count);
QString addFolder();
QString emptyHeading();
QString emptyLine();
QString moveUpTooltip();
QString moveDownTooltip();
QString removeTooltip();
QString moveUpLabel(const QString& name);
QString moveDownLabel(const QString& name);
QString removeLabel(const QString& name);
QString orderNote();
QString refreshMenu();
QString refreshMenuTooltip();

// Move settings.
QString moveSettingsHeading();
QString conflictLine();
QString conflictCaption();
QString conflictLabel();
QString keepBoth();
QString skip();
QString cancelEntireMove();

// Moving files from the application.
QString manualMoveGroup();
QString selectFiles();
QString selectedCount(std::int64_t count);
QString chooseFolder();
QString move();
QString recentDestinations();

// Help.
QString helpGroup();
QString helpMove();
QString helpOpen();
QString helpNoRegistration();
QString helpChooserWindow();
QString helpLimits();
QString openExtensionSettings();
QString enableExtensionHint();
QString removeSourceFolder();
QString addSourceFolder();
// The set-up dialog of the GNOME Files module.
QString extensionSetupTitle();
QString filesHasModule();
QString filesCannotLoadModule();
QString moduleNotInstalled();
QString moduleLocation(const QString& path, bool present);
QString filesModuleFolder(const QString& folder);
QString restartFilesIfMissing();
QString installModule();
// Tessel's module for another file manager (`name`, "Nemo").
QString fileManagerHasModule(const QString& name);
QString fileManagerLacksModule(const QString& name, const QString& folder, const QString& package,
                               const QString& quit);

// The chooser: the window that picks the folder for items the file manager sent.
QString chooserTitle();
QString itemsToMove(std::int64_t count);
QString filterFolders();
QString cancel();

// Footer and the confirmation.
QString undoMove();
QString clearUndoHistory();
QString clearUndoHistoryTooltip();
QString clearConfirmationTitle();
QString historyCleared();

}  // namespace tessel::WindowTexts

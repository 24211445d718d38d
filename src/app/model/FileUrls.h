// Conversions between the file URLs the desktop hands around and the paths the engine and the
// stored records use.
#pragma once

#include <QList>
#include <QUrl>
#include <exception>
#include <string>
#include <vector>

namespace tessel {

// Both ways byte for byte, whether or not the name is valid UTF-8.
std::string localPath(const QUrl& url);
QUrl fileUrl(const std::string& path);
std::vector<std::string> localPaths(const QList<QUrl>& urls);

// The text shown for an error: the message of Tessel's own errors, the description of the
// platform's.
std::string errorDescription(const std::exception_ptr& error);

}  // namespace tessel

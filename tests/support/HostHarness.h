// What every test of the host shares: the platform on a temporary home, a stand-in desktop,
// and helpers for the Qt event loop.
#pragma once

#include <QUrl>
#include <functional>
#include <string>

#include "FakeDesktop.h"
#include "HostTestPlatform.h"
#include "ScopedLanguage.h"
#include "TempFolder.h"

namespace tessel::testing {

QUrl fileUrl(const std::string& path);

// Runs the event loop until `done` holds; false after ten seconds.
bool waitUntil(const std::function<bool()>& done);

}  // namespace tessel::testing

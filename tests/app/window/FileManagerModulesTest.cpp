// What the window says about the other file managers: only those installed are named, each
// with whether Tessel's module is in the folder it loads modules from, in both languages.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "ScopedLanguage.h"
#include "TempFolder.h"
#include "window/FileManagerModules.h"

namespace tessel::testing {
namespace {

TEST(FileManagerModulesTest, InstalledFileManagersSayWhetherTheyHaveTheModuleAndWhatToDo) {
  TempFolder temp;
  // Nemo and Dolphin are installed, Caja is not; Nemo's folder has the module.
  for (const char* program : {"bin/nemo", "bin/dolphin"}) {
    ::chmod(temp.file(program, "#!/bin/sh\n").c_str(), 0755);
  }
  temp.file("nemo/tessel-nemo.so");
  const std::string path = std::getenv("PATH");
  ::setenv("PATH", temp.at("bin").c_str(), 1);
  const QString root = QString::fromStdString(temp.path());
  const QList<FileManagerModule> managers{
      {"Nemo", "nemo", root + "/nemo", "tessel-nemo.so", "nemo -q"},
      {"Caja", "caja", root + "/caja", "tessel-caja.so", "caja -q"},
      {"Dolphin", "dolphin", root + "/kf5", "tessel-dolphin.so", {}}};
  for (const auto& [language, lines] : std::vector<std::pair<const char*, QStringList>>{
           {"en",
            {"Nemo has Tessel’s module.",
             "Dolphin does not have Tessel’s module: it loads modules from " + root +
                 "/kf5. Install the package tessel-dolphin, then open Dolphin again."}},
           {"ja",
            {"NemoにはTesselのモジュールが入っています。",
             "DolphinにはTesselのモジュールが入っていません（Dolphinはモジュールを " + root +
                 "/kf5 から読み込みます）。パッケージ tessel-dolphin "
                 "をインストールしてから、Dolphinを開き直してください。"}}}) {
    ScopedLanguage scoped(language);
    EXPECT_EQ(fileManagerModuleLines(managers), lines);
  }
  ::unlink(temp.at("nemo/tessel-nemo.so").c_str());
  EXPECT_EQ(fileManagerModuleLines(managers).first(),
            "Nemo does not have Tessel’s module: it loads modules from " + root +
                "/nemo. Install the package tessel-nemo, then run nemo -q and open Nemo again.");
  ::setenv("PATH", path.c_str(), 1);
}

}  // namespace
}  // namespace tessel::testing

#include "core/Localization.h"

#include <gtest/gtest.h>

#include <map>

#include "FaultInjectingPlatform.h"
#include "TempFolder.h"
#include "core/Bundle.h"

namespace tessel {
namespace {

using testing::FaultInjectingPlatform;

// A platform whose environment holds exactly `variables`.
struct Environment {
  explicit Environment(std::map<std::string, std::string> variables) {
    platform.environmentOverride =
        [variables](const std::string& name) -> std::optional<std::string> {
      const auto found = variables.find(name);
      if (found == variables.end()) return std::nullopt;
      return found->second;
    };
  }
  FaultInjectingPlatform platform;
};

std::string firstLocalization(std::map<std::string, std::string> variables) {
  Environment environment(std::move(variables));
  return preferredLocalizations(environment.platform).front();
}

TEST(PreferredLocalizations, FollowsTheUsersLanguageListInGettextOrder) {
  EXPECT_EQ(firstLocalization({{"LANG", "ja_JP.UTF-8"}}), "ja");
  EXPECT_EQ(firstLocalization({{"LANGUAGE", "ja:en"}, {"LANG", "en_US.UTF-8"}}), "ja");
  EXPECT_EQ(firstLocalization({{"LANGUAGE", "en_GB:ja"}, {"LANG", "ja_JP.UTF-8"}}), "en");
  EXPECT_EQ(firstLocalization({{"LC_ALL", "ja_JP.eucJP"}, {"LANG", "en_US.UTF-8"}}), "ja");
  EXPECT_EQ(firstLocalization({{"LC_MESSAGES", "en_US"}, {"LANG", "ja_JP"}}), "en");
}

TEST(PreferredLocalizations, SkipsUndeclaredLanguagesAndTheCLocale) {
  // French is not declared, so the next declared language wins.
  EXPECT_EQ(firstLocalization({{"LANGUAGE", "fr_FR:ja"}}), "ja");
  EXPECT_EQ(firstLocalization({{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}), "ja");
  EXPECT_EQ(firstLocalization({{"LC_ALL", "POSIX"}, {"LC_MESSAGES", "C.UTF-8"}}), "en");
  EXPECT_EQ(firstLocalization({{"LANGUAGE", ""}, {"LANG", "de_DE"}}), "en");
  EXPECT_EQ(firstLocalization({}), "en");
}

TEST(LocalizedText, ChoosesJapaneseOnlyWhenJapaneseComesFirst) {
  // localizedText reads the process environment, as every deliverable does.
  const char* saved = std::getenv("LANGUAGE");
  const std::string restore = saved ? saved : "";
  setenv("LANGUAGE", "ja_JP:en", 1);
  EXPECT_EQ(localizedText("日本語", "English"), "日本語");
  setenv("LANGUAGE", "en:ja", 1);
  EXPECT_EQ(localizedText("日本語", "English"), "English");
  if (saved) {
    setenv("LANGUAGE", restore.c_str(), 1);
  } else {
    unsetenv("LANGUAGE");
  }
}

TEST(FormatText, FillsPlaceholdersInOrderAndKeepsExtraOnes) {
  EXPECT_EQ(formatText("「%@」を「%@」へ", {"a", "b"}), "「a」を「b」へ");
  EXPECT_EQ(formatText("%@ and %@", {"one"}), "one and %@");
  EXPECT_EQ(formatText("100%", {}), "100%");
}

class InfoFile : public ::testing::Test {
 protected:
  bool directWith(const std::string& content) {
    const std::string path = folder.file("info.json", content);
    Environment environment({{"TESSEL_INFO_FILE", path}});
    return DistributionMode::direct(environment.platform);
  }
  std::optional<std::string> groupWith(const std::string& content) {
    const std::string path = folder.file("info.json", content);
    Environment environment({{"TESSEL_INFO_FILE", path}});
    return Bundle::infoString("TesselAppGroup", environment.platform);
  }
  testing::TempFolder folder;
};

TEST_F(InfoFile, OnlyTheJsonLiteralTrueMakesADirectBuild) {
  EXPECT_TRUE(directWith(R"({"TesselDirectDistribution":true})"));
  EXPECT_FALSE(directWith(R"({"TesselDirectDistribution":false})"));
  EXPECT_FALSE(directWith(R"({"TesselDirectDistribution":"true"})"));
  EXPECT_FALSE(directWith(R"({"TesselDirectDistribution":"YES"})"));
  EXPECT_FALSE(directWith(R"({"TesselDirectDistribution":1})"));
  EXPECT_FALSE(directWith(R"({})"));
  EXPECT_FALSE(directWith("not json"));
  EXPECT_FALSE(directWith(R"([true])"));
}

TEST_F(InfoFile, OnlyAJsonStringIsAnIdentifier) {
  EXPECT_EQ(groupWith(R"({"TesselAppGroup":"group.example"})"), "group.example");
  EXPECT_EQ(groupWith(R"({"TesselAppGroup":""})"), "");
  EXPECT_EQ(groupWith(R"({"TesselAppGroup":42})"), std::nullopt);
  EXPECT_EQ(groupWith(R"({"TesselAppGroup":null})"), std::nullopt);
}

TEST_F(InfoFile, AMissingFileConfiguresNothing) {
  Environment environment({{"TESSEL_INFO_FILE", folder.at("absent.json")}});
  EXPECT_FALSE(DistributionMode::direct(environment.platform));
  EXPECT_EQ(Bundle::infoString("TesselAppGroup", environment.platform), std::nullopt);
}

}  // namespace
}  // namespace tessel

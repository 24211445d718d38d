// The journal file and the identity by which moved items are recognised.
#include "EngineTest.h"
#include "records/RecordCoding.h"

namespace tessel::testing {
namespace {

using JournalTest = EngineTest;

TEST_F(JournalTest, NoFileIsNoJournalButAnUnreadableFileIsAnError) {
  EXPECT_FALSE(engine.journal().has_value());
  EXPECT_EQ(undo(), 0);

  const std::string entry = R"({"source":"\/a","destination":"\/b","identity":"1:2:0.0")";
  for (const std::string& bytes : {std::string(), std::string("{not json"),
                                   R"({"id":"8D1E4B55-52B2-4C8C-9F3A-0B7B8E7C2F10","date":1.5,)"
                                   R"("entries":[)" +
                                       entry + "}]}"}) {
    temp.file("Support/Tessel/undo.json", bytes);
    EXPECT_THROW(engine.journal(), DecodingError) << bytes;
    EXPECT_THROW(undo(), DecodingError);
    EXPECT_THROW(move(files(1)), DecodingError);
    EXPECT_EQ(platform.readFile(journalPath), bytes) << "an unreadable journal is left alone";
    // Clearing the history never reads the file, so it also removes one that cannot be read.
    engine.dismissHistory();
    EXPECT_FALSE(platform.fileExists(journalPath));
  }
  EXPECT_NO_THROW(engine.dismissHistory());

  // A folder where the journal belongs is not Tessel's to delete.
  platform.createDirectories(journalPath + "/keep", 0755);
  EXPECT_THROW(engine.dismissHistory(), PlatformError);
  EXPECT_TRUE(platform.fileExists(journalPath + "/keep"));

  // A journal the disk cannot read stops undo with the system's error, not "nothing to undo".
  platform.removeItem(journalPath);
  temp.file("Support/Tessel/undo.json", "{}");
  platform.failWhere(FileOperation::read, "undo.json", EIO);
  EXPECT_THROW(undo(), PlatformError);
}

TEST_F(JournalTest, AMoveCreatesTheJournalFolderAndWritesEveryFieldInOrder) {
  const std::vector<std::string> two = files(2);
  const std::string identity = fileIdentity(two[0], platform);
  platform.fixedNow = Timestamp::kUnixOffset + 1234.5;
  move({two[0]});
  const auto escaped = [](std::string path) {
    for (size_t at = path.find('/'); at != std::string::npos; at = path.find('/', at + 2)) {
      path.insert(at, 1, '\\');
    }
    return path;
  };
  const MoveJournal first = engine.journal().value();
  EXPECT_EQ(platform.readFile(journalPath),
            R"({"id":")" + first.id.string() + R"(","date":1234.5,"entries":[{"source":")" +
                escaped(two[0]) + R"(","destination":")" + escaped(destination + "/f1") +
                R"(","identity":")" + identity + R"(","pending":false}]})");

  // The next batch replaces the journal as a whole, under a new identifier.
  move({two[1]});
  const MoveJournal second = engine.journal().value();
  EXPECT_NE(second.id, first.id);
  ASSERT_EQ(second.entries.size(), 1u);
  EXPECT_EQ(second.entries[0].source, two[1]);
}

TEST_F(JournalTest, IdentityJoinsDeviceInodeAndBirthTime) {
  EXPECT_EQ(identityString({.device = 2049, .inode = 42, .birthTime = 17e8}),
            "2049:42:1700000000.0");
  EXPECT_EQ(identityString({.device = 2049, .inode = 42, .birthTime = {}}), "2049:42:0.0");
  EXPECT_EQ(errorOf([] { identityString({.device = 2049, .inode = {}, .birthTime = {}}); }),
            "Cannot identify this file.");
}

}  // namespace
}  // namespace tessel::testing

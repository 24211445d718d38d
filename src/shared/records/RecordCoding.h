// The JSON form of each stored record: its keys, in writing order. Adding a record to the files
// means adding one specialisation here.
#pragma once

#include "json/JsonCoder.h"
#include "records/MoveJournal.h"
#include "records/Records.h"

namespace tessel {

template <>
struct JsonFields<FolderGrant> {
  static constexpr auto fields = std::tuple(
      jsonField("id", &FolderGrant::id), jsonField("name", &FolderGrant::name),
      jsonField("path", &FolderGrant::path), jsonField("bookmark", &FolderGrant::bookmark));
};

template <>
struct JsonFields<MenuDestination> {
  static constexpr auto fields = std::tuple(jsonField("name", &MenuDestination::name),
                                            jsonField("path", &MenuDestination::path),
                                            jsonField("children", &MenuDestination::children));
};

template <>
struct JsonFields<MenuSnapshot> {
  static constexpr auto fields = std::tuple(jsonField("roots", &MenuSnapshot::roots),
                                            jsonField("favorites", &MenuSnapshot::favorites),
                                            jsonField("recent", &MenuSnapshot::recent));
};

template <>
struct JsonFields<MoveRequest> {
  static constexpr auto fields =
      std::tuple(jsonField("id", &MoveRequest::id), jsonField("created", &MoveRequest::created),
                 jsonField("sources", &MoveRequest::sources),
                 jsonField("destination", &MoveRequest::destination),
                 jsonField("hierarchical", &MoveRequest::hierarchical),
                 jsonField("operation", &MoveRequest::operation));
};

template <>
struct JsonFields<MoveResult> {
  static constexpr auto fields =
      std::tuple(jsonField("moved", &MoveResult::moved), jsonField("skipped", &MoveResult::skipped),
                 jsonField("failure", &MoveResult::failure));
};

template <>
struct JsonFields<MoveEntry> {
  static constexpr auto fields = std::tuple(
      jsonField("source", &MoveEntry::source), jsonField("destination", &MoveEntry::destination),
      jsonField("identity", &MoveEntry::identity), jsonField("pending", &MoveEntry::pending));
};

template <>
struct JsonFields<MoveJournal> {
  static constexpr auto fields =
      std::tuple(jsonField("id", &MoveJournal::id), jsonField("date", &MoveJournal::date),
                 jsonField("entries", &MoveJournal::entries));
};

}  // namespace tessel

#!/usr/bin/env bash
# Applies a fixed list of single-line faults to src/, one at a time, and reports which of them
# no test catches: the referee for any change that removes or merges tests.
#
#   scripts/mutation-check.sh [FOLDER_PREFIX...]     e.g.  scripts/mutation-check.sh src/shared/json
#   MUTATION_ONLY="M07 M12" scripts/mutation-check.sh   only the faults with those numbers
#   MUTATION_MATRIX=1 scripts/mutation-check.sh         every test that catches each fault
#   MUTATION_SUITES="tessel_shared_tests" ...           only those test programs run
#
# Each fault names a file, a line's text (unique in that file) and its replacement. A fault whose
# text is gone or no longer unique is reported "not applicable", so the list survives edits to the
# code around it. For each fault the file is changed in place, only the test programs whose inputs
# include that file are rebuilt (in build-mutation, at the depth of the normal tree so the
# compiler cache serves it), and they run one by one, each stopping at its first failing test;
# the first failure catches the fault. The file is always put back, also on Ctrl-C. Results go
# to build-mutation/results.txt; the exit status is 0 however many escape.
#
# With MUTATION_MATRIX=1 every affected program runs to its end for every fault, and
# build-mutation/matrix.txt lists, per fault, each test that failed on it. The run ends with the
# tests that alone catch some fault: a test missing from that list catches nothing the others do
# not, which is what tells a merge that loses nothing from one that does.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${MUTATION_BUILD:-build-mutation}
per_suite_timeout=${MUTATION_TIMEOUT:-300}
filters=("$@")
read -r -a only <<<"${MUTATION_ONLY:-}"
matrix=${MUTATION_MATRIX:-}
fail_fast=--gtest_fail_fast
[ -n "$matrix" ] && fail_fast=

# file | what the fault does
# the line's text as it is
# the line's text with the fault
read -r -d '' faults <<'FAULTS'
src/shared/platform/PosixPlatform.cpp | drop the fsync of a durable write
  if (durable && ::fsync(fd.get()) != 0) throw fail(errno);
  if (false && ::fsync(fd.get()) != 0) throw fail(errno);

src/shared/platform/PosixPlatform.cpp | copy opens its target without O_EXCL
  FileDescriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777));
  FileDescriptor out(::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode & 07777));

src/shared/platform/PosixPlatform.cpp | the placeholder is created without O_EXCL
    const int fd = ::openat(toFolder, to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    const int fd = ::openat(toFolder, to, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);

src/shared/platform/PosixPlatform.cpp | a move may replace its target
  if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) return 0;
  if (::renameat2(fromFolder, from, toFolder, to, 0) == 0) return 0;

src/shared/platform/PosixPlatform.cpp | an open folder accepts ".." as an entry name
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
  return !name.empty() && name != "." && name.find('/') == std::string::npos;

src/shared/platform/PosixPlatform.cpp | folders are opened following links
  const int flags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  const int flags = O_PATH | O_DIRECTORY | O_CLOEXEC;

src/shared/engine/MovePlanner.cpp | off by one in the batch size limit
  if (count < 1 || count > kMaxBatchSize) throw refusal(MoveRefusal::batchSize);
  if (count < 1 || count >= kMaxBatchSize) throw refusal(MoveRefusal::batchSize);

src/shared/engine/MovePlanner.cpp | arguments swapped in the into-itself check
    if (PathSafety::containsCanonical(canonical, destination.path)) {
    if (PathSafety::containsCanonical(destination.path, canonical)) {

src/shared/engine/MovePlanner.cpp | the skip policy is flipped
      if (policy == ConflictPolicy::skip) {
      if (policy != ConflictPolicy::skip) {

src/shared/engine/MovePlanner.cpp | keep-both numbering starts at 1
    long long& next = nextNumber_.try_emplace(name, 2).first->second;
    long long& next = nextNumber_.try_emplace(name, 1).first->second;

src/shared/engine/MovePlanner.cpp | a source root itself may be moved
      return root != canonical && PathSafety::containsCanonical(root, canonical);
      return PathSafety::containsCanonical(root, canonical);

src/shared/engine/MovePlanner.cpp | the other-volume check is skipped
    if (!sameVolume(attributes.device, destination.device)) {
    if (false && !sameVolume(attributes.device, destination.device)) {

src/shared/engine/MovePlanner.cpp | symbolic links are not refused
    if (attributes.type == FileType::symbolicLink) throw refusal(MoveRefusal::symbolicLink);
    if (false) throw refusal(MoveRefusal::symbolicLink);

src/shared/engine/MoveEngine.cpp | an interrupted move does not block the next
  if (const std::optional<MoveJournal> last = readableJournal(); last && hasPendingEntry(*last)) {
  if (const std::optional<MoveJournal> last = readableJournal(); last && !hasPendingEntry(*last)) {

src/shared/engine/MoveApply.cpp | entries are journaled as done before the move
      journal.entries.push_back({item.source, item.target, identity, true});
      journal.entries.push_back({item.source, item.target, identity, false});

src/shared/engine/MoveEngine.cpp | clearing the history removes a folder in the journal's place
  if (fm_.attributesOfItem(journalURL_).type == FileType::directory) {
  if (fm_.attributesOfItem(journalURL_).type == FileType::symbolicLink) {

src/shared/engine/MoveUndo.cpp | undo moves back an item that was replaced
  if (!moved.found || identityString(*moved.found) != entry.identity) {
  if (!moved.found) {

src/shared/engine/MoveUndo.cpp | the wrong refusal for an occupied original place
        throw refusal(MoveRefusal::originalPlaceOccupied);
        throw refusal(MoveRefusal::movedItemReplaced);

src/shared/engine/KeepBothName.cpp | a leading dot counts as an extension
  if (dot == std::string_view::npos || dot == 0 || name.starts_with("..") ||
  if (dot == std::string_view::npos || name.starts_with("..") ||

src/shared/engine/KeepBothName.cpp | wrong text in keep-both names
  const std::string number = " (" + std::to_string(n) + ")";
  const std::string number = "(" + std::to_string(n) + ")";

src/shared/engine/MoveApply.cpp | a batch stopped at an item drops that item's pending entry
    journal.entries.resize(moved + (stop->mayHaveMoved ? 1 : 0));
    journal.entries.resize(moved);

src/shared/path/PathSafety.cpp | off by one in the links-followed limit
    if (existing && linksFollowed < kMaxLinksFollowed) {
    if (existing && linksFollowed <= kMaxLinksFollowed) {

src/shared/path/PathSafety.cpp | an absolute link target does not restart at the root
        if (!target->empty() && target->front() == '/') resolved.assign(1, '/');
        if (!target->empty() && target->front() == '#') resolved.assign(1, '/');

src/shared/path/PathSafety.cpp | a sibling with a common prefix counts as inside
         candidate[root.size()] == '/';
         candidate[root.size()] != '\0';

src/shared/path/PathText.cpp | the parent of a top-level item is "."
  if (slash == 0) return "/";
  if (slash == 0) return ".";

src/shared/path/PathText.cpp | ".." cancels a ".." before it
      if (!kept.empty() && kept.back() != "..") {
      if (!kept.empty()) {

src/shared/json/JsonCoder.h | off by one in the nesting limit
  if (context.depth() > kMaxDepth) context.fail(JsonDecodeContext::Problem::tooDeep);
  if (context.depth() > kMaxDepth + 1) context.fail(JsonDecodeContext::Problem::tooDeep);

src/shared/json/JsonText.cpp | DEL-adjacent control bytes left unescaped
        if (static_cast<unsigned char>(c) < 0x20) {
        if (static_cast<unsigned char>(c) < 0x1F) {

src/shared/json/JsonText.cpp | base64 pads a two-byte rest wrongly
    out += rest == 2 ? kBase64Alphabet[(n >> 6) & 63] : '=';
    out += rest == 1 ? kBase64Alphabet[(n >> 6) & 63] : '=';

src/shared/json/JsonText.cpp | base64 accepts "x=y=" padding
    if (padding == 1 && text[i + 2] == '=') return false;  // "x=y=" is not padding
    if (false && text[i + 2] == '=') return false;

src/shared/json/JsonText.cpp | whole numbers are stored without a fraction
  if (text.find('.') == std::string::npos) text += ".0";
  if (text.find('.') == std::string::npos) text += "";

src/shared/core/DisplayPath.cpp | UTF-16 surrogates count as valid UTF-8
    if (b0 == 0xED) high = 0x9F;
    if (b0 == 0xED) high = 0xBF;

src/shared/core/DisplayPath.cpp | overlong two-byte sequences count as valid UTF-8
  if (b0 >= 0xC2 && b0 <= 0xDF) {
  if (b0 >= 0xC0 && b0 <= 0xDF) {

src/shared/core/Localization.cpp | LANGUAGE is split at the wrong character
      const size_t end = std::min(list->find(':', start), list->size());
      const size_t end = std::min(list->find(';', start), list->size());

src/shared/core/Bundle.cpp | a false flag reads as true
  return value != info.end() && value->is_boolean() && value->get<bool>();
  return value != info.end() && value->is_boolean();

src/shared/records/Uuid.cpp | a UUID is written in lower case
  uuid_unparse_upper(bytes_.data(), text);
  uuid_unparse_lower(bytes_.data(), text);

src/shared/records/Uuid.cpp | every new UUID is the same
  uuid_generate_random(id.bytes_.data());
  uuid_clear(id.bytes_.data());

src/shared/records/ConflictPolicy.cpp | wrong text for the keep-both policy
      return "keepBoth";
      return "keepboth";

src/shared/container/SharedContainer.cpp | off by one in the request size limit
  if (bytes.size() > kMaxRequestBytes) throw tooLarge();
  if (bytes.size() > kMaxRequestBytes + 1) throw tooLarge();

src/shared/container/SharedContainer.cpp | requests from the future count as fresh
  return std::fabs(age) < kMaxRequestAge;
  return age < kMaxRequestAge;

src/shared/container/SharedContainer.cpp | a request is not checked against its file name
  if (request.id != id) throw misnamed();
  if (false) throw misnamed();

src/shared/core/DataHome.cpp | a relative XDG_DATA_HOME is used
  if (configured && !configured->empty() && configured->front() == '/') return *configured;
  if (configured && !configured->empty()) return *configured;

src/app/model/MenuTree.cpp | off by one in the menu depth limit
  if (depth >= kMenuDepthLimit || budget < 1) return destination;
  if (depth > kMenuDepthLimit || budget < 1) return destination;

src/app/model/MenuTree.cpp | off by one in the folder budget
    if (budget < 1) break;
    if (budget < 0) break;

src/app/model/MenuTree.cpp | hidden folders are listed
    return entry.type != FileType::directory || entry.name.starts_with('.') ||
    return entry.type != FileType::directory ||

src/app/model/SettingsStore.cpp | the unreadable copy overwrites an earlier one
      if (error.code() != EEXIST) return std::nullopt;
      if (error.code() == EEXIST) return std::nullopt;

src/app/model/SettingsStore.cpp | settings are saved without durability
  platform_.writeFileAtomically(settingsPath(), encodeJson(settings), Durability::durable);
  platform_.writeFileAtomically(settingsPath(), encodeJson(settings), Durability::atomic);

src/app/model/HostSettings.cpp | off by one in the recent list
  if (recent.size() > kRecentLimit) recent.resize(kRecentLimit);
  if (recent.size() > kRecentLimit + 1) recent.resize(kRecentLimit + 1);

src/app/model/MountedVolumes.cpp | a folder sharing a prefix with /media counts as inside it
  if (path.size() <= folder.size() + 1 || !path.starts_with(folder) || path[folder.size()] != '/') {
  if (path.size() <= folder.size() + 1 || !path.starts_with(folder)) {

src/app/model/FolderAccess.cpp | a stale bookmark is reopened
    if (resolved.stale || !FolderBookmark::startAccessing(resolved.path, platform_)) {
    if (!FolderBookmark::startAccessing(resolved.path, platform_)) {

src/app/model/TextSplit.cpp | empty pieces are kept
    if (end > start) pieces.push_back(text.substr(start, end - start));
    pieces.push_back(text.substr(start, end - start));

src/app/window/SettingsEdits.cpp | a favourite can move past the end of the list
      static_cast<size_t>(target) >= favorites.size()) {
      static_cast<size_t>(target) > favorites.size()) {

src/app/window/FolderDisplay.cpp | a folder sharing a prefix with home is shown under ~
  if (!home.isEmpty() && path.startsWith(inside)) {
  if (!home.isEmpty() && path.startsWith(home)) {

src/app/window/WindowTexts.cpp | wrong text in the folder count
  return withCount(count, "件", " folders");
  return withCount(count, "件", " folder");

src/app/window/WindowTexts.cpp | the move-up label says down
  return withName("を上へ移動", "Move ", " up", name);
  return withName("を上へ移動", "Move ", " down", name);

src/app/application/FavoriteIndex.cpp | "+-1" reads as a favourite index
    if (digits.empty() || digits.front() == '-') return std::nullopt;
    if (digits.empty()) return std::nullopt;

src/app/application/ApplicationTexts.cpp | favourites are numbered from 0 in the message
                            : std::to_string(index + 1);
                            : std::to_string(index);

src/app/application/LaunchCommand.cpp | a remote URL is taken as an item
    if (url.isLocalFile()) return url;
    return url;

src/app/application/LaunchCommand.cpp | any first argument is taken as user data
    if (!rest.isEmpty() && rest.front().startsWith(kUserDataPrefix)) {
    if (!rest.isEmpty()) {

src/app/application/SingleInstance.cpp | off by one in the largest message
      if (buffer->size() > kLargestMessage) {
      if (buffer->size() > kLargestMessage + 1) {

src/app/main.cpp | the running host's answer is not printed
        if (!handed.reply.isEmpty()) std::fprintf(stderr, "tessel: %s\n", handed.reply.constData());
        if (false) std::fprintf(stderr, "tessel: %s\n", handed.reply.constData());

src/finder/core/FinderSync.cpp | off by one in the command table limit
    firstKeptTag = nextTag - kMaxCommands;
    firstKeptTag = nextTag - kMaxCommands + 1;

src/finder/core/FinderMenu.cpp | recent favourites move hierarchically
          return Command{Command::Move{destination.path, !isFavorite(destination.path, snapshot)}};
          return Command{Command::Move{destination.path, isFavorite(destination.path, snapshot)}};

src/finder/core/FinderMenu.cpp | an empty selection enables moving
    canMove = selection && !selection->empty();
    canMove = selection.has_value();

src/finder/core/FinderMenu.cpp | wrong text in the move-here item
  std::string moveHere = localizedText("ここへ移動", "Move Here");
  std::string moveHere = localizedText("ここへ移動", "Move here");

src/shared/request/HostRequest.cpp | wrong command text for undo
          return MoveRequest::make({}, "", false, kUndoOperation, platform);
          return MoveRequest::make({}, "", false, "Undo", platform);

src/finder/core/FinderDispatch.cpp | an empty selection is sent
  if (!selection || selection->empty()) {
  if (!selection) {

src/finder/core/HostApplication.cpp | the host beside the module is ignored
  if (platform.fileExists(beside)) return beside;
  if (false) return beside;

src/finder/cli/TitlePath.cpp | wrong title separator
constexpr std::string_view kSeparator = " > ";
constexpr std::string_view kSeparator = ">";

src/finder/cli/TitlePath.cpp | a separator line matches a title
      if (!item.separator && item.title == title) {
      if (item.title == title) {

src/finder/cli/CommandLine.cpp | --json is accepted by every verb
  if (json && invocation.verb != "menu") throw unexpected("--json");
  if (false) throw unexpected("--json");

src/finder/cli/MenuText.cpp | disabled items are not marked
    if (!item.enabled) out << "  " << disabledNote;
    if (item.enabled) out << "  " << disabledNote;

src/finder/gtk/ModuleMenuItems.h | an empty submenu is offered as a submenu
    if (children.empty()) {
    if (false) {

src/finder/gtk/ModuleMenuItems.h | disabled commands stay sensitive
    connectCommand(G_OBJECT(result), owner_, session_, *item.tag, selection_);
    connectCommand(G_OBJECT(result), owner_, session_, *item.tag, selection_), g_object_set(result, "sensitive", TRUE, nullptr);

src/finder/gtk/ModuleProvider.h | a selection with a non-local item still gets a menu
    for (GList* file = files; file; file = file->next) {
    for (GList* file = files; file && localPath(Api::location(static_cast<typename Api::FileInfo*>(file->data))); file = file->next) {

src/finder/core/ModuleFinderController.cpp | the watched folder itself offers the item menu
        (orIsWatched || standardized != folder)) {
        (orIsWatched || true)) {
FAULTS

# The test programs, in the order they run: the narrowest first, so most faults are caught by a
# quick one. Each line: program, environment, arguments.
suites=(
  "tessel_shared_tests||"
  "tessel_finder_tests||"
  "tessel_app_tests||"
  "tessel_window_tests|QT_QPA_PLATFORM=offscreen|"
  "tessel_nautilus_tests|G_DEBUG=fatal-warnings|"
  "tessel_application_tests|QT_QPA_PLATFORM=offscreen|"
  "tessel-engine||crash-test"
)

# A narrower set of programs answers a narrower question (which of these tests catch a fault),
# much faster; a fault none of them catches may still be caught by another.
if [ -n "${MUTATION_SUITES:-}" ]; then
  kept=()
  for entry in "${suites[@]}"; do
    [[ " $MUTATION_SUITES " == *" ${entry%%|*} "* ]] && kept+=("$entry")
  done
  if [ ${#kept[@]} -eq 0 ]; then
    echo "MUTATION_SUITES names no test program this script runs: $MUTATION_SUITES" >&2
    exit 2
  fi
  suites=("${kept[@]}")
fi

mkdir -p "$build"
results=$build/results.txt
log=$build/mutants.log
matrix_file=$build/matrix.txt
output=$build/suite-output.txt
: >"$results"
: >"$log"
: >"$matrix_file"

backup=$(mktemp "${TMPDIR:-/tmp}/tessel-mutant-XXXXXX")
mutated=
restore() {
  if [ -n "$mutated" ]; then
    cat "$backup" >"$mutated"
    mutated=
  fi
}
trap 'restore; rm -f "$backup"' EXIT
trap 'restore; rm -f "$backup"; echo "interrupted: source restored" >&2; exit 130' INT TERM HUP

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi

# Runs one suite; 0 when all its tests pass.
run_suite() {
  local program=$1 environment=$2 mode=$3
  if [ "$mode" = crash-test ]; then
    timeout "$per_suite_timeout" scripts/crash-test.sh "$build/bin/$program" 10
  else
    # shellcheck disable=SC2086
    env $environment timeout "$per_suite_timeout" dbus-run-session -- \
      "$build/bin/$program" $fail_fast --gtest_brief=1
  fi
}

# The suites whose program is built from the file (directly, or as a program it starts).
suites_for() {
  local file=$1 entry program
  for entry in "${suites[@]}"; do
    program=${entry%%|*}
    # grep reads every line: quitting at the first match would kill ninja with SIGPIPE, and
    # pipefail would then count the program out.
    if ninja -C "$build" -t inputs "$program" 2>/dev/null | grep -xF "$root/$file" >/dev/null; then
      echo "$entry"
    elif [[ $file == *.h ]]; then
      echo "$entry"  # headers are not listed as inputs: every program might include it
    fi
  done
}

wanted() {
  local file=$1 label=$2 prefix
  if [ ${#only[@]} -gt 0 ] && [[ " ${only[*]} " != *" ${label%% *} "* ]]; then return 1; fi
  [ ${#filters[@]} -eq 0 ] && return 0
  for prefix in "${filters[@]}"; do [[ $file == "$prefix"* ]] && return 0; done
  return 1
}

# Nothing counts until every suite passes on the code as it is.
echo "== Baseline build and run in $build"
programs=()
for entry in "${suites[@]}"; do programs+=("${entry%%|*}"); done
if ! cmake --build "$build" --target "${programs[@]}" >>"$log" 2>&1; then
  echo "The unchanged tree does not build; see $log" >&2
  exit 1
fi
for entry in "${suites[@]}"; do
  IFS='|' read -r program environment mode <<<"$entry"
  if ! run_suite "$program" "$environment" "$mode" >>"$log" 2>&1; then
    echo "$program fails on the unchanged tree; see $log" >&2
    exit 1
  fi
done

caught=0 escaped=0 skipped=0 number=0
while IFS= read -r -u 3 header && IFS= read -r -u 3 original && IFS= read -r -u 3 replacement; do
  IFS= read -r -u 3 _ || true  # the blank line between faults
  number=$((number + 1))
  file=${header%% | *}
  what=${header#* | }
  label=$(printf 'M%02d %s: %s' "$number" "$file" "$what")
  wanted "$file" "$label" || continue
  original=${original#"${original%%[![:space:]]*}"}
  replacement=${replacement#"${replacement%%[![:space:]]*}"}
  if [ ! -f "$file" ] || [ "$(grep -cF -- "$original" "$file")" != 1 ]; then
    echo "not applicable  $label" | tee -a "$results"
    skipped=$((skipped + 1))
    continue
  fi
  cp -p "$file" "$backup"
  mutated=$file
  python3 - "$file" "$original" "$replacement" <<'PY'
import sys
path, original, replacement = sys.argv[1:]
text = open(path, encoding="utf-8").read()
open(path, "w", encoding="utf-8").write(text.replace(original, replacement, 1))
PY
  verdict="not caught"
  catchers=()
  mapfile -t affected < <(suites_for "$file")
  echo "== $label (${#affected[@]} programs)" >>"$log"
  for entry in "${affected[@]}"; do
    IFS='|' read -r program environment mode <<<"$entry"
    if ! cmake --build "$build" --target "$program" >>"$log" 2>&1; then
      verdict="does not build"
      break
    fi
    run_suite "$program" "$environment" "$mode" >"$output" 2>&1
    status=$?
    cat "$output" >>"$log"
    [ $status -eq 0 ] && continue
    [ "$verdict" = "not caught" ] && verdict="caught by $program"
    [ -z "$matrix" ] && break
    # A program that crashed or timed out names no failed test: it counts as one catcher, as
    # does the crash test, which has no tests of its own.
    mapfile -t failed < <(sed -n "s/^\[  FAILED  \] \([^ ,]*\)[ ,].* ms)$/$program:\1/p" "$output")
    [ ${#failed[@]} -eq 0 ] && failed=("$program:${mode:-whole-program}")
    catchers+=("${failed[@]}")
  done
  restore
  [ -n "$matrix" ] && echo "${label%% *} ${catchers[*]}" >>"$matrix_file"
  case $verdict in
    caught*) caught=$((caught + 1)) ;;
    "not caught") escaped=$((escaped + 1)) ;;
    *) skipped=$((skipped + 1)) ;;
  esac
  echo "$verdict  $label" | tee -a "$results"
done 3<<<"$faults"

echo "$caught caught, $escaped not caught, $skipped not applicable or not building" | tee -a "$results"
if [ -n "$matrix" ]; then
  echo "== Tests that alone catch a fault (the rest are in $matrix_file)"
  awk 'NF == 2 { sole[$2] = sole[$2] " " $1 } END { for (t in sole) print t ":" sole[t] }' \
    "$matrix_file" | sort
fi

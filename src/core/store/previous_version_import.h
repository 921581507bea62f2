// Carrying the learner's own data of an earlier installation into the data
// file once: the whole History and the papers he generated, renumbered into
// the range of user papers. ConfigProduct.LastVerFile names the earlier
// file, relative to the data folder; a complete import empties it.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace quillory {

class DataStore;
class Host;
class Progress;
class Settings;

// Caption of the import's progress windows.
inline constexpr char kImportTitle[] = "产品升级 ";

// Opens a progress window for one stage of the import; the stage closes it
// by releasing it.
using OpenProgress = std::function<std::unique_ptr<Progress>()>;

enum class ImportOutcome { NothingToImport, Imported, Failed };

struct ImportResult {
    ImportOutcome outcome = ImportOutcome::NothingToImport;
    int historyRows = 0;  // copied History rows
    int paperRows = 0;    // copied Paper rows
    std::string error;    // Failed: what the learner was told
};

// The earlier file LastVerFile names (trimmed, "\" read as "/", joined to
// the data folder); empty when LastVerFile is blank. False when
// ConfigProduct cannot be read.
bool LastVersionFile(DataStore& store, const std::string& dataFolder, std::string& file);

// The import from the file LastVerFile names; nothing when it is blank.
// All or nothing: on a failure the data file keeps no copied row and its
// LastVerFile, and host is told once what failed.
ImportResult ImportPreviousVersion(DataStore& store, const std::string& dataFolder, Host& host,
                                   const OpenProgress& openProgress);

// The import as the program runs it after every open: as above, except that
// an earlier file that does not exist is reported once for the value
// LastVerFile holds (settings remember it), and then passed over silently
// until the value changes.
ImportResult ImportAtStart(DataStore& store, const std::string& dataFolder, Host& host,
                           Settings& settings, const OpenProgress& openProgress);

// The same from a named earlier file. LastVerFile is emptied only when it
// names that same file, so an import still pending stays pending.
ImportResult ImportEarlierFile(DataStore& store, const std::string& dataFolder,
                               const std::string& earlierFile, Host& host,
                               const OpenProgress& openProgress);

}  // namespace quillory

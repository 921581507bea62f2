// Where a composed file (a page, the print file) may be written. Its path is
// made from what a row or a title says, so it could name the bank's own
// files; written there, they would be lost, and the view deletes its pages
// when it closes.
#pragma once

#include <optional>
#include <string>

#include "core/pages/page_context.h"

namespace quillory {

// True when path lies in the data folder (symbolic links worked out) and is
// neither a symbolic link, nor the data file (or its journal), nor a file
// that a location of a table names (Paper.Url, Question.Url,
// Question.AnswerUrl, Knowledge.Url, PaperTemplate.Url). Otherwise false, and the learner is told
// that nothing was written. A database error refuses too: a file not known to be free is not
// replaced.
bool MayWriteComposedFile(PageContext& context, const std::string& path);

// Whether a location of one of those tables names the file at path, however
// it is spelled; nothing on a database error.
std::optional<bool> IsNamedByATable(DataStore& store, const std::string& dataFolder,
                                    const std::string& path);

}  // namespace quillory

// Reading source pages and writing the composed pages beside them, with the
// messages the learner sees when a file fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillory {

class Host;

// The whole source page, cut at its first NUL byte. A file that cannot be
// opened (a folder among them) is reported ("无法打开文件" + path) and reads as an empty page; a
// read that fails after the open is reported with the file-error text and
// gives nothing, which ends the composition.
std::optional<std::string> ReadSourcePage(const std::string& path, Host& host);

// The composed page's path: the source path without its last character, so
// "a.html" gives "a.htm" in the same folder.
std::string ComposedPagePath(const std::string& sourcePath);

// Writes the page, replacing an earlier one. A file that cannot be created is
// reported ("不能写入文件" + path) and true is returned, since the view still
// goes there; a write that fails after the open is reported with the
// file-error text and returns false: the view does not go there.
bool WriteComposedPage(const std::string& path, std::string_view content, Host& host);

// Navigates the view to a composed page and lists it for deletion.
void ShowComposedPage(const std::string& path, Host& host);

}  // namespace quillory

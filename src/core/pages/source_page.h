// The one way a page is composed from a source page of the bank: the
// location is resolved, a remote one is handed to the browser, a local one
// is read, edited, written beside the source (the source path without its
// last character, so "a.html" gives "a.htm") and shown.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/pages/page_context.h"
#include "core/pages/page_text.h"

namespace quillory {

// Changes the source page (in its own encoding) into the composed page;
// false ends the composition without a page (a database error, already
// handled).
using PageEdit = std::function<bool(std::string& page, PageEncoding encoding)>;

// An empty location shows nothing, a remote one is navigated to unchanged
// (no edit, nothing listed). A local one outside the data folder, or a
// source that cannot be opened, is reported as "无法打开文件" + path; a
// source that cannot be opened is composed as an empty page. A composed
// page that would replace a file of the bank (MayWriteComposedFile) is
// refused before anything is read or written.
void ShowSourcePage(PageContext& context, std::string_view location, const PageEdit& edit);

}  // namespace quillory

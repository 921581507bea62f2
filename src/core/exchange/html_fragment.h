// HTML that question files carry (Moodle XML texts, QTI item bodies) as the
// model's fragments: written anew from libxml2's tree with only the markup
// of text, tables, pictures and formulas, so a file cannot bring scripts,
// frames, forms or event handlers into the view. Namespaces are dropped.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/imported_question.h"

struct _xmlNode;

namespace quillory {

struct FragmentRules {
    // What a picture's src becomes: a media name, another src to keep, or
    // empty to leave the picture out.
    std::function<std::string(const std::string& src)> image;
    // Writes an element the format gives a meaning of its own (QTI's
    // interactions) and returns true; false writes it as HTML.
    std::function<bool(const _xmlNode* element, std::string& out)> element;
};

struct Fragment {
    std::string html;
    bool removed = false;  // scripts, frames, forms, media or event handlers left out
};

// The node and its following siblings.
Fragment WriteFragment(const _xmlNode* first, const FragmentRules& rules);

// An HTML text as a browser would read it (libxml2's HTML parser).
Fragment ReadHtmlFragment(std::string_view html, const FragmentRules& rules);

// A URL's %XX escapes read, as a link to a file names it.
std::string UrlDecoded(std::string_view url);

// The fragment without the paragraph it lies in when it is one paragraph,
// for texts that stand in a line of their own (an option, a note).
std::string InlineFragment(std::string html);

// Adds a picture to a question's media and returns the name its texts use:
// the file's own name made plain, with "_2", "_3"… before the extension when
// other bytes have that name already.
std::string AddPicture(std::vector<MediaFile>& media, const std::string& name, std::string bytes);

}  // namespace quillory

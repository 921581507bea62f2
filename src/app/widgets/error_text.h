// The Chinese text a learner reads for a failure of the core, chosen by its
// code: every window that shows one takes its words from here.
#pragma once

#include <QString>

#include "core/common/result.h"

// By the code alone; the English detail is added where it gives the
// engine's or the system's reason.
QString ErrorText(const quillory::Error& error);

// For a practice paper that was not made: the words of the generation
// windows, else as ErrorText.
QString PaperErrorText(const quillory::Error& error);

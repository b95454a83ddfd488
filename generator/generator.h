// The generator's own entry and the small text rules of its dialogue.
#pragma once

#include <string_view>

#include "runtime/text.h"

// The whole dialogue, from the banner to the report. Gives the process's exit code: 0 for a made
// include file or an empty message, 1 when the run failed.
int GeneratorMain();

// The first field of a typed line: a quoted text, or the text up to the first comma without its
// trailing blanks; leading blanks passed over.
Text FirstField(std::string_view line);

// Upper-cased and cut to 13 characters; nothing trimmed.
Text NormaliseMessage(std::string_view typed);

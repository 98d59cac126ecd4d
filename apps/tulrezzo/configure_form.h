// `tulrezzo resize --configure`: the filter's own property page, shown on
// the controlling terminal as a form. Group boxes become headings, edits
// prompts with their label and value (`Width(X) [320]:`), radio buttons
// a numbered choice (`1 (*) Fit destination Size`); Enter keeps a value.
// Then the page is applied and the run starts, or the user cancels; a
// size the filter refuses is shown and the form asked again.
#pragma once

#include "apps/tulrezzo/options.h"

#include <iosfwd>

class PropertyFrame;

namespace tulrezzo {

// ConfigureAtTerminal's result when the run should go on.
constexpr int kConfigured = -1;

// The form over the page open in frame: true once Apply succeeded and
// the user chose to start, false when they cancel or in ends.
bool RunPageForm(PropertyFrame& frame, std::istream& in, std::ostream& out);

// Creates a filter set from options, its page (through the registry when
// the page's class is registered, else in process) and shows the form on
// /dev/tty, so standard input may still carry the video. On start the
// filter's size and mode go into options and the result is kConfigured;
// otherwise the exit status: 0 when cancelled, 2 without a terminal, 1
// when the page cannot be had. Messages go to err. Throws nothing.
int ConfigureAtTerminal(ResizeOptions* options, std::ostream& err);

}  // namespace tulrezzo

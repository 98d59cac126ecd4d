// `tulrezzo diff A [B]`: the library's frame-difference measure for each
// frame against the previous one (one input) or against the other input's
// frame (two), as CSV on standard output; --cuts prints only the frames
// whose measure exceeds a threshold, a list of scene cuts.
#pragma once

#include "apps/tulrezzo/input_words.h"
#include "apps/tulrezzo/picture_source.h"

#include <iosfwd>

namespace tulrezzo {

struct DiffWords {
    std::string a, b, cuts, frames;
    RawWords raw;
    bool quiet = false;
};

struct DiffOptions {
    std::string a, b;  // b empty: each frame of a against its previous one
    PictureInputKind kindA = PictureInputKind::Y4m, kindB = PictureInputKind::Y4m;
    StreamInfo raw;
    bool cuts = false;
    ULONG threshold = 0;
    ULONG frames = 0;
    bool quiet = false;
};

CLI::App* AddDiffCommand(CLI::App& app, DiffWords* words);
DiffOptions CheckDiff(const DiffWords& words);
// The CSV goes to out; 0, or 1 with one line on err.
int RunDiff(const DiffOptions& options, std::ostream& out, std::ostream& err, bool showProgress);

}  // namespace tulrezzo

// tulrezzo: streams video through the Vexo Tul Rezzo Filter from a
// terminal, runs the picture library's jobs, and registers the filter
// module. Exit status 0 on success, 2 for a wrong command line, 1 for
// anything else.
#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/options.h"
#include "apps/tulrezzo/resize_job.h"

#include <csignal>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    // A reader that closes the pipe early must give a write error we can
    // report, not a silent death by SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        tulrezzo::ResizeOptions options;
        tulrezzo::RegistrationCommand registration;
        tulrezzo::PictureCommand picture;
        const tulrezzo::ParseOutcome parsed = tulrezzo::ParseCommandLine(argc, argv, &options, std::cout, std::cerr,
                                                                         {&registration, &picture});
        if (!parsed.run)
            return parsed.status;
        const bool terminal = isatty(STDERR_FILENO) == 1;
        switch (parsed.command) {
        case tulrezzo::Command::Registration:
            return tulrezzo::RunRegistrationCommand(registration, std::cout, std::cerr);
        case tulrezzo::Command::Picture:
            return tulrezzo::RunPictureCommand(picture, std::cout, std::cerr, terminal);
        case tulrezzo::Command::Resize:
            break;
        }
        return tulrezzo::RunResize(options, std::cerr, terminal);
    } catch (...) {
        std::cerr << "tulrezzo: unexpected failure\n";
        return tulrezzo::kExitFailure;
    }
}

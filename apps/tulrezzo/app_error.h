// The failure a run of tulrezzo ends with: a one-line message for standard
// error and the exit status that goes with it.
#pragma once

#include <stdexcept>
#include <string>

namespace tulrezzo {

enum ExitStatus : int {
    kExitOk = 0,
    kExitFailure = 1,  // files, headers, streaming: everything but usage
    kExitUsage = 2,    // the command line itself is wrong
};

class AppError : public std::runtime_error {
public:
    AppError(ExitStatus status, const std::string& message) : std::runtime_error(message), m_status(status) {}
    ExitStatus Status() const { return m_status; }

private:
    ExitStatus m_status;
};

inline AppError UsageError(const std::string& message) { return AppError(kExitUsage, message); }
inline AppError Failure(const std::string& message) { return AppError(kExitFailure, message); }

}  // namespace tulrezzo

#pragma once

#include <functional>
#include <string>

namespace actions::detail {

/// Runs fnBody, a save, mail or print the user asked for (by a command or as an automatic
/// action); when it fails, whoever listens hears that it was not done and why
/// (Notice::Kind::NotDone) before the error goes on to the caller, which may show or log it.
void TellingFailure(const std::function<void()>& fnBody);

/// Tells whoever listens that an action the user asked for was not done, and why.
void TellNotDone(const std::string& sWhat, const std::string& sWhy);

} // namespace actions::detail

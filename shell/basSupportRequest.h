#pragma once

#include <cstdint>
#include <string>

namespace shell::basSupportRequest {

/// Prepares a mail to the support desk and shows it, unsent, in the client's mail window:
/// a heading for the user's description, the system information and the error log as an
/// attachment when it exists. Every step ignores its own failure; nothing is raised.
void CreateSupportRequest();

/// The text of an index in the add-in's language: 1 the description heading, 2 the subject;
/// empty for any other index.
std::string GetSupportText(int index);

/// The text of a store kind as the mail shows it.
std::string StoreKindText(long kind);

/// The Exchange version of a 64-bit version value: its four 16-bit words, most significant
/// first, each as a signed number, joined by ".".
std::string ExchangeVersionText(std::int64_t value);

} // namespace shell::basSupportRequest

#pragma once
// Why the system refused a file operation, in Turkish words for a message.

#include <string>

namespace orvena {

// The reason for errno value err: "diskte yer kalmadı" for ENOSPC, and so on; an error without
// Turkish words of its own is named by its number and the system's own text.
std::string system_reason(int err);

}  // namespace orvena

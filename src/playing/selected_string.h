#pragma once
// The handlers that act on the selected string (its lever, its tuning peg) need one to be
// selected; until then they ask the user to choose one. Event thread only.

#include "display/play_context.h"

namespace orvena {

inline constexpr const char* kChooseAString = "bir perde seçin";

// True when a string is selected; otherwise shows "bir perde seçin" and returns false.
bool has_selected_string(PlayContext& ctx);

}  // namespace orvena

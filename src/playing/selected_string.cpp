#include "playing/selected_string.h"

namespace orvena {

bool has_selected_string(PlayContext& ctx) {
    if (ctx.st.selection.cur_string != 0) return true;
    ctx.dialogs.message(kChooseAString);
    return false;
}

}  // namespace orvena

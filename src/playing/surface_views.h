#pragma once
// The display methods bound to the window's picture surfaces.

#include <QImage>
#include <functional>

#include "playing/mandal_at.h"
#include "display/views.h"
#include "surface/surface.h"
#include "tuning/instrument_state.h"

namespace orvena {

struct PictureSurfaces {
    Surface& Picture1;   // lever strip
    Surface& Picture2;   // instrument
    Surface& Picture3;   // staff
    Surface& Picture6;   // information panel
    Surface& Picture10;  // key legend and lever numbers
};

class SurfaceViews : public Views {
  public:
    SurfaceViews(const InstrumentState& st, PictureSurfaces pictures, QImage notation_sheet,
                 char decimal_separator);

    // Whether Check1 (lever numbers along the slanted edge) is checked.
    std::function<bool()> check1_checked = [] { return false; };
    // Moves and resizes the Picture1 widget after every lever drawing.
    std::function<void(const LeverStripPlacement&)> place_lever_strip;

    void tel_çiz() override;
    void mandal_at() override;
    void porte() override;
    void etiket() override;
    void arıza_yaz(int s) override;
    void diyagonal_yaz() override;
    void diyagonal_sil() override;
    void mark_key(int s, bool held) override;

  private:
    const InstrumentState& st_;
    PictureSurfaces pic_;
    QImage sheet_;
    char decimal_separator_;
};

}  // namespace orvena

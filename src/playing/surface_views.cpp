#include "playing/surface_views.h"

#include "display/ariza_yaz.h"
#include "display/diyagonal.h"
#include "display/etiket.h"
#include "display/instrument_drawing.h"
#include "display/key_legend.h"
#include "display/porte.h"

namespace orvena {

SurfaceViews::SurfaceViews(const InstrumentState& st, PictureSurfaces pictures,
                           QImage notation_sheet, char decimal_separator)
    : st_(st),
      pic_(pictures),
      sheet_(std::move(notation_sheet)),
      decimal_separator_(decimal_separator) {}

void SurfaceViews::tel_çiz() {
    orvena::tel_çiz(pic_.Picture2, st_.selection);
}

void SurfaceViews::mandal_at() {
    const LeverStripPlacement placement = orvena::mandal_at(pic_.Picture1, st_);
    if (place_lever_strip) place_lever_strip(placement);
}

void SurfaceViews::porte() {
    orvena::porte(pic_.Picture3, sheet_, st_);
}

void SurfaceViews::etiket() {
    orvena::etiket(pic_.Picture6, st_, decimal_separator_);
}

void SurfaceViews::arıza_yaz(int s) {
    orvena::arıza_yaz(pic_.Picture10, pic_.Picture2, st_, s, check1_checked());
}

void SurfaceViews::diyagonal_yaz() {
    orvena::diyagonal_yaz(pic_.Picture2, st_.settings);
}

void SurfaceViews::diyagonal_sil() {
    orvena::diyagonal_sil(pic_.Picture2);
}

void SurfaceViews::mark_key(int s, bool held) {
    print_key_letter(pic_.Picture10, st_, s, held ? qRgb(0, 0, 0) : qRgb(0, 255, 0));
}

}  // namespace orvena

#pragma once
// The display methods that lever and playing handlers call after changing the state. Each
// redraws its whole area from the state. The window binds them to its picture surfaces;
// tests can bind them to surfaces of their own or record the calls.

namespace orvena {

class Views {
  public:
    virtual ~Views() = default;
    virtual void tel_çiz() = 0;         // the 26 strings, the selected one black
    virtual void mandal_at() = 0;       // lever strip of the selected string
    virtual void porte() = 0;           // staff with the note and its sign
    virtual void etiket() = 0;          // information panel
    virtual void arıza_yaz(int s) = 0;  // lever number of string s in the legend
    virtual void diyagonal_yaz() = 0;   // lever numbers along the slanted edge
    virtual void diyagonal_sil() = 0;   // blank boxes where those numbers stand
    // Reprints the key letter of string s in the legend: black while held, green released.
    virtual void mark_key(int s, bool held) = 0;

    // What every handler redraws once the selected string, its lever or its tuning changed:
    // the lever strip, the staff and the panel.
    void show_selected_string() {
        mandal_at();
        porte();
        etiket();
    }
};

}  // namespace orvena

#pragma once
// Geometry of the main window as arayüzyerleşimi sets it at start-up: the window's size and
// centred position on the screen (twips, 15 to the pixel), the instrument drawing Picture2
// and the pictures on it, the key-help label, the two rows of control groups spread over the
// drawing's width, and the two file lists over the drawing. Pure: the window applies it.

namespace orvena {

inline constexpr int kTwipsPerPixel = 15;

// Left and top may fall between pixels (Picture2's left is 10.67 on any screen): they are
// kept exact here and rounded only when a widget is placed.
struct Box {
    double left = 0;
    double top = 0;
    int width = 0;
    int height = 0;
};

// Sizes of the groups as designed; the layout moves them but does not size them.
struct DesignSizes {
    int Frame3_w = 337, Frame3_h = 52;
    int Frame7_w = 65, Frame7_h = 52;
    int Frame10_w = 233, Frame10_h = 49;
    int Frame4_w = 129, Frame4_h = 100;
    int Frame1_w = 169, Frame1_h = 100;
    int Frame5_w = 233, Frame5_h = 100;
    int Frame2_w = 320, Frame2_h = 100;
    int Frame11_w = 40, Frame11_h = 24;
    int Check1_w = 15, Check1_h = 15;
};

struct WindowLayout {
    // The window on the screen, twips (outer size, decorations included).
    double window_left_twips = 0;
    double window_top_twips = 0;
    int window_width_twips = 0;
    int window_height_twips = 0;

    // Window pixels.
    Box Picture2;
    // Pixels of Picture2.
    Box Picture1, Picture3, Picture6, Picture5, Picture10, Frame11, Check1;
    // Window pixels.
    Box Label36;
    Box Frame3, Frame7, Frame10;         // top row
    Box Frame4, Frame1, Frame5, Frame2;  // bottom row
    Box File2, File3;
    int top_gap = 0;
    int bottom_gap = 0;
};

// screen size in twips (pixels × 15 on an ordinary screen).
WindowLayout arayüzyerleşimi_geometry(double screen_width_twips, double screen_height_twips,
                                      const DesignSizes& design = DesignSizes{});

// The window's client area in pixels: the layout's outer size less what the window system's
// frame adds (title bar and borders, frame_width × frame_height px, known once it shows), and
// the frame's top-left corner on the screen.
struct ClientPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
ClientPlacement client_placement(const WindowLayout& layout, int frame_width, int frame_height);

// The key-help label's three lines (arrow keys: one string up, lever down / up, one string
// down), joined by CR LF.
extern const char* const kLabel36Caption;

}  // namespace orvena

#pragma once
// Tests that print text or build widgets need a Qt application (font database, styles).
// Call ensure_qt_app() before; it creates one offscreen application for the whole run.

namespace orvena::test {

void ensure_qt_app();

// 0xRRGGBB as Surface::pixel reports colours (no alpha).
constexpr unsigned rgb(unsigned r, unsigned g, unsigned b) {
    return (r << 16) | (g << 8) | b;
}

}  // namespace orvena::test

// The window's own picture surfaces as the user sees them: the information panel's colour
// before and after a string is chosen, and lever numbers that leave nothing behind outside
// the boxes they are written and erased in.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include <string>
#include <vector>

#include "display/diyagonal.h"
#include "shell/program.h"
#include "shell_test_support.h"
#include "support/recording_dialogs.h"

namespace orvena {
namespace {

constexpr QRgb kPeach = 0xFFE0C0, kBlack = 0x000000;

// The first pixel where two images differ, or "" when they are equal.
std::string first_difference(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return std::to_string(x) + "," + std::to_string(y);
    return {};
}

// Marks the pixels of the 26 diagonal number boxes.
std::vector<std::vector<bool>> diagonal_boxes(int width, int height) {
    std::vector<std::vector<bool>> inside(static_cast<std::size_t>(height),
                                          std::vector<bool>(static_cast<std::size_t>(width)));
    for (int n = 1; n <= kStringCount; ++n) {
        const QRect box = diagonal_box(n);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                inside[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = true;
    }
    return inside;
}

class WindowSurfaces : public ::testing::Test {
  protected:
    void SetUp() override {
        test::ensure_app();
        saved_cwd_ = std::filesystem::current_path();
        ASSERT_TRUE(program_.start(folder_.headless_options()).goes_on);
        w_ = program_.window();
    }
    void TearDown() override { std::filesystem::current_path(saved_cwd_); }

    test::ProgramFolder folder_;
    test::RecordingDialogs dialogs_;
    Program program_{dialogs_};
    arayüz* w_ = nullptr;

  private:
    std::filesystem::path saved_cwd_;
};

TEST_F(WindowSurfaces, InformationPanelIsPeachBeforeAndAfterAStringIsChosen) {
    const Surface& panel = w_->surface(6);
    for (const QPoint p : {QPoint(0, 0), QPoint(120, 50), QPoint(238, 99)})
        EXPECT_EQ(panel.pixel(p.x(), p.y()), kPeach) << "before any string, at " << p.x();

    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(w_, &up);
    ASSERT_FALSE(panel.print_log().empty()) << "the panel was written";
    EXPECT_EQ(panel.pixel(238, 99), kPeach) << "the panel clears to its own colour";
}

TEST_F(WindowSurfaces, LegendLeverNumbersAreErasedWithoutATrace) {
    Surface& legend = w_->surface(10);
    const QImage untouched = legend.image().copy();
    for (int s : {1, 13, 26}) {
        for (int pos = kLeverLo; pos <= kLeverHi; ++pos) {
            w_->st.mandal_pos[s] = static_cast<std::int16_t>(pos);
            w_->views->arıza_yaz(s);
            w_->st.mandal_pos[s] = 0;
            w_->views->arıza_yaz(s);
            ASSERT_EQ(first_difference(legend.image(), untouched), "")
                << "string " << s << " after position " << pos;
        }
    }
}

TEST_F(WindowSurfaces, SlantedEdgeNumbersStayInTheirBoxesAndSpareTheOutline) {
    Surface& instrument = w_->surface(2);
    const QImage untouched = instrument.image().copy();
    const auto in_a_box = diagonal_boxes(instrument.width(), instrument.height());
    w_->Check1->click();
    for (int pos : {12, -8, 9}) {
        for (int s = 1; s <= kStringCount; ++s)
            w_->st.mandal_pos[s] = std::clamp<std::int16_t>(
                static_cast<std::int16_t>(pos), w_->st.mandal_min[s], w_->st.mandal_max[s]);
        w_->views->diyagonal_yaz();
        for (int y = 0; y < instrument.height(); ++y) {
            for (int x = 0; x < instrument.width(); ++x) {
                const QRgb was = untouched.pixel(x, y) & 0xFFFFFFu;
                if (was == kBlack) {
                    ASSERT_EQ(instrument.pixel(x, y), kBlack)
                        << "outline nicked at " << x << "," << y << " by " << pos;
                } else if (!in_a_box[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
                    ASSERT_EQ(instrument.pixel(x, y), was)
                        << "drawn outside the boxes at " << x << "," << y << " by " << pos;
                }
            }
        }
    }
    w_->Check1->click();
    EXPECT_EQ(first_difference(instrument.image(), untouched), "") << "cleared boxes";
}

}  // namespace
}  // namespace orvena

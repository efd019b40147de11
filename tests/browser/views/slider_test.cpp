// The thumbnail-size slider: positions under the mouse, clicks and drags that post
// 1034 to the parent, refused positions, and how it looks.
#include <gtest/gtest.h>

#include <ThumbSlider.h>

#include <vector>

#include "uikit.h"

namespace {

TEST(ThumbSliderGeometry, PositionsUnderThePointAndThumbPlaces) {
  struct {
    int x, position;
  } cases[] = {{-5, 0}, {0, 0}, {29, 0}, {30, 0}, {52, 0}, {53, 1}, {60, 1}, {99, 3}, {121, 3},
               {122, 4}, {123, 4}, {140, 4}, {500, 4}};
  for (auto& c : cases) EXPECT_EQ(thumbslider::PositionAt(c.x), c.position) << c.x;
  EXPECT_EQ(thumbslider::ThumbRect(0), CRect(30, 5, 39, 25));
  EXPECT_EQ(thumbslider::ThumbRect(4), CRect(122, 5, 131, 25));
  EXPECT_FALSE(thumbslider::OnTrack(29));
  EXPECT_TRUE(thumbslider::OnTrack(30));
  EXPECT_TRUE(thumbslider::OnTrack(131));
  EXPECT_FALSE(thumbslider::OnTrack(132));
  EXPECT_FALSE(thumbslider::OnTrack(140));
}

// A parent that keeps the positions the slider posts.
class CSliderHost : public CWnd {
 public:
  std::vector<int> m_posted;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_THUMBSLIDER_POSITION) {
      EXPECT_EQ(lParam, 0);
      m_posted.push_back((int)wParam);
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

struct SliderFixture {
  CSliderHost host;
  CThumbSlider slider;
  SliderFixture() {
    host.CreateEx(0, AfxRegisterWndClass(0), "slider host", WS_POPUP | WS_VISIBLE, 40, 40, 220, 60, nullptr, nullptr);
    slider.Create(&host, CPoint(10, 10), 19160);
    uikit::PumpPending();
  }
  ~SliderFixture() { host.DestroyWindow(); }
  void Click(int x, int y = 12) {
    slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    uikit::PumpPending();
  }
  std::vector<int> Posted() {
    uikit::PumpPending();
    std::vector<int> out;
    out.swap(host.m_posted);
    return out;
  }
};

TEST(ThumbSlider, ClicksMoveTheThumbAndPostOncePerChange) {
  SliderFixture f;
  ASSERT_NE(f.slider.GetSafeHwnd(), nullptr);
  CRect rc;
  f.slider.GetWindowRect(&rc);
  EXPECT_EQ(rc.Size(), CSize(167, 26));
  EXPECT_EQ(f.slider.GetDlgCtrlID(), 19160);
  struct {
    int x;
    int position;
    std::vector<int> posted;
  } cases[] = {
      {140, 0, {}},   // past the track
      {60, 1, {1}},   // onto position 1
      {60, 1, {}},    // the same place again
      {20, 1, {}},    // left of the track
      {125, 4, {4}},  // the far end
      {33, 0, {0}},
  };
  for (auto& c : cases) {
    f.Click(c.x);
    EXPECT_EQ(f.slider.GetPosition(), c.position) << c.x;
    EXPECT_EQ(f.Posted(), c.posted) << c.x;
  }
}

TEST(ThumbSlider, DraggingTheThumbPostsEachPositionPassed) {
  SliderFixture f;
  CRect thumb = thumbslider::ThumbRect(0);
  f.slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb.left + 2, 12));
  EXPECT_EQ(f.slider.GetThumbState(), CThumbSlider::kPressed);
  for (int x = 34; x <= 130; x += 4) f.slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 12));
  f.slider.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(130, 12));
  EXPECT_EQ(f.Posted(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(f.slider.GetPosition(), 4);
  EXPECT_EQ(f.slider.GetThumbState(), CThumbSlider::kHot);  // released on the thumb
  f.slider.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 12));
  EXPECT_EQ(f.slider.GetThumbState(), CThumbSlider::kNormal);
}

TEST(ThumbSlider, SetPositionRefusesOutsideZeroToFour) {
  SliderFixture f;
  struct {
    int position;
    BOOL result;
    int after;
  } cases[] = {{3, TRUE, 3}, {5, FALSE, 3}, {-1, FALSE, 3}, {-100, FALSE, 3}, {0, TRUE, 0}, {4, TRUE, 4}};
  for (auto& c : cases) {
    EXPECT_EQ(f.slider.SetPosition(c.position), c.result) << c.position;
    EXPECT_EQ(f.slider.GetPosition(), c.after) << c.position;
  }
  EXPECT_TRUE(f.Posted().empty());  // only the user's moves are reported
}

TEST(ThumbSlider, Screenshot) {
  SliderFixture f;
  f.slider.SetPosition(2);
  uikit::Picture pic(f.slider.m_hWnd);
  std::string path = pic.Save("thumb_slider");
  EXPECT_FALSE(path.empty());
  // The thumb at position 2 (x 76..84) is drawn from its own bitmap, not the track's.
  CRect thumb = thumbslider::ThumbRect(2);
  CRect free = thumbslider::ThumbRect(1);
  COLORREF onThumb = pic.At(thumb.left + 4, thumb.top + 3);
  COLORREF onTrack = pic.At(free.left + 4, free.top + 3);
  EXPECT_GT(GetRValue(onThumb) + GetGValue(onThumb) + GetBValue(onThumb), 3 * 180);  // the light thumb face
  EXPECT_LT(GetRValue(onTrack) + GetGValue(onTrack) + GetBValue(onTrack), 3 * 140);  // the dark strip
}

}  // namespace

#include "CoolButton.h"
#include "FrameworkMessages.h"
#include "Pump.h"
#include "WinApp.h"

#include "ButtonHost.h"
#include "ButtonTestIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

class CoolButtonTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Open(CRect(300, 200, 700, 500))); }
    void TearDown() override { CCoolDC::ForceOSClass(0); }

    // A button with flat fills (gradients off), so every surface has one exact colour.
    CCoolButton& Add(const char* caption, DWORD style, const RECT& rect, UINT id = 100) {
        buttons.push_back(std::make_unique<CCoolButton>());
        CCoolButton& button = *buttons.back();
        EXPECT_TRUE(button.Create(caption, kChild | style, rect, host.m_hWnd, id));
        button.SetRenderMode(CoolColors::RenderDeriveShades);
        return button;
    }

    CButtonHost host;
    std::vector<std::unique_ptr<CCoolButton>> buttons;
};

COLORREF Slot(const CCoolButton& b, int slot) {
    return b.GetColor(slot);
}

// The bounding box of the pixels of one colour inside a rectangle.
CRect Extent(const PixelImage& image, COLORREF color, const RECT& inside) {
    CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
            if (image.At(x, y) == color) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

int Count(const PixelImage& image, COLORREF color, const RECT& inside) {
    int n = 0;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x)
            n += image.At(x, y) == color;
    return n;
}

TEST_F(CoolButtonTest, CheckAndRadioIndicatorsFollowStateAndEnable) {
    // A check box without a caption is all indicator, moved one pixel right.
    CCoolButton& box = Add("", BS_CHECKBOX, CRect(10, 10, 50, 34));
    PixelImage up = Shot(box);
    EXPECT_EQ(up.At(30, 20), Slot(box, CoolColors::Lum));     // middle, far right
    EXPECT_EQ(up.At(1, 12), Slot(box, CoolColors::Light));    // indicator frame
    EXPECT_EQ(up.At(21, 23), Slot(box, CoolColors::Shadow));  // bottom edge
    EXPECT_EQ(up.At(21, 12), Slot(box, CoolColors::LumDark)); // cross in the outer colour

    box.SetCheck(BST_CHECKED);
    PixelImage down = Shot(box);
    EXPECT_EQ(down.At(30, 20), Slot(box, CoolColors::LumBright));
    EXPECT_EQ(down.At(1, 12), Slot(box, CoolColors::Shadow));
    EXPECT_EQ(down.At(21, 12), Slot(box, CoolColors::Lum));

    box.EnableWindow(false);
    PixelImage disabled = Shot(box);
    EXPECT_EQ(disabled.At(30, 20), Slot(box, CoolColors::Light));
    EXPECT_EQ(disabled.At(21, 12), Slot(box, CoolColors::Background));

    // A radio button with a caption has a small indicator at the left, the letter X high.
    CCoolButton& radio = Add("Radio", BS_RADIOBUTTON, CRect(10, 40, 110, 64), 101);
    PixelImage off = Shot(radio);
    const int side = [&] {
        CWindowDC dc(radio.m_hWnd);
        CScopedSelection selection(dc, reinterpret_cast<HFONT>(radio.SendMessage(WM_GETFONT)));
        return dc.GetTextExtent("X").cy;
    }();
    const int top = (24 - side) / 2;
    EXPECT_EQ(off.At(1, top + side / 2), Slot(radio, CoolColors::Light));
    EXPECT_EQ(off.At(1 + side / 2, top + side / 2), Slot(radio, CoolColors::Lum));
    EXPECT_EQ(off.At(side + 3, 2), Slot(radio, CoolColors::Light)); // face beside it
    radio.SetCheck(BST_CHECKED);
    EXPECT_EQ(Shot(radio).At(1 + side / 2, top + side / 2), Slot(radio, CoolColors::LumBright));
    radio.EnableWindow(false);
    EXPECT_EQ(Shot(radio).At(1 + side / 2, top + side / 2), Slot(radio, CoolColors::Light));
}

TEST_F(CoolButtonTest, PushFacesFramesAndFocusMark) {
    CCoolButton& push = Add("", BS_PUSHBUTTON, CRect(10, 10, 90, 40));
    PixelImage up = Shot(push);
    EXPECT_EQ(up.At(0, 15), Slot(push, CoolColors::Light));
    EXPECT_EQ(up.At(1, 15), Slot(push, CoolColors::Light));
    EXPECT_EQ(up.At(79, 15), Slot(push, CoolColors::Shadow));
    EXPECT_EQ(up.At(78, 15), Slot(push, CoolColors::Shadow));
    EXPECT_EQ(up.At(40, 15), Slot(push, CoolColors::Background));

    push.SetState(true);
    PixelImage down = Shot(push);
    EXPECT_EQ(down.At(0, 15), Slot(push, CoolColors::Shadow));
    EXPECT_EQ(down.At(1, 15), Slot(push, CoolColors::Shadow));
    EXPECT_EQ(down.At(2, 15), Slot(push, CoolColors::Light));
    EXPECT_EQ(down.At(79, 15), Slot(push, CoolColors::Light));
    EXPECT_EQ(down.At(77, 15), Slot(push, CoolColors::Shadow));

    ::SetFocus(push.m_hWnd);
    ASSERT_TRUE(push.IsFocused());
    PixelImage focusedDown = Shot(push);
    EXPECT_EQ(focusedDown.At(0, 15), Slot(push, CoolColors::Lum));
    EXPECT_EQ(focusedDown.At(79, 15), Slot(push, CoolColors::LumBright));
    push.SetState(false);
    PixelImage focusedUp = Shot(push);
    EXPECT_EQ(focusedUp.At(0, 15), Slot(push, CoolColors::LumBright));
    EXPECT_EQ(focusedUp.At(79, 15), Slot(push, CoolColors::Lum));

    // A group box is framed at its edge, a flat one a second time inside.
    CCoolButton& group = Add("", BS_GROUPBOX | BS_FLAT, CRect(100, 10, 180, 60), 102);
    const PixelImage framed = Shot(group);
    EXPECT_EQ(framed.At(0, 20), Slot(group, CoolColors::Shadow));
    EXPECT_EQ(framed.At(79, 20), Slot(group, CoolColors::Light));
    EXPECT_EQ(framed.At(1, 20), Slot(group, CoolColors::Light));
    EXPECT_EQ(framed.At(78, 20), Slot(group, CoolColors::Shadow));

    // A checked push-like check box glows in SelLow.
    CCoolButton& like = Add("", BS_AUTOCHECKBOX | BS_PUSHLIKE, CRect(10, 50, 90, 80), 101);
    EXPECT_EQ(Shot(like).At(40, 15), Slot(like, CoolColors::Background));
    like.SetCheck(BST_CHECKED);
    PixelImage glowing = Shot(like);
    EXPECT_EQ(glowing.At(40, 15), Slot(like, CoolColors::SelLow));
    EXPECT_EQ(glowing.At(0, 15), Slot(like, CoolColors::Shadow));
}

TEST_F(CoolButtonTest, CaptionFollowsAlignmentAndEmbossing) {
    const char* text = "Wide Caption";
    const CRect size(0, 0, 200, 60);
    struct Case {
        DWORD style;
        bool (*check)(const CRect& text);
    } cases[] = {
        {BS_PUSHBUTTON, [](const CRect& t) { return std::abs(t.left - (200 - t.right)) <= 2; }},
        {BS_PUSHBUTTON | BS_LEFT, [](const CRect& t) { return t.left >= 4 && t.left < 10; }},
        {BS_PUSHBUTTON | BS_RIGHT, [](const CRect& t) { return t.right <= 196 && t.right > 190; }},
        {BS_PUSHBUTTON | BS_TOP, [](const CRect& t) { return t.top >= 1 && t.top < 6; }},
        {BS_PUSHBUTTON | BS_BOTTOM, [](const CRect& t) { return t.bottom <= 59 && t.bottom > 54; }},
        {BS_PUSHBUTTON | BS_MULTILINE | BS_BOTTOM,
         [](const CRect& t) { return t.bottom <= 59 && t.bottom > 50; }},
        {BS_PUSHBUTTON | BS_MULTILINE,
         [](const CRect& t) { return std::abs(t.top - (60 - t.bottom)) <= 2; }},
        // A check box caption starts beside the indicator, a multi-line one 5 pixels further.
        {BS_CHECKBOX, [](const CRect& t) { return t.left > 10 && t.left < 30; }},
    };
    UINT id = 200;
    for (const Case& c : cases) {
        CCoolButton& b = Add(text, c.style, size, id++);
        const PixelImage image = Shot(b);
        const CRect extent = Extent(image, Slot(b, CoolColors::Text), CRect(2, 2, 198, 58));
        EXPECT_TRUE(c.check(extent))
            << "style " << std::hex << c.style << std::dec << ": " << extent.left << ","
            << extent.top << "," << extent.right << "," << extent.bottom;
        b.DestroyWindow();
    }
    CCoolButton& plain = Add(text, BS_CHECKBOX | BS_MULTILINE, size, id++);
    const int plainLeft = Extent(Shot(plain), Slot(plain, CoolColors::Text), size).left;
    plain.DestroyWindow();
    CCoolButton& single = Add(text, BS_CHECKBOX, size, id++);
    EXPECT_EQ(plainLeft, Extent(Shot(single), Slot(single, CoolColors::Text), size).left + 5);

    single.DestroyWindow();

    // Embossed: a light copy up-left and a dark copy down-right of the text.
    CCoolButton& push = Add(text, BS_PUSHBUTTON, size, id++);
    const CRect inside(4, 4, 196, 56);
    const COLORREF light = Slot(push, CoolColors::Light), shadow = Slot(push, CoolColors::Shadow);
    EXPECT_EQ(Count(Shot(push), light, inside), 0);
    push.SetRenderMode(CoolColors::RenderDeriveShades | CoolColors::RenderEmbossed);
    const PixelImage embossed = Shot(push);
    const CRect textBox = Extent(embossed, Slot(push, CoolColors::Text), inside);
    const CRect lightBox = Extent(embossed, light, inside);
    const CRect shadowBox = Extent(embossed, shadow, inside);
    EXPECT_EQ(lightBox.top, textBox.top - 1);
    EXPECT_EQ(shadowBox.bottom, textBox.bottom + 1);
}

TEST_F(CoolButtonTest, SeeThroughButtonsShowTheParentsBackground) {
    host.skinned = true;
    host.Fill([](int x, int y) { return RGB(x & 0xFF, y & 0xFF, 77); });
    CCoolButton& flat = Add("", BS_PUSHBUTTON | BS_FLAT, CRect(100, 50, 160, 74));
    const PixelImage image = Shot(flat);
    for (POINT p : {POINT{0, 0}, POINT{30, 12}, POINT{59, 23}})
        EXPECT_EQ(image.At(p.x, p.y), RGB(100 + p.x, 50 + p.y, 77)) << p.x << "," << p.y;

    // The copy is kept through state changes and taken again after a scheme change.
    host.Fill([](int, int) { return RGB(5, 6, 7); });
    flat.SetState(true);
    EXPECT_EQ(Shot(flat).At(30, 12), RGB(130, 62, 77));
    flat.SendMessage(WM_COOL_SETCOLOR, CoolColors::Text, RGB(1, 1, 1));
    EXPECT_EQ(Shot(flat).At(30, 12), RGB(5, 6, 7));

    // With the alpha render flag and an alpha below 255 the face is blended over it.
    CCoolButton& blended = Add("", BS_PUSHBUTTON, CRect(10, 100, 70, 124), 101);
    blended.SetAlpha(128);
    blended.SetRenderMode(CoolColors::RenderDeriveShades | CoolColors::RenderAlpha);
    const COLORREF face = blended.GetColor(CoolColors::Background);
    const COLORREF mixed = Shot(blended).At(30, 12);
    EXPECT_NEAR(GetRValue(mixed), (GetRValue(face) + 5) / 2, 2);
    EXPECT_NEAR(GetGValue(mixed), (GetGValue(face) + 6) / 2, 2);
    EXPECT_NEAR(GetBValue(mixed), (GetBValue(face) + 7) / 2, 2);
}

TEST_F(CoolButtonTest, FacesSurviveGivingTheirHandlesBackOnOlderSystems) {
    CCoolDC::ForceOSClass(CCoolDC::OS98);
    CCoolButton& push = Add("", BS_PUSHBUTTON, CRect(10, 10, 90, 40));
    CCoolButton& box = Add("", BS_CHECKBOX, CRect(10, 50, 50, 74), 101);
    for (int round = 0; round < 2; ++round) {
        const PixelImage up = Shot(push);
        EXPECT_EQ(up.At(0, 15), Slot(push, CoolColors::Light)) << round;
        EXPECT_EQ(up.At(40, 15), Slot(push, CoolColors::Background)) << round;
        EXPECT_EQ(Shot(box).At(30, 20), Slot(box, CoolColors::Lum)) << round;
    }
}

TEST_F(CoolButtonTest, StateImages) {
    host.skinned = true;
    const COLORREF back = RGB(20, 40, 60);
    host.Fill([&](int, int) { return back; });
    CCoolButton& image = Add("", BS_PUSHBUTTON | BS_BITMAP | BS_FLAT, CRect(10, 10, 50, 50));

    // A mask takes the caption colour of the state; its clear bits show what lies behind.
    ASSERT_EQ(image.SetBitmaps(IDB_TEST_MASK), 1);
    PixelImage normal = Shot(image);
    EXPECT_EQ(normal.At(20, 20), Slot(image, CoolColors::Text));
    EXPECT_EQ(normal.At(13, 20), back);
    image.EnableWindow(false);
    EXPECT_EQ(Shot(image).At(20, 20), Slot(image, CoolColors::TextDisabled));
    image.EnableWindow(true);
    ::SetFocus(image.m_hWnd);
    EXPECT_EQ(Shot(image).At(20, 20), Slot(image, CoolColors::TextHot));
    ::SetFocus(host.m_hWnd);

    // A colour image leaves out its magenta; the pressed image shows while pushed.
    ASSERT_EQ(image.SetBitmaps(IDB_TEST_MASK, IDB_TEST_COLOUR), 1);
    image.SetState(true);
    PixelImage pressed = Shot(image);
    EXPECT_EQ(pressed.At(20, 20), RGB(10, 200, 30));
    EXPECT_EQ(pressed.At(13, 20), back);

    // A missing normal image loads nothing at all; the images held before are gone.
    EXPECT_EQ(image.SetBitmaps(IDB_TEST_MISSING, IDB_TEST_COLOUR), 0);
    EXPECT_EQ(Shot(image).At(20, 20), back);
    image.SetState(false);
    EXPECT_EQ(Shot(image).At(20, 20), back);
    // A missing other image: 0, but the normal one is there; resize fits the window to it.
    EXPECT_EQ(image.SetBitmaps(IDB_TEST_MASK, IDB_TEST_MISSING, 0, 0, 0, true), 0);
    EXPECT_EQ(image.GetClientRect(), CRect(0, 0, 16, 16));
    EXPECT_EQ(Shot(image).At(8, 8), Slot(image, CoolColors::Text));

    // An image given to the system button comes first.
    CBitmap own;
    {
        CWindowDC screen(nullptr);
        own.CreateCompatibleBitmap(screen, 4, 4);
        CMemoryDC dc(screen);
        CScopedSelection selection(dc, own);
        dc.FillSolidRect(CRect(0, 0, 4, 4), RGB(1, 2, 250));
    }
    image.SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(own.GetSafeHandle()));
    EXPECT_EQ(Shot(image).At(8, 8), RGB(1, 2, 250));
    image.DestroyWindow();
}

class CPromptRecorder : public CWnd {
public:
    std::vector<WPARAM> prompts;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETMESSAGESTRING) {
            prompts.push_back(wParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST_F(CoolButtonTest, HoverPromptsAndTheEmptyPromptAtTheNextTick) {
    CPromptRecorder main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CWinApp app;
    app.m_pMainWnd = &main;
    CCoolButton& button = Add("Hover", BS_PUSHBUTTON, CRect(20, 20, 120, 50), 321);
    button.UpdateWindow();

    const CRect screen = button.GetWindowRect();
    ::SetCursorPos(screen.left + 10, screen.top + 10);
    ASSERT_TRUE(PumpUntil([&] { return !main.prompts.empty(); }));
    EXPECT_EQ(main.prompts, std::vector<WPARAM>{321});
    EXPECT_TRUE(button.IsHot());

    // Leaving is noticed by the timer, not at once.
    ::SetCursorPos(screen.right + 40, screen.bottom + 40);
    EXPECT_EQ(main.prompts.size(), 1u);
    ASSERT_TRUE(PumpUntil([&] { return main.prompts.size() == 2; }, 2000));
    EXPECT_EQ(main.prompts.back(), 0u);
    EXPECT_FALSE(button.IsHot());
    app.m_pMainWnd = nullptr;
}

TEST_F(CoolButtonTest, NotifyStyleReportsPressAndReleaseBeforeTheClick) {
    CCoolButton& notify = Add("N", BS_PUSHBUTTON | BS_NOTIFY, CRect(10, 10, 60, 40), 7);
    CCoolButton& quiet = Add("Q", BS_PUSHBUTTON, CRect(70, 10, 120, 40), 8);
    auto click = [&](CCoolButton& b) {
        host.commands.clear();
        b.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        b.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_TRUE(PumpUntil([&] {
            return std::count(host.commands.begin(), host.commands.end(), BN_CLICKED) > 0;
        }));
        std::vector<WORD> codes;
        for (WORD code : host.commands)
            if (code == BN_CLICKED || code == 0x0201 || code == 0x0202) codes.push_back(code);
        return codes;
    };
    EXPECT_EQ(click(notify), (std::vector<WORD>{0x0201, 0x0202, BN_CLICKED}));
    EXPECT_EQ(click(quiet), (std::vector<WORD>{BN_CLICKED}));
}

} // namespace

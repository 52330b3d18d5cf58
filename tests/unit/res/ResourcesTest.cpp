// The program's resources as the pages and the main window will use them: the six page
// templates created as child dialogs, the notification-area menu and the bitmaps. Identifiers
// are written as numbers here on purpose, so that a wrong value in resource.h is caught too.
#include "Platform.h"

#include "Pixels.h"
#include "Png.h"
#include "Pump.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kStatic[] = "Static";
const char kButton[] = "Button";
const char kTrackbar[] = "msctls_trackbar32";
const char kCombo[] = "ComboBox";

struct Item {
    int id;
    const char* cls;
    DWORD style;
    const char* text; // nullptr: not compared
};

struct Page {
    int id;
    int cx, cy; // dialog units
    DWORD style;
    const char* caption;
    std::vector<Item> items; // in template order
};

const std::vector<Page>& Pages() {
    static const std::vector<Page> pages = {
        {107,
         235,
         142,
         0x4AC00040,
         "Volume",
         {{1003, kStatic, 0x50020000, "Master"},
          {1000, kStatic, 0x50020000, "Main"},
          {1006, kButton, 0x50011003, "Mute"},
          {1002, kButton, 0x50008007, "Speaker Volumes"},
          {1004, kStatic, 0x50020201, "Front"},
          {1001, kTrackbar, 0x50010003, nullptr},
          {1005, kTrackbar, 0x50010007, nullptr},
          {1008, kStatic, 0x50020201, "Rear"},
          {1007, kTrackbar, 0x50010003, nullptr},
          {1009, kTrackbar, 0x50010007, nullptr},
          {1013, kStatic, 0x50020201, "Center"},
          {1010, kTrackbar, 0x50010003, nullptr},
          {1011, kStatic, 0x50020201, "Sub"},
          {1012, kTrackbar, 0x50010007, nullptr},
          {1014, kButton, 0x50019083, ""},
          {1015, kButton, 0x50019083, ""}}},
        {108,
         238,
         135,
         0x4AC00040,
         "S/PDIF",
         {{1037, kButton, 0x50008007, "Output"},
          {1039, kButton, 0x50011003, "Enable"},
          {1040, kButton, 0x50020009, "44.1 kHz"},
          {1041, kButton, 0x50000009, "48.0 kHz"},
          {1042, kStatic, 0x50020000, "S/PDIF Output works only on earphones and 2 Speaker mode!"},
          {1038, kButton, 0x50008007, "Input"},
          {1043, kButton, 0x50010003, "LoopBack (to digital out)"},
          {1044, kButton, 0x50010003, "Monitor (to analog out)"},
          {1045, kButton, 0x50010003, "Validity Detection"},
          {1046, kButton, 0x50010003, "Copyright Protection"},
          {1047, kButton, 0x50010003, "Signal Reverse"}}},
        {109,
         235,
         142,
         0x4AC00040,
         "Sources",
         {{1007, kStatic, 0x50020000, "Label"},
          {1013, kStatic, 0x50020000, "Vol"},
          {1019, kButton, 0x50011003, "Mute"},
          {1008, kStatic, 0x50020000, "Label"},
          {1014, kStatic, 0x50020000, "Vol"},
          {1020, kButton, 0x50011003, "Mute"},
          {1009, kStatic, 0x50020000, "Label"},
          {1015, kStatic, 0x50020000, "Vol"},
          {1025, kButton, 0x50011003, "Boost"},
          {1021, kButton, 0x50011003, "Mute"},
          {1010, kStatic, 0x50020000, "Label"},
          {1016, kStatic, 0x50020000, "Vol"},
          {1022, kButton, 0x50011003, "Mute"},
          {1011, kStatic, 0x50020000, "Label"},
          {1017, kStatic, 0x50020000, "Vol"},
          {1023, kButton, 0x50011003, "Mute"},
          {1012, kStatic, 0x50020000, "Label"},
          {1018, kStatic, 0x50020000, "Vol"},
          {1024, kButton, 0x50011003, "Mute"}}},
        {110,
         235,
         142,
         0x48C00040,
         "Speakers",
         {{1043, kButton, 0x50000007, "Speaker Configuration"},
          {1296, kCombo, 0x50010003, nullptr},
          {1010, kButton, 0x50019083, "FL"},
          {1014, kButton, 0x50019083, "CENTER"},
          {1011, kButton, 0x50019083, "FR"},
          {1013, kButton, 0x50019083, "RL"},
          {1015, kButton, 0x50019083, "SUB"},
          {1012, kButton, 0x50019083, "RR"},
          {1044, kButton, 0x50000007, "Virtual 5.1 Speakers and reverbration"},
          {1045, kButton, 0x50011003, "Enable"},
          {1297, kCombo, 0x50210003, nullptr},
          {1037, kButton, 0x50000007, "S/PDIF Output"},
          {1039, kButton, 0x50011003, "Enable"},
          {1042, kStatic, 0x48020000, "S/PDIF Output works only on earphones and 2 Speaker mode!"},
          {1038, kButton, 0x50000007, "DirectSound Accel."},
          {1059, kTrackbar, 0x50010001, nullptr},
          {1060, kStatic, 0x50020000, "max"}}},
        {111,
         235,
         142,
         0x4AC00040,
         "Record",
         {{1030, kButton, 0x50011003, "Mux"},
          {1024, kStatic, 0x50020000, "Vol"},
          {1031, kButton, 0x50011003, "Mux"},
          {1025, kStatic, 0x50020000, "Vol"},
          {1036, kButton, 0x50011003, "Boost"},
          {1032, kButton, 0x50011003, "Mux"},
          {1026, kStatic, 0x50020000, "Vol"},
          {1033, kButton, 0x50011003, "Mux"},
          {1027, kStatic, 0x50020000, "Vol"},
          {1034, kButton, 0x50011003, "Mux"},
          {1028, kStatic, 0x50020000, "Vol"},
          {1035, kButton, 0x50011003, "Mux"},
          {1029, kStatic, 0x50020000, "Vol"},
          {1037, kButton, 0x50013003, "S/P-\nDIF"}}},
        {112,
         235,
         138,
         0x4AC00040,
         "Misc",
         {{1046, kStatic, 0x50020100, "ZEPH Control Panel"},
          {1047, kButton, 0x50010000, "Load"},
          {1048, kButton, 0x50010000, "Save"},
          {1049, kButton, 0x50000007, "Presets"},
          {1050, kButton, 0x50000007, "About"},
          {1057, kStatic, 0x5000000E, nullptr},
          {1052, kButton, 0x50000007, "Misc Settings"},
          {1053, kButton, 0x50010000, "Color Setup"},
          {1055, kButton, 0x50010003, "Enable Task Bar Icon"},
          {1056, kCombo, 0x50210103, nullptr}}},
    };
    return pages;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    ::GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

// What a template stores: the system adds and removes style bits when it creates the windows.
struct Template {
    DWORD style = 0;
    std::vector<std::pair<int, DWORD>> items; // identifier and style, in template order
};

const WORD* SkipNameOrOrdinal(const WORD* p) {
    if (*p == 0xFFFF) return p + 2;
    while (*p++) {
    }
    return p;
}

Template ReadTemplate(int id) {
    Template result;
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (!found) return result;
    const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, found)));
    if (words[1] == 0xFFFF) return result; // an extended template: not what the scripts hold
    const auto* dialog = reinterpret_cast<const DLGTEMPLATE*>(words);
    result.style = dialog->style;
    const WORD* p = words + sizeof(DLGTEMPLATE) / sizeof(WORD);
    p = SkipNameOrOrdinal(SkipNameOrOrdinal(SkipNameOrOrdinal(p))); // menu, class, caption
    if (dialog->style & DS_SETFONT) p = SkipNameOrOrdinal(p + 1);   // point size, face
    for (int k = 0; k < dialog->cdit; ++k) {
        p = reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t(3));
        const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
        result.items.emplace_back(item->id, item->style);
        p = SkipNameOrOrdinal(SkipNameOrOrdinal(p + sizeof(DLGITEMTEMPLATE) / sizeof(WORD)));
        p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p + 1) + *p);
    }
    return result;
}

// A plain top-level window that holds the pages as child dialogs, destroyed with them.
class Host {
public:
    Host(int width, int height) {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_window = ::CreateWindowExA(WS_EX_TOPMOST, "Static", "", WS_POPUP | WS_CLIPCHILDREN, 40,
                                     40, width, height, nullptr, nullptr, nullptr, nullptr);
    }
    ~Host() { ::DestroyWindow(m_window); }
    HWND Window() const { return m_window; }
    HWND CreatePage(int id) {
        return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), m_window,
                                    PlainDialogProc, 0);
    }

private:
    HWND m_window = nullptr;
};

TEST(PageTemplates, StoredAndCreatedAsTheirTables) {
    Host host(800, 600);
    ASSERT_TRUE(host.Window());
    for (const Page& page : Pages()) {
        SCOPED_TRACE("template " + std::to_string(page.id));
        const Template stored = ReadTemplate(page.id);
        EXPECT_EQ(page.style, stored.style);
        ASSERT_EQ(page.items.size(), stored.items.size());
        for (size_t k = 0; k < page.items.size(); ++k) {
            EXPECT_EQ(page.items[k].id, stored.items[k].first) << "item " << k;
            EXPECT_EQ(page.items[k].style, stored.items[k].second) << page.items[k].id;
        }

        HWND dialog = host.CreatePage(page.id);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(page.caption, TextOf(dialog));

        RECT expected = {0, 0, page.cx, page.cy};
        ::MapDialogRect(dialog, &expected);
        RECT client = {};
        ::GetClientRect(dialog, &client);
        EXPECT_EQ(expected.right, client.right);
        EXPECT_EQ(expected.bottom, client.bottom);

        LOGFONTA font = {};
        ASSERT_TRUE(::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)),
                                 sizeof(font), &font));
        EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
        HDC screen = ::GetDC(nullptr);
        EXPECT_EQ(-::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72), font.lfHeight);
        ::ReleaseDC(nullptr, screen);

        // Child windows come in template order.
        size_t k = 0;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT), ++k) {
            ASSERT_LT(k, page.items.size()) << "extra control " << ::GetDlgCtrlID(child);
            const Item& item = page.items[k];
            SCOPED_TRACE("control " + std::to_string(item.id));
            EXPECT_EQ(item.id, ::GetDlgCtrlID(child));
            EXPECT_STRCASEEQ(item.cls, ClassOf(child).c_str());
            // What the page classes rely on when they bind: the kind of control and its
            // visibility (the window of a hidden template control must stay hidden).
            const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(child, GWL_STYLE));
            EXPECT_EQ(item.style & (WS_VISIBLE | 0xFFFF), style & (WS_VISIBLE | 0xFFFF));
            if (item.text) {
                EXPECT_EQ(item.text, TextOf(child));
            }
        }
        EXPECT_EQ(page.items.size(), k);
        ::DestroyWindow(dialog);
    }
}

// The logo static loads bitmap 130 by itself when the page is created.
TEST(PageTemplates, MiscPageShowsTheLogo) {
    Host host(800, 600);
    HWND dialog = host.CreatePage(112);
    ASSERT_TRUE(dialog);
    HBITMAP logo = reinterpret_cast<HBITMAP>(
        ::SendDlgItemMessageA(dialog, 1057, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(logo);
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(logo, sizeof(bm), &bm));
    EXPECT_EQ(178, bm.bmWidth);
    EXPECT_EQ(45, bm.bmHeight);
    ::DestroyWindow(dialog);
}

TEST(TrayMenu, OnePopupWithShowAndExit) {
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(136));
    ASSERT_TRUE(menu);
    EXPECT_EQ(1, ::GetMenuItemCount(menu));
    HMENU popup = ::GetSubMenu(menu, 0);
    ASSERT_TRUE(popup);
    ASSERT_EQ(2, ::GetMenuItemCount(popup));
    char text[32] = {};
    EXPECT_EQ(32773u, ::GetMenuItemID(popup, 0));
    ::GetMenuStringA(popup, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Show", text);
    EXPECT_EQ(32772u, ::GetMenuItemID(popup, 1));
    ::GetMenuStringA(popup, 1, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("Exit", text);
    ::DestroyMenu(menu);
}

// A bitmap resource as stored (its own depth) and its pixels.
struct Picture {
    int width = 0, height = 0, bits = 0;
    PixelImage pixels;
};

Picture LoadPicture(int id) {
    Picture picture;
    HBITMAP bitmap =
        static_cast<HBITMAP>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return picture;
    DIBSECTION dib = {};
    ::GetObjectA(bitmap, sizeof(dib), &dib);
    picture.width = dib.dsBm.bmWidth;
    picture.height = dib.dsBm.bmHeight;
    picture.bits = dib.dsBm.bmBitsPixel;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    picture.pixels = ReadPixels(memory, picture.width, picture.height);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    return picture;
}

TEST(Bitmaps, LogoAndLinkSwitches) {
    const Picture logo = LoadPicture(130);
    EXPECT_EQ(178, logo.width);
    EXPECT_EQ(45, logo.height);
    EXPECT_EQ(24, logo.bits);
    // The Misc page leaves this colour out: the logo stands on it.
    EXPECT_EQ(0x070708u, logo.pixels.At(0, 0));
    EXPECT_EQ(0x070708u, logo.pixels.At(logo.width - 1, logo.height - 1));

    const Picture joined = LoadPicture(133), broken = LoadPicture(154);
    for (const Picture* link : {&joined, &broken}) {
        EXPECT_EQ(45, link->width);
        EXPECT_EQ(8, link->height);
        EXPECT_EQ(1, link->bits);
    }
    ASSERT_FALSE(joined.pixels.pixels.empty() || broken.pixels.pixels.empty());
    // Joined: the bar runs through the middle column; broken: that column is empty.
    auto middleLit = [](const Picture& p) {
        int lit = 0;
        for (int y = 0; y < p.height; ++y)
            lit += p.pixels.At(p.width / 2, y) == 0xFFFFFF;
        return lit;
    };
    EXPECT_GT(middleLit(joined), 0);
    EXPECT_EQ(0, middleLit(broken));
}

// Each speaker's normal picture is grey on black, its checked picture the same size in green.
TEST(Bitmaps, SpeakerPicturesGreyAndGreenOnBlack) {
    struct Pair {
        const char* speaker;
        int normal, pressed, width, height;
    };
    const Pair pairs[] = {{"front left", 143, 149, 34, 32}, {"front right", 144, 150, 34, 32},
                          {"rear left", 139, 151, 44, 40},  {"rear right", 140, 152, 44, 40},
                          {"center", 142, 153, 32, 28},     {"subwoofer", 141, 148, 34, 32}};
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.speaker);
        for (int id : {pair.normal, pair.pressed}) {
            const Picture p = LoadPicture(id);
            ASSERT_EQ(pair.width, p.width) << id;
            ASSERT_EQ(pair.height, p.height) << id;
            EXPECT_EQ(24, p.bits) << id;
            int black = 0, grey = 0, green = 0;
            for (COLORREF c : p.pixels.pixels) {
                const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                if (c == 0)
                    ++black;
                else if (r == g && g == b)
                    ++grey;
                else if (g > 2 * r && g > 2 * b)
                    ++green;
            }
            const int total = p.width * p.height;
            EXPECT_GT(black, 0) << id;                 // see-through surround
            EXPECT_GT(total - black, total / 3) << id; // and a speaker on it
            EXPECT_EQ(total - black, id == pair.normal ? grey : green) << id;
        }
    }
}

// The rear boxes turn towards the listener from opposite sides.
TEST(Bitmaps, RearSpeakersAreMirrored) {
    EXPECT_NE(LoadPicture(139).pixels.pixels, LoadPicture(140).pixels.pixels);
    EXPECT_NE(LoadPicture(151).pixels.pixels, LoadPicture(152).pixels.pixels);
}

PixelImage CaptureScreen(const RECT& r) {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    PixelImage image = ReadPixels(memory, r.right - r.left, r.bottom - r.top);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

// The six templates as plain dialogs, three by two, kept as build/artefacts/res-pages.png, with
// the pictures on the link and speaker buttons (unchecked) to show how they fit.
TEST(PageTemplates, Screenshot) {
    Host host(10, 10);
    std::vector<HWND> dialogs;
    std::vector<HBITMAP> pictures;
    auto setPicture = [&](HWND dialog, int control, int bitmap) {
        pictures.push_back(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmap)));
        ::SendDlgItemMessageA(dialog, control, BM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(pictures.back()));
    };
    int cellWidth = 0, cellHeight = 0;
    for (const Page& page : Pages()) {
        HWND dialog = host.CreatePage(page.id);
        ASSERT_TRUE(dialog);
        RECT r = {};
        ::GetWindowRect(dialog, &r);
        cellWidth = std::max<int>(cellWidth, r.right - r.left + 8);
        cellHeight = std::max<int>(cellHeight, r.bottom - r.top + 8);
        dialogs.push_back(dialog);
    }
    setPicture(dialogs[0], 1014, 154);
    setPicture(dialogs[0], 1015, 133);
    const int speakers[][2] = {{1010, 143}, {1011, 144}, {1013, 139},
                               {1012, 140}, {1014, 142}, {1015, 141}};
    for (const auto& speaker : speakers)
        setPicture(dialogs[3], speaker[0], speaker[1]);
    for (size_t k = 0; k < dialogs.size(); ++k) {
        ::SetWindowPos(dialogs[k], nullptr, 4 + static_cast<int>(k % 3) * cellWidth,
                       4 + static_cast<int>(k / 3) * cellHeight, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    ::SetWindowPos(host.Window(), HWND_TOPMOST, 0, 0, 3 * cellWidth + 8, 2 * cellHeight + 8,
                   SWP_SHOWWINDOW);
    ::RedrawWindow(host.Window(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
    RECT window = {};
    ::GetWindowRect(host.Window(), &window);
    // Wait until the Misc page's logo is on the screen (its corner is the key colour).
    RECT logo = {};
    ::GetWindowRect(::GetDlgItem(dialogs[5], 1057), &logo);
    PixelImage shot;
    ASSERT_TRUE(PumpUntil([&] {
        shot = CaptureScreen(window);
        return shot.At(logo.left - window.left, logo.top - window.top) == 0x070708;
    }));
    EXPECT_TRUE(WritePng(ArtefactPath("res-pages.png"), shot));
    for (HWND dialog : dialogs)
        ::DestroyWindow(dialog);
    for (HBITMAP picture : pictures)
        ::DeleteObject(picture);
}

} // namespace

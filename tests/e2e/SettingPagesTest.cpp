// The Speakers, S/P-DIF and Misc pages of "Quenda Mixer.exe" driven from outside with real
// keyboard and mouse input: what reaches the simulated card, the DirectSound acceleration in
// the card's device key, the test sound on the sound server, the language, the autostart entry
// and the colour set editor. Every test puts back the card and the registry values it changes.
#include "MonitorRecorder.h"
#include "ProgramRun.h"
#include "ProgramTest.h"
#include "Pump.h"
#include "SimCard.h"
#include "SimDevice.h"
#include "SimRegistration.h"
#include "UniqueHandle.h"

#include "../../src/res/resource.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSpeakersPage = 3, kSpdifPage = 4, kMiscPage = 5;
// The colour set editor's preset list and "Reflections off" box.
constexpr int kEditorPresets = 21863, kEditorReflectionsOff = 21871;
// Row of "Black/White" among the editor's built-in sets (the item data of its list entry).
constexpr LRESULT kBlackWhiteRow = 6;
constexpr LRESULT kRandomRow = 1;
constexpr int kEditorSave = 21864, kEditorOrganize = 21865, kEditorBackground = 21866;
// The name entry's edit, and the organizer's list and buttons.
constexpr int kNameEdit = 21866, kSetList = 21867, kSetDelete = 21868, kSetRename = 21869;
constexpr const char* kColourSetsKey = "Software\\Vantrel Electronic GmbH\\Cool Colors";

// ---- the card, through quendasim-ctl ----

std::vector<int> CardProperty(int id) {
    std::istringstream in(RunCtl("prop get " + std::to_string(id)).output);
    std::vector<int> bytes;
    for (int value = 0; in >> value;)
        bytes.push_back(value);
    return bytes;
}

bool SetCardSpeakerMode(int mode) {
    return RunCtl("prop set 3 " + std::to_string(mode) + " 0 0 0").exitCode == 0;
}

// Waits until a byte of a card property holds a value.
bool CardByteBecomes(int id, size_t index, int value) {
    return PumpUntil(
        [&] {
            const std::vector<int> bytes = CardProperty(id);
            return bytes.size() > index && bytes[index] == value;
        },
        5000);
}

LONG CardEffect() {
    const std::vector<int> bytes = CardProperty(5);
    if (bytes.size() != 4) return -1;
    return LONG(DWORD(bytes[0]) | DWORD(bytes[1]) << 8 | DWORD(bytes[2]) << 16 |
                DWORD(bytes[3]) << 24);
}

bool CardEffectBecomes(LONG effect) {
    return PumpUntil([&] { return CardEffect() == effect; }, 5000);
}

// ---- windows of the program ----

std::string WindowText(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof(text));
    return text;
}

BOOL CALLBACK CollectText(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<std::string>*>(data)->push_back(WindowText(window));
    return TRUE;
}

// The texts of a window's controls.
std::vector<std::string> ChildTexts(HWND window) {
    std::vector<std::string> texts;
    ::EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

// The text of a drop-down list's selected item, asked for as wide text: Wine passes the ANSI
// form of this message between processes as wide characters.
std::string ComboText(HWND combo) {
    const LRESULT item = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    wchar_t text[512] = {};
    if (item < 0 || ::SendMessageW(combo, CB_GETLBTEXTLEN, item, 0) >= LRESULT(512)) return "";
    ::SendMessageW(combo, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
    char ansi[1024] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof(ansi), nullptr, nullptr);
    return ansi;
}

// An edit control's text, asked for with a message: the system does not keep it as the
// window's title for other processes.
std::string EditText(HWND edit) {
    wchar_t text[256] = {};
    ::SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    char ansi[512] = {};
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof(ansi), nullptr, nullptr);
    return ansi;
}

bool Checked(HWND button) {
    return ::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool CheckBecomes(HWND button, bool on) {
    return PumpUntil([&] { return Checked(button) == on; }, 5000);
}

// Clicks the middle of a control, its window (the main window or a dialog) in front first.
void ClickControl(HWND control) {
    HWND top = ::GetAncestor(control, GA_ROOT);
    ::SetForegroundWindow(top);
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == top; }, 5000)) << "in front";
    RECT rect = {};
    ::GetClientRect(control, &rect);
    ClickAt(control, {rect.right / 2, rect.bottom / 2});
}

// A rectangle that a control reports through a pointer, read from the program's memory.
RECT RemoteRect(const RunningProgram& program, HWND control, UINT message) {
    RECT rect = {};
    CKernelHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                        FALSE, program.Id()));
    void* remote =
        process ? ::VirtualAllocEx(process.Get(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE)
                : nullptr;
    if (!remote) return rect;
    ::SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process.Get(), remote, &rect, sizeof(rect), nullptr);
    ::VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return rect;
}

struct ListSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDroppedList(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ListSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof(className));
    if (owner == search->processId && std::string(className) == "ComboLBox" &&
        ::IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Drops a combo box's list with a click and clicks the item whose data is given.
bool ChooseOnceWithMouse(const RunningProgram& program, HWND combo, LRESULT data);

// A list that has only just dropped down may not be on the display yet, and a click in that
// moment reaches the window under it (and closes the list): the choice is made again then.
bool ChooseWithMouse(const RunningProgram& program, HWND combo, LRESULT data) {
    for (int attempt = 0; attempt < 3; ++attempt)
        if (ChooseOnceWithMouse(program, combo, data)) return true;
    return false;
}

bool ChooseOnceWithMouse(const RunningProgram& program, HWND combo, LRESULT data) {
    int item = -1;
    const int count = int(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count && item < 0; ++i)
        if (::SendMessageA(combo, CB_GETITEMDATA, i, 0) == data) item = i;
    if (item < 0) return false;
    ClickControl(combo);
    ListSearch search = {program.Id(), nullptr};
    if (!PumpUntil(
            [&] {
                ::EnumWindows(FindDroppedList, reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            },
            5000))
        return false;
    HWND list = search.found;
    const int height = int(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    int top = int(::SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    if (height <= 0) return false;
    RECT rect = {};
    ::GetClientRect(list, &rect);
    // Scrolls the item into the dropped part when it lies outside.
    if (item < top || item - top >= rect.bottom / height) {
        ::SendMessageA(list, LB_SETTOPINDEX, WPARAM(item), 0);
        top = int(::SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    }
    const int y = (item - top) * height + height / 2;
    if (y < 0 || y >= rect.bottom) return false;
    ClickAt(list, {rect.right / 2, y});
    return PumpUntil(
        [&] {
            return !::IsWindowVisible(list) && ::SendMessageA(combo, CB_GETCURSEL, 0, 0) == item;
        },
        5000);
}

// Closes a dialog with one of its buttons. A dialog that has only just come up may not be
// on the display yet, and the click then reaches the window under it: it is made again.
void CloseWith(HWND dialog, int button) {
    for (int attempt = 0; attempt < 3 && ::IsWindow(dialog); ++attempt) {
        ClickControl(::GetDlgItem(dialog, button));
        PumpUntil([&] { return !::IsWindow(dialog); }, 3000);
    }
    EXPECT_FALSE(::IsWindow(dialog));
}

HWND WaitForTitled(const RunningProgram& program, const std::string& title) {
    return program.WaitForDialog(10000, [&](HWND window) { return WindowText(window) == title; });
}

// Whether a control of the program has the focus, its dialog in front.
bool TakesKeys(const RunningProgram& program, HWND control) {
    HWND top = ::GetAncestor(control, GA_ROOT);
    ::SetForegroundWindow(top);
    return PumpUntil([&] { return ::GetForegroundWindow() == top && program.Focus() == control; });
}

// A message box asking Yes or No, and its text.
bool IsQuestion(HWND window) {
    return ::GetDlgItem(window, IDNO) != nullptr;
}

std::string QuestionText(HWND box) {
    char text[512] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    return text;
}

// Clicks a button of a dialog and waits until the click's handler has run: the button took the
// focus with the press and gave the mouse back with the release, and the program then answered a
// message. A message box the handler opened is there by then.
void ClickAndSettle(HWND button) {
    ClickControl(button);
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    EXPECT_TRUE(PumpUntil([&] {
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(button, nullptr), &thread) &&
               thread.hwndFocus == button && !thread.hwndCapture;
    }));
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(::GetAncestor(button, GA_ROOT), WM_NULL, 0, 0, SMTO_NORMAL, 5000,
                          &result);
}

// The item data of a drop-down list's entry with exactly that text, -1 when there is none.
LRESULT ItemDataOf(HWND combo, const wchar_t* text) {
    const LRESULT item =
        ::SendMessageW(combo, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text));
    return item < 0 ? -1 : ::SendMessageW(combo, CB_GETITEMDATA, WPARAM(item), 0);
}

// A colour set as the registry keeps it: 32-bit values, lowest byte first.
std::vector<BYTE> SetBytes(std::initializer_list<DWORD> values) {
    std::vector<BYTE> bytes;
    for (DWORD value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(BYTE(value >> shift));
    return bytes;
}

// ---- the card's device key ----

std::string DirectSoundKey(const char* subKey) {
    const std::vector<std::string> devices =
        FindMediaDevices(kSimDeviceEnumerator, kSimCardHardwareId);
    return devices.empty() ? std::string()
                           : "System\\CurrentControlSet\\Enum\\" + devices[0] +
                                 "\\Device Parameters\\DirectSound\\" + subKey;
}

// ---- the sound server ----

// Reads the monitor until half a second in a row stayed below the level.
bool WaitForSilence(CMonitorRecorder& recorder, int level, DWORD timeoutMs) {
    size_t quiet = 0;
    return PumpUntil(
        [&] {
            const size_t read = recorder.ReadSome();
            quiet = recorder.TakePeak() < level ? quiet + read : 0;
            return quiet >= 44100 * 6 / 2;
        },
        timeoutMs);
}

// ---- pixels ----

class SettingPagesTest : public ProgramTest {
protected:
    void TearDown() override { ResetSimulatedCard(); }

    static HWND PageWindow(const RunningProgram& program, int page) {
        return reinterpret_cast<HWND>(
            ::SendMessageA(program.Window(), PSM_INDEXTOHWND, WPARAM(page), 0));
    }
};

// The configuration chosen with the mouse on the Speakers page decides the speaker buttons and
// what the S/P-DIF output may do, on the card and on the S/P-DIF page. The card's own speaker
// mode is set to agree each time, as the hardware would follow DirectSound.
TEST_F(SettingPagesTest, ConfigurationChosenWithTheMouseRulesBothPages) {
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F8, {}, kSpeakersPage));
    HWND config = program->Control(IDC_SPK_CONFIG);
    HWND spdif = program->Control(IDC_SPK_SPDIF_ENABLE);
    auto shown = [&](int id) { return ::IsWindowVisible(program->Control(id)) != FALSE; };
    EXPECT_EQ(ComboText(config), "Stereo Speakers"); // DirectSound under Wine starts in stereo
    program->WaitForNewPicture(PixelImage());
    EXPECT_FALSE(program->Screenshot("setting-pages-speakers-stereo").empty());

    // Stereo: "Enable" turns the output on.
    ClickControl(spdif);
    EXPECT_TRUE(CardByteBecomes(1, 0, 1));
    EXPECT_TRUE(Checked(spdif));

    // 5.1: six buttons; the output goes off on the card and cannot be switched on.
    ASSERT_TRUE(SetCardSpeakerMode(6));
    ASSERT_TRUE(ChooseWithMouse(*program, config, 6));
    EXPECT_TRUE(CardByteBecomes(1, 0, 0));
    for (int id : {IDC_SPK_FRONT_LEFT, IDC_SPK_FRONT_RIGHT, IDC_SPK_REAR_LEFT, IDC_SPK_REAR_RIGHT,
                   IDC_SPK_CENTER, IDC_SPK_SUB})
        EXPECT_TRUE(shown(id)) << id;
    EXPECT_FALSE(::IsWindowEnabled(spdif));
    EXPECT_FALSE(Checked(spdif));
    EXPECT_FALSE(shown(IDC_SPK_SPDIF_WARNING));
    program->WaitForNewPicture(PixelImage());
    EXPECT_FALSE(program->Screenshot("setting-pages-speakers-5.1").empty());

    // The S/P-DIF page, opened now for the first time, takes the configuration from the player.
    ASSERT_TRUE(program->SelectPageByKey(VK_F9, {}, kSpdifPage));
    for (int id : {IDC_SPDIF_OUT_ENABLE, IDC_SPDIF_OUT_44K, IDC_SPDIF_OUT_48K, IDC_SPDIF_OUT_GROUP})
        EXPECT_FALSE(::IsWindowEnabled(program->Control(id))) << id;
    EXPECT_FALSE(Checked(program->Control(IDC_SPDIF_OUT_ENABLE)));
    EXPECT_TRUE(Checked(program->Control(IDC_SPDIF_OUT_48K)));
    EXPECT_TRUE(::IsWindowVisible(program->Control(IDC_SPDIF_WARNING)));
    program->WaitForNewPicture(PixelImage());
    EXPECT_FALSE(program->Screenshot("setting-pages-spdif-5.1").empty());

    // Quad: no center and subwoofer; the output stays unavailable.
    ASSERT_TRUE(program->SelectPageByKey(VK_F8, {}, kSpeakersPage));
    ::SendMessageA(program->Control(IDC_SPK_CENTER), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(SetCardSpeakerMode(3));
    ASSERT_TRUE(ChooseWithMouse(*program, config, 3));
    EXPECT_FALSE(shown(IDC_SPK_CENTER));
    EXPECT_FALSE(Checked(program->Control(IDC_SPK_CENTER)));
    EXPECT_FALSE(shown(IDC_SPK_SUB));
    for (int id : {IDC_SPK_FRONT_LEFT, IDC_SPK_FRONT_RIGHT, IDC_SPK_REAR_LEFT, IDC_SPK_REAR_RIGHT})
        EXPECT_TRUE(shown(id)) << id;
    EXPECT_FALSE(::IsWindowEnabled(spdif));

    // Headphones: front left and right only; the output may be switched on again but is off.
    ASSERT_TRUE(SetCardSpeakerMode(1));
    ASSERT_TRUE(ChooseWithMouse(*program, config, 1));
    for (int id : {IDC_SPK_REAR_LEFT, IDC_SPK_REAR_RIGHT, IDC_SPK_CENTER, IDC_SPK_SUB})
        EXPECT_FALSE(shown(id)) << id;
    EXPECT_TRUE(shown(IDC_SPK_FRONT_LEFT));
    EXPECT_TRUE(shown(IDC_SPK_FRONT_RIGHT));
    EXPECT_TRUE(::IsWindowEnabled(spdif));
    EXPECT_FALSE(Checked(spdif));

    // Stereo: the S/P-DIF page's output controls come back, the output still off.
    ASSERT_TRUE(SetCardSpeakerMode(4));
    ASSERT_TRUE(ChooseWithMouse(*program, config, 4));
    ASSERT_TRUE(program->SelectPageByKey(VK_F9, {}, kSpdifPage));
    for (int id : {IDC_SPDIF_OUT_ENABLE, IDC_SPDIF_OUT_44K, IDC_SPDIF_OUT_48K, IDC_SPDIF_OUT_GROUP})
        EXPECT_TRUE(::IsWindowEnabled(program->Control(id))) << id;
    EXPECT_FALSE(Checked(program->Control(IDC_SPDIF_OUT_ENABLE)));
    EXPECT_EQ(CardProperty(1).at(0), 0);

    // "Enable" on this page checks both pages' boxes.
    ClickControl(program->Control(IDC_SPDIF_OUT_ENABLE));
    EXPECT_TRUE(CardByteBecomes(1, 0, 1));
    EXPECT_TRUE(Checked(program->Control(IDC_SPDIF_OUT_ENABLE)));
    EXPECT_TRUE(Checked(::GetDlgItem(PageWindow(*program, kSpeakersPage), IDC_SPK_SPDIF_ENABLE)));
}

// The card in surround from before the start refuses the digital output as in quad. The page
// itself follows DirectSound, which under Wine never reports surround, so it offers "Enable";
// the box clicked on falls back to the card's answer.
TEST_F(SettingPagesTest, SurroundCardKeepsTheDigitalOutputOff) {
    ASSERT_TRUE(SetCardSpeakerMode(5));
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F8, {}, kSpeakersPage));
    HWND spdif = program->Control(IDC_SPK_SPDIF_ENABLE);
    ASSERT_TRUE(::IsWindowEnabled(spdif));
    ClickAndSettle(spdif);
    EXPECT_FALSE(Checked(spdif));
    EXPECT_EQ(CardProperty(1).at(0), 0);
}

// A speaker button plays the test sound on the sound server until it is clicked again; a new
// configuration stops it while the button keeps its look.
TEST_F(SettingPagesTest, SpeakerButtonPlaysTheTestSoundUntilClickedAgain) {
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F8, {}, kSpeakersPage));
    CMonitorRecorder recorder;
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(WaitForSilence(recorder, 100, 5000));

    HWND frontLeft = program->Control(IDC_SPK_FRONT_LEFT);
    ClickControl(frontLeft);
    ASSERT_TRUE(CheckBecomes(frontLeft, true));
    EXPECT_TRUE(recorder.WaitForSound(1000, 5000)) << "peak " << recorder.TakePeak();
    ClickControl(frontLeft);
    ASSERT_TRUE(CheckBecomes(frontLeft, false));
    EXPECT_TRUE(WaitForSilence(recorder, 100, 5000));

    HWND frontRight = program->Control(IDC_SPK_FRONT_RIGHT);
    ClickControl(frontRight);
    ASSERT_TRUE(CheckBecomes(frontRight, true));
    EXPECT_TRUE(recorder.WaitForSound(1000, 5000)) << "peak " << recorder.TakePeak();
    ASSERT_TRUE(ChooseWithMouse(*program, program->Control(IDC_SPK_CONFIG), 1));
    EXPECT_TRUE(WaitForSilence(recorder, 100, 5000));
    EXPECT_TRUE(Checked(frontRight));
}

// The effect box and the room list write the card's effect value; the acceleration slider,
// dragged with the mouse, writes its level into the card's device key.
TEST_F(SettingPagesTest, EffectAndAccelerationReachTheCardAndTheDeviceKey) {
    const std::string mixerDefaults = DirectSoundKey("Mixer Defaults");
    const std::string presence = DirectSoundKey("Device Presence");
    ASSERT_FALSE(mixerDefaults.empty());
    ScopedRegistryValues acceleration(HKEY_LOCAL_MACHINE, mixerDefaults, {"Acceleration"});
    ScopedRegistryValues devicePresence(HKEY_LOCAL_MACHINE, presence, {"VxD", "WDM"});
    auto keyHolds = [&](DWORD low, DWORD high) {
        return PumpUntil(
            [&] {
                DWORD accel = 0, vxd = 0, wdm = 0;
                return acceleration.QueryDword("Acceleration", &accel) && accel == low &&
                       devicePresence.QueryDword("VxD", &vxd) && vxd == high &&
                       devicePresence.QueryDword("WDM", &wdm) && wdm == high;
            },
            5000);
    };
    acceleration.SetDword("Acceleration", 0x0F); // level 0; the start sets full acceleration
    devicePresence.SetDword("VxD", 0);
    devicePresence.SetDword("WDM", 0);

    ASSERT_EQ(CardEffect(), 24);
    auto program = Start();
    EXPECT_TRUE(keyHolds(0x0000, 1));
    ASSERT_TRUE(program->SelectPageByKey(VK_F8, {}, kSpeakersPage));

    // Effect off: "Enable" unchecked with "--- None ---"; checking it writes 25.
    HWND enable = program->Control(IDC_SPK_EFFECT_ENABLE);
    HWND rooms = program->Control(IDC_SPK_ROOM);
    EXPECT_FALSE(Checked(enable));
    EXPECT_EQ(ComboText(rooms), "--- None ---");
    ClickControl(enable);
    EXPECT_TRUE(CardEffectBecomes(25));
    ASSERT_TRUE(ChooseWithMouse(*program, rooms, 0));
    EXPECT_EQ(ComboText(rooms), "Default");
    EXPECT_TRUE(CardEffectBecomes(0));
    PressKey(VK_END); // the list keeps the focus
    EXPECT_TRUE(CardEffectBecomes(22));
    EXPECT_EQ(ComboText(rooms), "Sewer pipe");
    ClickControl(enable);
    EXPECT_TRUE(CardEffectBecomes(24));

    // The slider starts at full acceleration; dragged to the left end it writes level 0, and
    // dragged back to "max" level 3, each as the two halves of the code.
    HWND slider = program->Control(IDC_SPK_ACCEL);
    ASSERT_EQ(::SendMessageA(slider, TBM_GETPOS, 0, 0), 3);
    RECT client = {};
    ::GetClientRect(slider, &client);
    auto dragTo = [&](int x) {
        const RECT thumb = program->ThumbRect(slider);
        program->BringToFront();
        DragFromTo(slider, {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2},
                   {x, (thumb.top + thumb.bottom) / 2});
    };
    dragTo(0);
    EXPECT_TRUE(keyHolds(0x000F, 0));
    EXPECT_EQ(::SendMessageA(slider, TBM_GETPOS, 0, 0), 0);
    // A second press within the double-click time would be the slider's reset.
    const ULONGLONG dragged = ::GetTickCount64();
    PumpUntil([&] { return ::GetTickCount64() - dragged > ::GetDoubleClickTime() + 100; },
              ::GetDoubleClickTime() + 1000);
    dragTo(client.right - 1);
    EXPECT_TRUE(keyHolds(0x0000, 1));
    EXPECT_EQ(::SendMessageA(slider, TBM_GETPOS, 0, 0), 3);
}

// Every S/P-DIF option clicked or keyed reaches its byte of the card; signal reverse alone
// leaves the other boxes as they are.
TEST_F(SettingPagesTest, DigitalOptionsReachTheCardByMouseAndKeyboard) {
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F9, {}, kSpdifPage));
    auto control = [&](int id) { return program->Control(id); };

    ClickControl(control(IDC_SPDIF_OUT_ENABLE));
    EXPECT_TRUE(CardByteBecomes(1, 0, 1));
    ClickControl(control(IDC_SPDIF_OUT_44K));
    EXPECT_TRUE(CardByteBecomes(1, 10, 1));
    EXPECT_TRUE(Checked(control(IDC_SPDIF_OUT_44K)));
    // The arrow key moves to "48.0 kHz" within the radio group.
    PressKey(VK_RIGHT);
    EXPECT_TRUE(CardByteBecomes(1, 10, 0));
    EXPECT_TRUE(CheckBecomes(control(IDC_SPDIF_OUT_48K), true));
    EXPECT_FALSE(Checked(control(IDC_SPDIF_OUT_44K)));

    // Loop-back by mouse, then Tab to the monitor box and the space bar.
    ClickControl(control(IDC_SPDIF_LOOPBACK));
    EXPECT_TRUE(CardByteBecomes(1, 4, 1));
    PressKey(VK_TAB);
    PressKey(VK_SPACE);
    EXPECT_TRUE(CardByteBecomes(1, 2, 1));
    EXPECT_TRUE(CheckBecomes(control(IDC_SPDIF_MONITOR), true));
    ClickControl(control(IDC_SPDIF_VALIDITY));
    EXPECT_TRUE(CardByteBecomes(1, 6, 1));

    // A box set differently from the card stays so through signal reverse, and is read back
    // by the next option that refreshes the page.
    ::SendMessageA(control(IDC_SPDIF_LOOPBACK), BM_SETCHECK, BST_UNCHECKED, 0);
    ClickControl(control(IDC_SPDIF_REVERSE));
    EXPECT_TRUE(CardByteBecomes(1, 5, 1));
    EXPECT_FALSE(Checked(control(IDC_SPDIF_LOOPBACK)));
    ClickControl(control(IDC_SPDIF_COPYRIGHT));
    EXPECT_TRUE(CardByteBecomes(1, 8, 1));
    EXPECT_TRUE(CheckBecomes(control(IDC_SPDIF_LOOPBACK), true));

    const std::vector<int> block = CardProperty(1);
    EXPECT_EQ(block, (std::vector<int>{1, 0, 1, 0, 1, 1, 1, 1, 1, 0, 0}));
    ClickAt(program->ActivePage(), {2, 2}); // no focus frame in the picture
    program->WaitForNewPicture(PixelImage());
    EXPECT_FALSE(program->Screenshot("setting-pages-spdif-stereo").empty());
}

// The autostart box writes and removes the Run value together with the icon (with the icon,
// closing the window only hides it); the language list relabels every open page and the tabs
// at once, and the language is stored at the end.
TEST_F(SettingPagesTest, AutostartAndLanguageFromTheMiscPage) {
    auto program = Start();
    HWND sheet = program->Window();
    ASSERT_TRUE(program->SelectPageByKey(VK_F10, {}, kMiscPage));
    EXPECT_NE(WindowText(program->Control(IDC_MISC_ABOUT_TEXT)).find("Driver Version: 5.12.0.27"),
              std::string::npos);
    program->WaitForNewPicture(PixelImage());
    EXPECT_FALSE(program->Screenshot("setting-pages-misc").empty());

    // Autostart on: the running program, quoted, with /minimize; the icon keeps it running.
    auto runValue = [&](std::string* command) {
        char text[512] = {};
        DWORD size = sizeof(text) - 1;
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        const bool found =
            ::RegQueryValueExA(key, "Quenda Mixer", nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                               &size) == ERROR_SUCCESS;
        ::RegCloseKey(key);
        if (command) *command = text;
        return found;
    };
    char folder[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, folder, MAX_PATH);
    std::string expected = folder;
    expected = "\"" + expected.substr(0, expected.rfind('\\')) + "\\Quenda Mixer.exe\" /minimize";
    HWND box = program->Control(IDC_MISC_TRAY_ICON);
    ClickControl(box);
    ASSERT_TRUE(CheckBecomes(box, true));
    std::string command;
    EXPECT_TRUE(PumpUntil([&] { return runValue(&command); }));
    EXPECT_EQ(command, expected);
    ASSERT_TRUE(program->BringToFront());
    PressKey(VK_F4, {VK_MENU});
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(sheet); }));
    EXPECT_FALSE(program->HasEnded());

    // Autostart off: the value goes.
    ::ShowWindow(sheet, SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(sheet) != FALSE; }));
    ClickControl(box);
    ASSERT_TRUE(CheckBecomes(box, false));
    EXPECT_TRUE(PumpUntil([&] { return !runValue(nullptr); }));

    // German relabels every open page and the tabs at once; this page stays in front with the
    // focus on the list.
    std::vector<std::string> english[6];
    for (int page = 0; page < 6; ++page) {
        ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page), {}, page))
            << page; // opens the page
        english[page] = ChildTexts(PageWindow(*program, page));
    }
    ASSERT_TRUE(ChooseWithMouse(*program, program->Control(IDC_MISC_LANGUAGE), 0x0407));
    EXPECT_TRUE(
        PumpUntil([&] { return WindowText(program->Control(IDC_MISC_SAVE)) == "Speichern"; }));
    EXPECT_TRUE(PumpUntil([&] { return program->ActivePageIndex() == kMiscPage; }));
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(sheet, nullptr), &thread));
    EXPECT_EQ(thread.hwndFocus, program->Control(IDC_MISC_LANGUAGE));
    for (int page = 0; page < 6; ++page)
        EXPECT_NE(ChildTexts(PageWindow(*program, page)), english[page]) << page;
    EXPECT_EQ(program->TabText(kSpeakersPage), "&Lautsprecher");
    EXPECT_EQ(program->TabText(kMiscPage), "S&onstiges");
    HWND speakers = PageWindow(*program, kSpeakersPage);
    EXPECT_EQ(WindowText(::GetDlgItem(speakers, IDC_SPK_CONFIG_GROUP)), "Lautsprecheranordnung");
    EXPECT_EQ(ComboText(::GetDlgItem(speakers, IDC_SPK_CONFIG)), "Stereo-Lautsprecher");
    EXPECT_EQ(ComboText(::GetDlgItem(speakers, IDC_SPK_ROOM)), "--- Keiner ---");

    // Without the icon closing the window ends the program, which stores its language. (Wine's
    // combo box keeps Alt+F4 to itself while it has the focus: Tab moves on first.)
    ASSERT_TRUE(program->BringToFront());
    PressKey(VK_TAB);
    PressKey(VK_F4, {VK_MENU});
    EXPECT_TRUE(program->WaitForEnd(15000));
    EXPECT_EQ(program->ExitCode(), 0u);
    DWORD language = 0;
    EXPECT_TRUE(settings.QueryDword("Language", &language));
    EXPECT_EQ(language, 0x0407u);
}

// The colour set editor opened with a click: Cancel changes nothing; "Black/White" with OK is
// stored (six values, bit 3 in the mode) and recolours every page of the main window.
TEST_F(SettingPagesTest, ColourSetEditorRecoloursTheWindowOnlyOnOk) {
    auto program = Start();
    ASSERT_TRUE(program->SelectPageByKey(VK_F10, {}, kMiscPage));
    auto openEditor = [&] {
        ClickControl(program->Control(IDC_MISC_COLOR_SETUP));
        return program->WaitForDialog();
    };
    auto stored = [&](const char* name) {
        DWORD value = 0;
        return settings.QueryDword(name, &value) ? value : DWORD(-1);
    };

    HWND editor = openEditor();
    ASSERT_TRUE(editor);
    CloseWith(editor, IDCANCEL);
    for (const char* name : kColourNames)
        EXPECT_EQ(stored(name), DWORD(-1)) << name;
    EXPECT_GT(ShareNear(program->WaitForNewPicture(PixelImage()), 0x504141, 0x18), 0.15);

    editor = openEditor();
    ASSERT_TRUE(editor);
    ASSERT_TRUE(ChooseWithMouse(*program, ::GetDlgItem(editor, kEditorPresets), kBlackWhiteRow));
    EXPECT_TRUE(CheckBecomes(::GetDlgItem(editor, kEditorReflectionsOff), true));
    CloseWith(editor, IDOK);
    // The page stores the values once the editor has returned, after its window is gone.
    const DWORD expected[6] = {0x383838, 0xFFFFFF, 0x404040, 0xAAAAAA, 0x666666, 8};
    PumpUntil([&] { return stored(kColourNames[5]) == expected[5]; });
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(stored(kColourNames[i]), expected[i]) << kColourNames[i];

    PixelImage picture = program->Capture();
    for (int page = 0; page < 6; ++page) {
        ASSERT_TRUE(program->SelectPageByKey(WORD(VK_F5 + page), {}, page)) << page;
        picture = program->WaitForNewPicture(picture);
        EXPECT_GT(ShareNear(picture, 0x383838, 0x0C), 0.15) << page;
        EXPECT_LT(ShareNear(picture, 0x504141, 0x0C), 0.02) << page;
        if (page == 0) {
            EXPECT_FALSE(program->Screenshot("main-window-after-colour-change").empty());
        }
    }
}

// The colour set editor with sets of the user's and a default set in the registry, all put back
// afterwards.
class ColourEditorTest : public SettingPagesTest {
protected:
    void SetUp() override {
        SettingPagesTest::SetUp();
        for (const char* name : {"Evening", "Morning", "Short", "Long"})
            userSets.Delete(name);
        defaultSets.Delete("Quenda Mixer.exe");
        // Sets of another origin would shift the lists' entries and could be renamed away.
        HKEY key = nullptr;
        DWORD values = 0;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, (kUserSetsKey).c_str(), 0, KEY_READ, &key),
                  ERROR_SUCCESS);
        ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                           nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(key);
        ASSERT_EQ(values, 0u) << "other user sets in " << kUserSetsKey;
    }

    // Opens the editor with a click on the Misc page's "Color Setup".
    HWND OpenEditor(RunningProgram& program) {
        if (!program.SelectPageByKey(VK_F10, {}, kMiscPage)) return nullptr;
        ClickControl(program.Control(IDC_MISC_COLOR_SETUP));
        return WaitForTitled(program, "Color Settings");
    }

    // Answers a question box with its Yes or No letter. A question has only just come up, and
    // the display may not show it yet: a click in that moment reaches the window under it,
    // while keys go to the box as soon as it is the active window.
    static void Answer(HWND box, int answer) {
        ::SetForegroundWindow(box);
        ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == box; })) << "in front";
        PressKey(answer == IDYES ? 'Y' : 'N');
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(box); }));
    }

    // The six values the Misc page stored, -1 for a missing one.
    std::vector<DWORD> StoredColours() const {
        std::vector<DWORD> values;
        for (const char* name : kColourNames) {
            DWORD value = 0;
            values.push_back(settings.QueryDword(name, &value) ? value : DWORD(-1));
        }
        return values;
    }

    // The page stores the values once the editor has returned, after its window is gone.
    void ExpectStoredColours(const std::vector<DWORD>& expected) const {
        PumpUntil([&] { return StoredColours() == expected; });
        EXPECT_EQ(StoredColours(), expected);
    }

    std::vector<BYTE> UserSet(const char* name) const {
        std::vector<BYTE> bytes;
        userSets.QueryBytes(name, &bytes);
        return bytes;
    }

    const std::string kUserSetsKey = std::string(kColourSetsKey) + "\\User sets";
    // Declared first, so that the key goes last when the test made it.
    ScopedRegistryValues colourSets{HKEY_CURRENT_USER, kColourSetsKey, {}};
    ScopedRegistryValues userSets{
        HKEY_CURRENT_USER, kUserSetsKey, {"Evening", "Morning", "Short", "Long", "New"}};
    ScopedRegistryValues defaultSets{
        HKEY_CURRENT_USER, std::string(kColourSetsKey) + "\\Default sets", {"Quenda Mixer.exe"}};
};

// OK pressed at once stores the editor's own default set, not the colours the window shows
// (0x504141 and so on), or the default set stored under the program's file name.
TEST_F(ColourEditorTest, OkAtOnceStoresTheDefaultSet) {
    auto program = Start();
    HWND editor = OpenEditor(*program);
    ASSERT_TRUE(editor);
    EXPECT_EQ(ComboText(::GetDlgItem(editor, kEditorPresets)), "- Default -");
    CloseWith(editor, IDOK);
    ExpectStoredColours({0x594437, 0x6BB6FA, 0xB47800, 0x0000FF, 0x00FF00, 9});

    defaultSets.SetBinary("Quenda Mixer.exe",
                          SetBytes({0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 1}));
    editor = OpenEditor(*program);
    ASSERT_TRUE(editor);
    CloseWith(editor, IDOK);
    ExpectStoredColours({0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 9});
}

// "- Random -" chosen twice within one second gives the same colours; a user set shorter than a
// whole set applies with zeros, a longer one is not applied.
TEST_F(ColourEditorTest, RandomRepeatsWithinASecondAndUserSetsApplyOnlyWhenTheyFit) {
    userSets.SetBinary("Short", SetBytes({0x102030, 0x405060}));
    userSets.SetBinary("Long", SetBytes({0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 9, 0}));
    auto program = Start();
    HWND editor = OpenEditor(*program);
    ASSERT_TRUE(editor);
    HWND presets = ::GetDlgItem(editor, kEditorPresets);
    HWND swatch = ::GetDlgItem(editor, kEditorBackground);

    // "- Random -" by mouse, then back and forth between it and "- Default -", the entry above,
    // with the arrow keys (the list keeps the focus), until two draws fall into one second.
    ASSERT_TRUE(ChooseWithMouse(*program, presets, kRandomRow));
    auto choose = [&](WORD key, LRESULT row) {
        PressKey(key);
        return PumpUntil([&] {
            const LRESULT item = ::SendMessageA(presets, CB_GETCURSEL, 0, 0);
            return item >= 0 && ::SendMessageA(presets, CB_GETITEMDATA, WPARAM(item), 0) == row;
        });
    };
    bool sameSecond = false;
    for (int attempt = 0; attempt < 5 && !sameSecond; ++attempt) {
        const std::time_t before = std::time(nullptr);
        PumpUntil([&] { return std::time(nullptr) != before; }, 2000); // a second just begun
        const std::time_t second = std::time(nullptr);
        ASSERT_TRUE(choose(VK_UP, 0));
        ASSERT_TRUE(choose(VK_DOWN, kRandomRow));
        const PixelImage first = program->WaitForNewPicture(PixelImage(), 5000, swatch);
        ASSERT_TRUE(choose(VK_UP, 0));
        const PixelImage standard = program->WaitForNewPicture(first, 5000, swatch);
        ASSERT_TRUE(choose(VK_DOWN, kRandomRow));
        const PixelImage again = program->WaitForNewPicture(standard, 5000, swatch);
        sameSecond = std::time(nullptr) == second;
        if (sameSecond) {
            EXPECT_NE(first.pixels, standard.pixels);
            EXPECT_EQ(again.pixels, first.pixels);
        }
    }
    EXPECT_TRUE(sameSecond) << "no two draws within one second";

    const LRESULT shortSet = ItemDataOf(presets, L"Short"), longSet = ItemDataOf(presets, L"Long");
    ASSERT_GE(shortSet, 9);
    ASSERT_GE(longSet, 9);
    ASSERT_TRUE(ChooseWithMouse(*program, presets, shortSet));
    EXPECT_TRUE(CheckBecomes(::GetDlgItem(editor, kEditorReflectionsOff), true)); // mode 0
    ASSERT_TRUE(ChooseWithMouse(*program, presets, longSet));
    CloseWith(editor, IDOK);
    ExpectStoredColours({0x102030, 0x405060, 0, 0, 0, 8});
}

// Saving under the name of a set asks before overwriting it; the organizer deletes nothing
// without a selection or when answered No, and renames onto an existing name without asking.
TEST_F(ColourEditorTest, SaveAsksBeforeOverwritingAndOrganizerRenamesWithoutAsking) {
    const std::vector<BYTE> evening =
        SetBytes({0x504141, 0xB9B9B9, 0xEB786E, 0x005AFF, 0x00FF00, 9});
    const std::vector<BYTE> morning =
        SetBytes({0x626258, 0xC9C9C9, 0xBABA74, 0x0064C8, 0x00FF00, 9});
    userSets.SetBinary("Evening", evening);
    userSets.SetBinary("Morning", morning);
    auto program = Start();
    HWND editor = OpenEditor(*program);
    ASSERT_TRUE(editor);

    // Save as "Evening": the question; No keeps the set, Yes writes the editor's values.
    for (int answer : {IDNO, IDYES}) {
        ClickControl(::GetDlgItem(editor, kEditorSave));
        HWND names = WaitForTitled(*program, "Save as");
        ASSERT_TRUE(names);
        HWND edit = ::GetDlgItem(names, kNameEdit);
        EXPECT_EQ(EditText(edit), "New");
        ASSERT_TRUE(TakesKeys(*program, edit));
        TypeText("Evening");
        ASSERT_TRUE(PumpUntil([&] { return EditText(edit) == "Evening"; }));
        ClickControl(::GetDlgItem(names, IDOK));
        HWND box = program->WaitForDialog(10000, IsQuestion);
        ASSERT_TRUE(box);
        EXPECT_EQ(QuestionText(box),
                  "The color set name 'Evening' is already used!\nDo you want to overwrite it?");
        Answer(box, answer);
    }
    const std::vector<BYTE> editorDefault =
        SetBytes({0x594437, 0x6BB6FA, 0xB47800, 0x0000FF, 0x00FF00, 9});
    EXPECT_TRUE(PumpUntil([&] { return UserSet("Evening") == editorDefault; }));
    EXPECT_EQ(ComboText(::GetDlgItem(editor, kEditorPresets)), "Evening");

    ClickControl(::GetDlgItem(editor, kEditorOrganize));
    HWND organizer = WaitForTitled(*program, "Color Sets");
    ASSERT_TRUE(organizer);
    HWND list = ::GetDlgItem(organizer, kSetList);
    ASSERT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    ASSERT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    auto selectFirst = [&] { // "Evening", the list being sorted
        const RECT item = RemoteRect(*program, list, LVM_GETITEMRECT); // item 0, LVIR_BOUNDS
        // On the name: the row beyond it is no hit in a list of this view.
        // The organizer has only just come up; a click the display lost is made again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            ClickAt(list, {item.left + 10, (item.top + item.bottom) / 2});
            if (PumpUntil([&] { return ::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) == 1; },
                          2000))
                return true;
        }
        return false;
    };

    // The organizer has only just come up: clicks reach it once its list takes the focus from a
    // click below its two rows (which selects nothing).
    bool reached = false;
    for (int attempt = 0; attempt < 3 && !reached; ++attempt) {
        RECT rect = {};
        ::GetClientRect(list, &rect);
        ClickAt(list, {rect.right / 2, rect.bottom - 4});
        reached = PumpUntil([&] { return program->Focus() == list; }, 2000);
    }
    ASSERT_TRUE(reached);
    ASSERT_EQ(::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);

    // Delete without a selection asks nothing; with one, No keeps both sets.
    ClickAndSettle(::GetDlgItem(organizer, kSetDelete));
    EXPECT_FALSE(program->FindDialog(IsQuestion));
    ASSERT_TRUE(selectFirst());
    ClickControl(::GetDlgItem(organizer, kSetDelete));
    HWND box = program->WaitForDialog(10000, IsQuestion);
    ASSERT_TRUE(box);
    EXPECT_EQ(QuestionText(box), "Are you sure to delete the selected color sets?");
    Answer(box, IDNO);
    EXPECT_EQ(UserSet("Evening"), editorDefault);
    EXPECT_EQ(UserSet("Morning"), morning);

    // Rename "Evening" to "Morning": the set moves over the other without a question.
    ASSERT_TRUE(selectFirst());
    ClickControl(::GetDlgItem(organizer, kSetRename));
    HWND names = WaitForTitled(*program, "Save as");
    ASSERT_TRUE(names);
    HWND edit = ::GetDlgItem(names, kNameEdit);
    EXPECT_EQ(EditText(edit), "Evening");
    ASSERT_TRUE(TakesKeys(*program, edit));
    TypeText("Morning");
    ASSERT_TRUE(PumpUntil([&] { return EditText(edit) == "Morning"; }));
    ClickControl(::GetDlgItem(names, IDOK));
    EXPECT_TRUE(PumpUntil([&] { return UserSet("Evening").empty(); }));
    EXPECT_EQ(UserSet("Morning"), editorDefault);
    EXPECT_TRUE(PumpUntil([&] { return ::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 1; }));

    CloseWith(organizer, IDOK);
    EXPECT_EQ(ItemDataOf(::GetDlgItem(editor, kEditorPresets), L"Evening"), -1);
    CloseWith(editor, IDCANCEL);
}

} // namespace

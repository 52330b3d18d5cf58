// The screenshot gallery: "Quenda Mixer.exe" started against the simulated card and every
// page saved as a PNG in each of the six built-in languages, then the colour set editor,
// the notification-area menu and the Speakers and S/P-DIF pages with stereo speakers chosen.
// scripts/gallery runs it and writes the index page.
//
// Usage: quenda-gallery <output folder> [smoke]
// "smoke" saves the Volume and Misc pages in English and the colour set editor only.
// Runs in the program's folder against a state file of its own, and puts the registry values
// it changes back as they were.
#include "Png.h"
#include "ProgramRun.h"
#include "Pump.h"
#include "SimCard.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr const char* kSettingsKey = "Software\\Vantrel Electronic GmbH\\Quenda\\ControlPanel";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kStateFile = "quendasim-gallery-state.bin";
constexpr int kColorSetup = 1053;
constexpr int kSpeakerConfig = 1296;
constexpr int kStereoItem = 2; // in the Speakers page's list of configurations
constexpr UINT kTrayNotify = 0x514;

struct Language {
    DWORD id;
    const char* code;
};
const Language kLanguages[] = {{1031, "de"}, {1033, "en"}, {1034, "es"},
                               {1036, "fr"}, {1040, "it"}, {1043, "nl"}};
const char* const kPages[] = {"volume", "sources", "record", "speakers", "spdif", "misc"};
constexpr int kMiscPage = 5;

bool Fail(const std::string& what) {
    std::fprintf(stderr, "quenda-gallery: %s\n", what.c_str());
    return false;
}

class Gallery {
public:
    explicit Gallery(const std::string& folder) : m_folder(folder) {
        // The pictures show the program's own colours, without the tray icon's Run value.
        for (const char* name :
             {"ColBgrd", "ColText", "ColLum", "ColSelLow", "ColSelHi", "RenderMode"})
            m_settings.Delete(name);
        m_run.Delete("Quenda Mixer");
    }

    // One start in a language: the chosen pages (all when smoke is off), and the colour set
    // editor opened from the Misc page when asked for.
    bool ShootPages(const Language& language, bool smoke, bool editor) {
        m_settings.SetDword("Language", language.id);
        auto started = Start();
        if (!started) return false;
        RunningProgram& program = *started;
        PixelImage picture;
        for (int page = 0; page < 6; ++page) {
            if (smoke && page != 0 && page != kMiscPage) continue;
            if (!program.SelectPageByKey(WORD(VK_F5 + page), {}, page))
                return Fail(std::string("page not selected: ") + kPages[page]);
            picture = program.WaitForNewPicture(picture);
            if (!Save(std::string(kPages[page]) + "-" + language.code, picture)) return false;
        }
        if (editor && !ShootEditor(program)) return false;
        return Stop(program);
    }

    // The menu of the notification-area icon, opened as the shell does on a right click.
    bool ShootTrayMenu() {
        m_settings.SetDword("Language", 1033);
        char path[MAX_PATH] = {};
        ::GetFullPathNameA("Quenda Mixer.exe", sizeof(path), path, nullptr);
        m_run.SetString("Quenda Mixer", std::string("\"") + path + "\" /minimize");
        auto started = Start();
        if (!started) return false;
        RunningProgram& program = *started;
        // The menu opens at the cursor: over the window, clear of the screen's edges. The
        // display reports the cursor's move a little later; the menu waits for it.
        RECT rect = {};
        ::GetWindowRect(program.Window(), &rect);
        const POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ::SetCursorPos(centre.x, centre.y);
        POINT cursor = {};
        if (!PumpUntil(
                [&] {
                    return ::GetCursorPos(&cursor) && cursor.x == centre.x && cursor.y == centre.y;
                },
                5000))
            return Fail("the cursor did not move over the window");
        // The screen without the menu: its picture is taken once the menu shows on it.
        const PixelImage screen = CaptureWindow(::GetDesktopWindow());
        ::PostMessageA(program.Window(), kTrayNotify, 1, WM_RBUTTONUP);
        HWND menu = nullptr;
        if (!PumpUntil([&] { return (menu = program.ShownMenu()) != nullptr; }, 10000))
            return Fail("the notification-area menu did not open");
        RECT shown = {};
        ::GetWindowRect(menu, &shown);
        PixelImage under;
        under.width = shown.right - shown.left;
        under.height = shown.bottom - shown.top;
        for (int y = shown.top; y < shown.bottom; ++y)
            for (int x = shown.left; x < shown.right; ++x)
                under.pixels.push_back(x >= 0 && y >= 0 && x < screen.width && y < screen.height
                                           ? screen.At(x, y)
                                           : 0);
        if (!Save("tray-menu", program.WaitForNewPicture(under, 5000, menu))) return false;
        return Stop(program);
    }

    // The Speakers page after choosing stereo speakers in its list with a click and the keys,
    // then the S/P-DIF page, whose output this choice makes available.
    bool ShootStereo() {
        m_settings.SetDword("Language", 1033);
        auto started = Start();
        if (!started) return false;
        RunningProgram& program = *started;
        if (!program.SelectPageByKey(VK_F8, {}, 3)) return Fail("page not selected: speakers");
        HWND list = program.Control(kSpeakerConfig);
        if (!list) return Fail("no list of configurations on the Speakers page");
        RECT rect = {};
        ::GetClientRect(list, &rect);
        ClickAt(list, {rect.right / 2, rect.bottom / 2});
        auto dropped = [list] { return ::SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; };
        if (!PumpUntil(dropped, 5000)) return Fail("the list of configurations did not open");
        PressKey(VK_HOME);
        for (int item = 0; item < kStereoItem; ++item)
            PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        if (!PumpUntil(
                [&] {
                    return !dropped() && ::SendMessageA(list, CB_GETCURSEL, 0, 0) == kStereoItem;
                },
                5000))
            return Fail("stereo speakers not chosen");
        PixelImage picture = program.WaitForNewPicture(PixelImage());
        if (!Save("speakers-stereo-en", picture)) return false;
        if (!program.SelectPageByKey(VK_F9, {}, 4)) return Fail("page not selected: spdif");
        if (!Save("spdif-stereo-en", program.WaitForNewPicture(picture))) return false;
        return Stop(program);
    }

private:
    // The program with its window up; null when asked to stop (a file ".stop" in the output
    // folder, left by scripts/gallery on Ctrl+C) or when it failed.
    std::unique_ptr<RunningProgram> Start() {
        std::unique_ptr<RunningProgram> program;
        const std::string stop = m_folder + "\\.stop";
        if (::GetFileAttributesA(stop.c_str()) != INVALID_FILE_ATTRIBUTES)
            Fail("stopped on request");
        else if (!WaitForNoInstance())
            Fail("another instance of the program is running");
        else if (!(program = std::make_unique<RunningProgram>(""))->Started())
            Fail("the program did not start");
        else if (!program->WaitForWindow())
            Fail("the program's window did not appear");
        else
            return program;
        return nullptr;
    }

    static bool Stop(RunningProgram& program) {
        program.End();
        return program.ExitCode() == 0 || Fail("the program did not end by its Exit command");
    }

    // A real click on the Misc page's colours button, the editor's picture, then Cancel.
    bool ShootEditor(RunningProgram& program) {
        HWND button = program.Control(kColorSetup);
        if (!button) return Fail("no colours button on the Misc page");
        RECT rect = {};
        ::GetClientRect(button, &rect);
        ClickAt(button, {rect.right / 2, rect.bottom / 2});
        HWND editor = program.WaitForDialog();
        if (!editor) return Fail("the colour set editor did not open");
        if (!Save("colour-editor", program.WaitForNewPicture(PixelImage(), 5000, editor)))
            return false;
        ::PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
        return PumpUntil([&] { return !::IsWindow(editor); }, 5000) ||
               Fail("the colour set editor did not close");
    }

    bool Save(const std::string& name, const PixelImage& picture) const {
        const std::string path = m_folder + "\\" + name + ".png";
        if (picture.pixels.empty() || !WritePng(path, picture)) return Fail("not saved: " + path);
        std::printf("%s\n", path.c_str());
        return true;
    }

    std::string m_folder;
    ScopedRegistryValues m_settings{
        HKEY_CURRENT_USER,
        kSettingsKey,
        {"Language", "ColBgrd", "ColText", "ColLum", "ColSelLow", "ColSelHi", "RenderMode"}};
    ScopedRegistryValues m_run{HKEY_CURRENT_USER, kRunKey, {"Quenda Mixer"}};
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || (argc > 2 && std::string(argv[2]) != "smoke")) {
        std::fprintf(stderr, "usage: quenda-gallery <output folder> [smoke]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool smoke = argc > 2;
    ::CreateDirectoryA(folder.c_str(), nullptr);
    // A card of the gallery's own in its first-run state (every volume at three quarters,
    // nothing muted, so Wave plays), the same on every machine.
    UseSimulatedCard(kStateFile);
    if (!ResetSimulatedCard()) {
        Fail("the simulated card could not be reset");
        return 1;
    }

    // The first failure ends the run: what follows would most likely fail the same way.
    Gallery gallery(folder);
    for (const Language& language : kLanguages) {
        const bool english = language.id == 1033;
        if ((!smoke || english) && !gallery.ShootPages(language, smoke, english)) return 1;
    }
    // Last: stereo speakers change what the card holds.
    return smoke || (gallery.ShootTrayMenu() && gallery.ShootStereo()) ? 0 : 1;
}
